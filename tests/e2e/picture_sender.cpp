// Hands pictures to a running Kodaro the way the desktop does, for the
// whole-program tests:
//   picture_sender drop X Y PATH...  posts WM_DROPFILES for the paths, dropped
//                                    at window point (X, Y); the block is
//                                    written into Kodaro's own memory, as the
//                                    system's drag and drop does
//   picture_sender files PATH...     puts the paths on the clipboard (CF_HDROP)
//   picture_sender dib FILE.bmp      puts the bitmap's pixels on the clipboard
//                                    (CF_DIB)
// Exit code 0 when done, 1 on bad arguments, 2 when it could not be done.
#include <windows.h>

#include "tests/support/drop_block.h"

#include <shellapi.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

HGLOBAL MakeDibBlock(const wchar_t* bmpPath) {
    std::ifstream file(bmpPath, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    if (bytes.size() <= sizeof(BITMAPFILEHEADER) || bytes[0] != 'B' || bytes[1] != 'M') {
        return nullptr;
    }
    const SIZE_T size = bytes.size() - sizeof(BITMAPFILEHEADER);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(GlobalLock(block), bytes.data() + sizeof(BITMAPFILEHEADER), size);
    GlobalUnlock(block);
    return block;
}

// The drop block copied into the window's process, where the receiver reads
// it as a fixed memory block.
bool PostDrop(HWND window, HGLOBAL block) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        return false;
    }
    const SIZE_T size = GlobalSize(block);
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool posted = false;
    if (remote != nullptr &&
        WriteProcessMemory(process, remote, GlobalLock(block), size, nullptr) != FALSE) {
        posted = PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
    }
    GlobalUnlock(block);
    GlobalFree(block);
    CloseHandle(process);
    return posted;
}

bool PutOnClipboard(UINT format, HGLOBAL block) {
    if (block == nullptr || !OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const bool put = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    if (!put) {
        GlobalFree(block);
    }
    return put;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 3) {
        return 1;
    }
    const std::wstring mode = arguments[1];
    std::vector<std::wstring> rest(arguments + 2, arguments + count);
    LocalFree(arguments);
    if (mode == L"drop" && rest.size() >= 3) {
        HWND window = FindWindowW(L"Ex_DirectUI", L"Kodaro");
        const POINT at{std::stoi(rest[0]), std::stoi(rest[1])};
        rest.erase(rest.begin(), rest.begin() + 2);
        HGLOBAL block = kodaro::test::MakeDropBlock(rest, at);
        if (window == nullptr || block == nullptr) {
            return 2;
        }
        return PostDrop(window, block) ? 0 : 2;
    }
    if (mode == L"files") {
        return PutOnClipboard(CF_HDROP, kodaro::test::MakeDropBlock(rest)) ? 0 : 2;
    }
    if (mode == L"dib" && rest.size() == 1) {
        return PutOnClipboard(CF_DIB, MakeDibBlock(rest[0].c_str())) ? 0 : 2;
    }
    return 1;
}
