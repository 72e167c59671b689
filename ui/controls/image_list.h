// A thin owner of a system image list (common controls), which gives list
// rows their icons. Pictures keep their alpha: a 32-bit list stores them
// premultiplied, the way the system draws them, and Picture() hands one back
// as a GDI+ bitmap for the self-drawn controls.
#pragma once

#include "ui/draw/gdiplus.h"

#include <commctrl.h>

#include <cstdint>
#include <span>

namespace kodaro::ui {

class ImageList {
public:
    ImageList() = default;
    ~ImageList() { Destroy(); }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    void Destroy();
    // Removes every image; true also for an empty list.
    bool RemoveAll();
    // A list of width x height images (32-bit colour unless other flags are
    // given) with a white background colour; a list made before is destroyed
    // first. False when the system gives no list.
    bool Create(int width, int height, UINT flags = ILC_COLOR32);
    HIMAGELIST Handle() const { return list_; }
    int IconWidth() const;
    int IconHeight() const;
    int Count() const;

    // Each returns the new image's index, or -1.
    int AddBitmap(HBITMAP bitmap);
    int AddIcon(HICON icon);
    // Encoded picture bytes: PNG through GDI+ (keeping its alpha), every other
    // format through the system's OLE picture loader.
    int AddPicture(std::span<const std::uint8_t> bytes);

    bool ReplaceIcon(HICON icon, int index);
    bool ReplaceBitmap(HBITMAP bitmap, int index);
    bool Remove(int index);

    // A copy of image index as a 32 bpp premultiplied ARGB bitmap; an image
    // without any alpha comes back opaque. Null for a bad index.
    UniqueBitmap Picture(int index) const;

private:
    HIMAGELIST list_ = nullptr;
};

} // namespace kodaro::ui
