#pragma once
// Loads a picture file through GDI+ and turns it into greyscale.
#include <cstdint>
#include <string>
#include <vector>

namespace kodaro::components {

// Outcomes in the numbering DecodePictureFile reports.
enum class LoadStatus : int {
    Ok = 1,
    FileNotFound = -1,
    ReadError = -2,
    NotAPicture = -3,
    SharingViolation = -4,
    OutOfMemory = -5,
};

// Pictures larger than this many pixels are refused as out of memory: 50
// million covers 48-megapixel camera photos while the decoded bitmap, its
// greyscale copy and the thresholded copies still fit a 32-bit process.
constexpr int64_t kMaxPicturePixels = 50'000'000;
// Files larger than this are refused the same way before they are read.
constexpr int64_t kMaxPictureFileBytes = 512LL * 1024 * 1024;

struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height, 0 black .. 255 white
};

// Reads the first frame of a BMP, PNG, JPEG, GIF, ICO or TIFF file.
// Transparent pixels count as white, as the picture looks on a white page.
// The header is checked before GDI+ sees the file: a picture claiming more
// than kMaxPicturePixels gives OutOfMemory whatever else is wrong with it; an
// unknown format or a header pointing outside the file gives NotAPicture.
// Of a GIF only the first frame is decoded.
LoadStatus LoadGreyPicture(const std::wstring& path, GreyPicture* out);

} // namespace kodaro::components
