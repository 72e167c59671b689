#include "app/decode/scan_check.h"

#include "app/decode/decode_report.h"
#include "app/decode/scratch_file.h"
#include "app/symbol/image_export.h"
#include "app/symbol/locked_pixels.h"
#include "ui/draw/image.h"

#include <algorithm>

namespace kodaro {

namespace {

namespace gdip = Gdiplus::DllExports;

// The encoder's light modules are exactly opaque white.
constexpr std::uint32_t kLightModule = 0xFFFFFFFFu;

// BT.601 luma of the pixel laid over white, as the decoder sees a picture.
int GreyOverWhite(std::uint32_t argb) {
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t red = (argb >> 16) & 0xFF;
    const std::uint32_t green = (argb >> 8) & 0xFF;
    const std::uint32_t blue = argb & 0xFF;
    const std::uint32_t luma = (red * 299 + green * 587 + blue * 114 + 500) / 1000;
    return static_cast<int>((luma * alpha + 255 * (255 - alpha) + 127) / 255);
}

bool Contains(const ui::RectF& area, double x, double y) {
    return x >= area.X && x < area.X + area.Width && y >= area.Y && y < area.Y + area.Height;
}

struct ModuleSample {
    bool dark;
    bool underLogo;
    int grey;
};

// The grey at the centre of every module the output shows, in the renderer's
// sampling (output pixel x shows matrix column trunc(x * sx)).
std::vector<ModuleSample> SampleModules(const LockedPixels& matrix, const LockedPixels& output,
                                        const ui::RectF& logoArea) {
    std::vector<ModuleSample> samples;
    const double sx = static_cast<double>(static_cast<float>(matrix.width())) / output.width();
    const double sy = static_cast<double>(static_cast<float>(matrix.height())) / output.height();
    for (int my = 0; my < matrix.height(); ++my) {
        const int y = static_cast<int>((my + 0.5) / sy);
        if (y >= output.height() || static_cast<int>(y * sy) != my) {
            continue;
        }
        const std::uint32_t* matrixRow = matrix.Row(my);
        const std::uint32_t* outputRow = output.Row(y);
        for (int mx = 0; mx < matrix.width(); ++mx) {
            const int x = static_cast<int>((mx + 0.5) / sx);
            if (x >= output.width() || static_cast<int>(x * sx) != mx) {
                continue;
            }
            samples.push_back({matrixRow[mx] != kLightModule, Contains(logoArea, x + 0.5, y + 0.5),
                               GreyOverWhite(outputRow[x])});
        }
    }
    return samples;
}

} // namespace

SymbolMeasures MeasureSymbol(const LockedPixels& matrix, const LockedPixels& output,
                             const ui::RectF& logoArea) {
    SymbolMeasures measures;
    if (!matrix.ok() || !output.ok()) {
        return measures;
    }
    measures.pixelsPerModule = static_cast<double>(output.width()) / matrix.width();
    const std::vector<ModuleSample> samples = SampleModules(matrix, output, logoArea);
    double sum[2] = {0, 0};
    int count[2] = {0, 0};
    for (const ModuleSample& sample : samples) {
        if (!sample.underLogo) {
            sum[sample.dark] += sample.grey;
            ++count[sample.dark];
        }
    }
    if (count[0] > 0) {
        measures.lightGrey = sum[0] / count[0];
    }
    if (count[1] > 0) {
        measures.darkGrey = sum[1] / count[1];
    }
    // A module looks the other way when it lies on the far side of the grey
    // midway between the two means.
    const double middle = (measures.darkGrey + measures.lightGrey) / 2;
    const bool darkBelow = measures.darkGrey <= measures.lightGrey;
    for (const ModuleSample& sample : samples) {
        const bool looksDark = darkBelow ? sample.grey < middle : sample.grey > middle;
        if (looksDark != sample.dark) {
            ++(sample.underLogo ? measures.flippedUnderLogo : measures.flippedElsewhere);
        }
    }
    return measures;
}

std::vector<std::uint8_t> CheckPicture(const LockedPixels& source, int modulesAcross) {
    if (!source.ok() || modulesAcross <= 0) {
        return {};
    }
    const int width = std::min(source.width(), modulesAcross * kCheckPixelsPerModule);
    const int height = std::min(source.height(), modulesAcross * kCheckPixelsPerModule);
    // One byte a pixel with a grey palette: a quarter of the file the
    // decoder reads back.
    const int stride = (width + 3) & ~3;
    std::vector<std::uint8_t> greys(static_cast<std::size_t>(stride) * height);
    // Each pixel takes the grey at the middle of the source pixels it stands
    // for, as a render at the smaller size would.
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<std::size_t>(x)] = (2 * x + 1) * source.width() / (2 * width);
    }
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = source.Row((2 * y + 1) * source.height() / (2 * height));
        std::uint8_t* out = greys.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            out[x] =
                static_cast<std::uint8_t>(GreyOverWhite(row[columns[static_cast<std::size_t>(x)]]));
        }
    }
    Gdiplus::GpBitmap* raw = nullptr;
    if (gdip::GdipCreateBitmapFromScan0(width, height, stride, PixelFormat8bppIndexed, greys.data(),
                                        &raw) != Gdiplus::Ok) {
        return {};
    }
    const ui::UniqueBitmap small(raw);
    // A palette is its flags, its count and the entries that follow.
    std::vector<std::uint32_t> palette(2 + 256);
    palette[1] = 256;
    for (std::uint32_t i = 0; i < 256; ++i) {
        palette[2 + i] = 0xFF000000u | i << 16 | i << 8 | i;
    }
    if (gdip::GdipSetImagePalette(
            small.get(), reinterpret_cast<Gdiplus::ColorPalette*>(palette.data())) != Gdiplus::Ok) {
        return {};
    }
    return ImageToBmpBytes(small.get());
}

std::optional<ScanOutcome> ReadBack(std::span<const std::uint8_t> picture, std::string_view text) {
    ScratchFile scratch;
    if (picture.empty() || !scratch.Write(picture)) {
        return std::nullopt;
    }
    const DecodedTexts read = DecodePictureTexts(scratch.Path());
    if (read.code < 0) {
        return std::nullopt;
    }
    if (read.texts.empty()) {
        return ScanOutcome::Unread;
    }
    return std::find(read.texts.begin(), read.texts.end(), text) != read.texts.end()
               ? ScanOutcome::ReadsPayload
               : ScanOutcome::ReadsOther;
}

std::optional<ScanVerdict> CheckRenderedSymbol(std::span<const std::uint8_t> matrix,
                                               const RenderedSymbol& rendered,
                                               std::string_view text, EcLevel level) {
    const ui::MemoryImage matrixImage = ui::LoadImageFromBytes(matrix);
    Gdiplus::GpBitmap* matrixBitmap = AsBitmap(matrixImage.get());
    if (matrixBitmap == nullptr || !rendered.bitmap) {
        return std::nullopt;
    }
    const LockedPixels modules(matrixBitmap, Gdiplus::ImageLockModeRead);
    const LockedPixels output(rendered.bitmap.get(), Gdiplus::ImageLockModeRead);
    const std::optional<ScanOutcome> outcome =
        ReadBack(CheckPicture(output, modules.width()), text);
    if (!outcome) {
        return std::nullopt;
    }
    return JudgeScan(*outcome, MeasureSymbol(modules, output, rendered.logoArea), level);
}

} // namespace kodaro
