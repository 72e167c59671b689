#include "app/decode/handed_pictures.h"

#include "app/symbol/image_export.h"
#include "runtime/handles.h"
#include "ui/draw/gdiplus.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace kodaro {

namespace {

// Holds the clipboard open for as long as it lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

// Whether a drop block from the clipboard, which any program may fill, holds
// its header and a list that ends (two NULs) inside the block.
bool IsWholeDropBlock(HGLOBAL block) {
    const GlobalLockGuard locked(block);
    const auto* bytes = static_cast<const std::uint8_t*>(locked.data());
    const SIZE_T size = locked.size();
    if (bytes == nullptr || size < sizeof(DROPFILES)) {
        return false;
    }
    DROPFILES header;
    std::memcpy(&header, bytes, sizeof(header));
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= size) {
        return false;
    }
    const SIZE_T unit = header.fWide ? sizeof(wchar_t) : 1;
    bool previousEnded = false;
    for (SIZE_T at = header.pFiles; at + unit <= size; at += unit) {
        const bool ended = unit == 1 ? bytes[at] == 0 : bytes[at] == 0 && bytes[at + 1] == 0;
        if (ended && previousEnded) {
            return true;
        }
        previousEnded = ended;
    }
    return false;
}

// The format browsers and image editors put PNG files on the clipboard in.
UINT PngFormat() {
    static const UINT format = RegisterClipboardFormatW(L"PNG");
    return format;
}

// A PNG file on the clipboard, as it stands.
std::vector<std::uint8_t> PngBytes() {
    const GlobalLockGuard locked(PngFormat() != 0 ? GetClipboardData(PngFormat()) : nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(locked.data());
    return bytes != nullptr ? std::vector<std::uint8_t>(bytes, bytes + locked.size())
                            : std::vector<std::uint8_t>{};
}

// The clipboard's bitmap (the system makes one from a device-independent
// bitmap too) as BMP file bytes.
std::vector<std::uint8_t> BitmapBytes() {
    auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (bitmap == nullptr) {
        return {};
    }
    Gdiplus::GpBitmap* image = nullptr;
    if (ui::gdip::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok) {
        return {};
    }
    const ui::UniqueBitmap owned(image);
    return ImageToBmpBytes(owned.get());
}

} // namespace

std::vector<std::wstring> DropBlockFiles(HDROP drop) {
    std::vector<std::wstring> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        if (!path.empty()) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

bool ClipboardHasPicture() {
    return IsClipboardFormatAvailable(CF_HDROP) || IsClipboardFormatAvailable(CF_BITMAP) ||
           IsClipboardFormatAvailable(CF_DIB) ||
           (PngFormat() != 0 && IsClipboardFormatAvailable(PngFormat()));
}

std::optional<ClipboardPicture> ReadClipboardPicture(HWND owner) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard.Open()) {
        return std::nullopt;
    }
    ClipboardPicture found;
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    if (drop != nullptr && IsWholeDropBlock(drop)) {
        found.files = DropBlockFiles(drop);
    }
    if (found.files.empty()) {
        found.picture = PngBytes();
    }
    if (found.files.empty() && found.picture.empty()) {
        found.picture = BitmapBytes();
    }
    if (found.files.empty() && found.picture.empty()) {
        return std::nullopt;
    }
    return found;
}

} // namespace kodaro
