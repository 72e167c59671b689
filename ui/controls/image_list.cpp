#include "ui/controls/image_list.h"

#include "ui/draw/image.h"
#include "ui/draw/ole_picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kodaro::ui {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

bool IsPng(std::span<const std::uint8_t> bytes) {
    constexpr std::uint8_t kSignature[4] = {0x89, 'P', 'N', 'G'};
    return bytes.size() >= sizeof kSignature &&
           std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

// A top-down 32-bit DIB section of the image's premultiplied pixels.
UniqueHbitmap PremultipliedDib(Gdiplus::GpImage* image) {
    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueHbitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || bits == nullptr) {
        return nullptr;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                        static_cast<BYTE*>(bits), &bitmap) != Gdiplus::Ok) {
        return nullptr;
    }
    UniqueBitmap target(bitmap);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gdip::GdipGetImageGraphicsContext(target.get(), &graphics) != Gdiplus::Ok) {
        return nullptr;
    }
    UniqueGraphics draw(graphics);
    gdip::GdipSetCompositingMode(draw.get(), Gdiplus::CompositingModeSourceCopy);
    gdip::GdipDrawImageRectI(draw.get(), image, 0, 0, width, height);
    draw.reset();
    target.reset();
    GdiFlush();
    return dib;
}

} // namespace

void ImageList::Destroy() {
    if (list_ != nullptr) {
        ImageList_Destroy(list_);
        list_ = nullptr;
    }
}

bool ImageList::RemoveAll() {
    return list_ != nullptr && ImageList_Remove(list_, -1) != FALSE;
}

bool ImageList::Create(int width, int height, UINT flags) {
    Destroy();
    list_ = ImageList_Create(width, height, flags, 0, 0);
    if (list_ == nullptr) {
        return false;
    }
    ImageList_SetBkColor(list_, kWhite);
    return true;
}

int ImageList::IconWidth() const {
    int width = 0;
    int height = 0;
    return list_ != nullptr && ImageList_GetIconSize(list_, &width, &height) ? width : 0;
}

int ImageList::IconHeight() const {
    int width = 0;
    int height = 0;
    return list_ != nullptr && ImageList_GetIconSize(list_, &width, &height) ? height : 0;
}

int ImageList::Count() const {
    return list_ != nullptr ? ImageList_GetImageCount(list_) : 0;
}

int ImageList::AddBitmap(HBITMAP bitmap) {
    return list_ != nullptr && bitmap != nullptr ? ImageList_Add(list_, bitmap, nullptr) : -1;
}

int ImageList::AddIcon(HICON icon) {
    return list_ != nullptr && icon != nullptr ? ImageList_AddIcon(list_, icon) : -1;
}

int ImageList::AddPicture(std::span<const std::uint8_t> bytes) {
    if (list_ == nullptr || bytes.empty()) {
        return -1;
    }
    // The OLE loader reads no PNG on Windows, and would drop its alpha.
    UniqueHbitmap bitmap;
    if (IsPng(bytes)) {
        MemoryImage image = LoadImageFromBytes(bytes);
        bitmap = PremultipliedDib(image.get());
    } else {
        bitmap.reset(BytesToBitmapHandle(bytes));
    }
    return bitmap ? AddBitmap(bitmap.get()) : -1;
}

bool ImageList::ReplaceIcon(HICON icon, int index) {
    return list_ != nullptr && ImageList_ReplaceIcon(list_, index, icon) != -1;
}

bool ImageList::ReplaceBitmap(HBITMAP bitmap, int index) {
    return list_ != nullptr && ImageList_Replace(list_, index, bitmap, nullptr) != FALSE;
}

bool ImageList::Remove(int index) {
    return list_ != nullptr && ImageList_Remove(list_, index) != FALSE;
}

UniqueBitmap ImageList::Picture(int index) const {
    IMAGEINFO info{};
    if (list_ == nullptr || index < 0 || index >= Count() ||
        !ImageList_GetImageInfo(list_, index, &info) || info.hbmImage == nullptr) {
        return nullptr;
    }
    const int width = info.rcImage.right - info.rcImage.left;
    const int height = info.rcImage.bottom - info.rcImage.top;
    // The list's pixels are read straight from its DIB section.
    DIBSECTION section{};
    if (width <= 0 || height <= 0 ||
        GetObjectW(info.hbmImage, sizeof section, &section) != sizeof section ||
        section.dsBm.bmBits == nullptr || section.dsBm.bmBitsPixel != 32) {
        return nullptr;
    }
    GdiFlush();
    const int rows = section.dsBm.bmHeight;
    const bool bottomUp = section.dsBmih.biHeight > 0;
    const auto* base = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    const int stride = section.dsBm.bmWidthBytes / 4;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const int row = info.rcImage.top + y;
        if (row < 0 || row >= rows) {
            return nullptr;
        }
        const std::uint32_t* source =
            base + static_cast<size_t>(bottomUp ? rows - 1 - row : row) * stride +
            info.rcImage.left;
        std::uint32_t* target = pixels.data() + static_cast<size_t>(y) * width;
        std::copy(source, source + width, target);
        anyAlpha = anyAlpha || std::any_of(target, target + width,
                                           [](std::uint32_t p) { return (p >> 24) != 0; });
    }
    if (!anyAlpha) {
        for (std::uint32_t& p : pixels) {
            p |= 0xFF000000;
        }
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr,
                                        &bitmap) != Gdiplus::Ok) {
        return nullptr;
    }
    UniqueBitmap result(bitmap);
    Gdiplus::BitmapData data{};
    Gdiplus::GpRect area(0, 0, width, height);
    if (gdip::GdipBitmapLockBits(result.get(), &area, Gdiplus::ImageLockModeWrite,
                                 PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(data.Scan0) + static_cast<size_t>(y) * data.Stride,
                    pixels.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width) * 4);
    }
    gdip::GdipBitmapUnlockBits(result.get(), &data);
    return result;
}

} // namespace kodaro::ui
