#pragma once
// Pictures the desktop hands to the program: files dropped on its window,
// and files or a bitmap on the clipboard.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kodaro {

// The paths of a drop block (what WM_DROPFILES and CF_HDROP carry), in the
// order given. The block itself is not released.
std::vector<std::wstring> DropBlockFiles(HDROP drop);

// What the clipboard offers to decode: a list of files (copied in a file
// manager) or a picture (copied from another program), as picture file bytes.
struct ClipboardPicture {
    std::vector<std::wstring> files;
    std::vector<std::uint8_t> picture;
};

// Whether the clipboard holds files or a picture, without opening it.
bool ClipboardHasPicture();

// The clipboard's files, else its PNG file, else its bitmap as BMP file
// bytes (GDI+ must be running); nothing when it holds none of them or cannot
// be opened.
std::optional<ClipboardPicture> ReadClipboardPicture(HWND owner);

} // namespace kodaro
