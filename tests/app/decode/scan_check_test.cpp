// The scan check: the verdict's reasons from measures and outcome, and real
// symbols from the encoder component rendered with styles that scan and
// styles that do not, read back through the real PsyQrDcd.dll.
#include "app/decode/decode_report.h"
#include "app/decode/scan_check.h"
#include "app/symbol/image_export.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kodaro {
namespace {

TEST(ScanVerdict, NamesTheFirstCauseTheMeasuresShow) {
    const SymbolMeasures clean{2, 250, 0, 0, 8.8};
    const SymbolMeasures faint{200, 240, 0, 0, 8.8};
    const SymbolMeasures reversed{250, 2, 0, 0, 8.8};
    const SymbolMeasures faintReversed{240, 200, 0, 0, 8.8};
    const SymbolMeasures tiny{2, 250, 0, 0, 1.6};
    const SymbolMeasures logo{2, 250, 30, 5, 8.8};
    const SymbolMeasures pictures{60, 230, 5, 30, 8.8};
    const SymbolMeasures logoAndPictures{60, 230, 20, 20, 8.8};
    struct Case {
        ScanOutcome outcome;
        SymbolMeasures measures;
        EcLevel level;
        bool readable;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {ScanOutcome::ReadsPayload, clean, 0, true, L"可以扫描"},
        {ScanOutcome::ReadsPayload, logo, 0, true, L"可以扫描"},
        // Our decoder reads these; many phones do not.
        {ScanOutcome::ReadsPayload, faint, 2, false, L"手机难以扫描：对比度太低"},
        {ScanOutcome::ReadsPayload, reversed, 2, false, L"手机难以扫描：前景比背景浅"},
        {ScanOutcome::ReadsPayload, faintReversed, 2, false, L"手机难以扫描：对比度太低"},
        {ScanOutcome::ReadsOther, clean, 2, false, L"内容不一致：扫描结果与输入不同"},
        {ScanOutcome::Unread, faint, 2, false, L"扫描不到：前景与背景对比度太低"},
        {ScanOutcome::Unread, reversed, 2, false, L"扫描不到：前景比背景浅"},
        {ScanOutcome::Unread, tiny, 2, false, L"扫描不到：码点太小，请加大尺寸"},
        {ScanOutcome::Unread, logo, 2, false, L"扫描不到：请缩小图标或提高等级"},
        {ScanOutcome::Unread, logo, 3, false, L"扫描不到：图标太大，请缩小图标"},
        {ScanOutcome::Unread, logoAndPictures, 0, false, L"扫描不到：请缩小图标或提高等级"},
        {ScanOutcome::Unread, pictures, 0, false, L"扫描不到：图片使码点深浅难辨"},
        {ScanOutcome::Unread, clean, 0, false, L"扫描不到：请调整美化设置"},
    };
    for (const Case& c : cases) {
        const ScanVerdict verdict = JudgeScan(c.outcome, c.measures, c.level);
        EXPECT_EQ(verdict.readable, c.readable) << static_cast<int>(c.outcome);
        EXPECT_EQ(verdict.reason, c.reason) << static_cast<int>(c.outcome);
    }
}

class ScanCheck : public ::testing::Test {
protected:
    // Renders payload at level and side with style, as the preview does, and
    // checks it.
    std::optional<ScanVerdict> Check(const std::wstring& payload, EcLevel level, int side,
                                     SymbolStyle style = {}) {
        style.side = side;
        const ModuleMatrix matrix = EncodeSymbol(payload, level);
        const RenderedSymbol rendered = RenderStyledSymbol(matrix, side, side, style, images_);
        return CheckRenderedSymbol(matrix, rendered, EncodedText(payload), level);
    }

    std::wstring Picture(const wchar_t* name, int side,
                         const std::function<ui::Argb(int, int)>& color) {
        const std::wstring path = folder_.File(name);
        const ui::UniqueBitmap bitmap = test::MakeBitmap(side, side, color);
        test::WriteBytes(path, test::PngBytes(bitmap.get()));
        return path;
    }

    test::TempFolder folder_;
    StyleImages images_;
};

TEST_F(ScanCheck, PassesSymbolsThatReadBackAsEntered) {
    for (const int side : {128, 256, 768}) {
        for (EcLevel level = 0; level <= 3; ++level) {
            const std::optional<ScanVerdict> verdict = Check(L"Kodaro 扫一扫", level, side);
            ASSERT_TRUE(verdict.has_value());
            EXPECT_TRUE(verdict->readable) << side << " " << level << " " << verdict->reason;
        }
    }
}

TEST_F(ScanCheck, GivesTheReasonOfSymbolsThatDoNotScan) {
    SymbolStyle reversed;
    reversed.foregroundColor = 0xFEFFFFFF;
    reversed.backgroundColor = 0xFE000000;
    SymbolStyle faint;
    faint.foregroundColor = 0xFEE0E0E0;
    // A foreground picture white over its left third wipes those dark modules.
    SymbolStyle wiped;
    wiped.foregroundIsPicture = true;
    ReloadStyleImage(
        StyleSlot::Foreground,
        Picture(L"wiped.png", 256, [](int x, int) { return x < 85 ? 0xFFFFFFFF : 0xFF000000; }),
        256, images_);
    struct Case {
        std::wstring payload;
        EcLevel level;
        int side;
        SymbolStyle style;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {L"Kodaro", 2, 256, reversed, L"手机难以扫描：前景比背景浅"},
        {L"Kodaro", 2, 256, faint, L"手机难以扫描：对比度太低"},
        {L"Kodaro", 2, 256, wiped, L"扫描不到：图片使码点深浅难辨"},
        {std::wstring(2500, L'k'), 0, 128, {}, L"扫描不到：码点太小，请加大尺寸"},
    };
    for (const Case& c : cases) {
        const std::optional<ScanVerdict> verdict = Check(c.payload, c.level, c.side, c.style);
        ASSERT_TRUE(verdict.has_value());
        EXPECT_FALSE(verdict->readable);
        EXPECT_EQ(verdict->reason, c.reason);
    }
}

TEST_F(ScanCheck, BlamesALogoTooLargeForTheLevel) {
    ReloadStyleImage(StyleSlot::Logo,
                     Picture(L"logo.png", 128, [](int, int) { return 0xFF3070C0; }), 256, images_);
    SymbolStyle style;
    style.logoPath = folder_.File(L"logo.png");
    // Level L over a version-1 symbol: the logo hides more than it corrects.
    std::optional<ScanVerdict> verdict = Check(L"Kodaro", 0, 256, style);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->reason, L"扫描不到：请缩小图标或提高等级");
    verdict = Check(L"Kodaro", 3, 128, style);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_EQ(verdict->reason, L"扫描不到：图标太大，请缩小图标");
    // The same logo over a larger symbol at level H reads.
    verdict = Check(L"http://www.taobao.com/", 3, 256, style);
    ASSERT_TRUE(verdict.has_value());
    EXPECT_TRUE(verdict->readable);
}

TEST_F(ScanCheck, MeasuresDarkAndLightModulesAndThoseUnderTheLogo) {
    const ModuleMatrix matrix = EncodeSymbol(L"Kodaro", 2);
    const ui::MemoryImage matrixImage = ui::LoadImageFromBytes(matrix);
    SymbolStyle style;
    const RenderedSymbol plain = RenderStyledSymbol(matrix, 256, 256, style, images_);
    const LockedPixels modules(static_cast<Gdiplus::GpBitmap*>(matrixImage.get()),
                               Gdiplus::ImageLockModeRead);
    SymbolMeasures m = MeasureSymbol(
        modules, LockedPixels(plain.bitmap.get(), Gdiplus::ImageLockModeRead), plain.logoArea);
    // The colours carry alpha 254, so black shows as grey 1 over white.
    EXPECT_NEAR(m.darkGrey, 1, 0.01);
    EXPECT_NEAR(m.lightGrey, 255, 0.01);
    EXPECT_EQ(m.flippedUnderLogo + m.flippedElsewhere, 0);
    EXPECT_NEAR(m.pixelsPerModule, 256.0 / 29, 0.01);

    ReloadStyleImage(StyleSlot::Logo,
                     Picture(L"logo.png", 128, [](int, int) { return 0xFF000000; }), 256, images_);
    style.logoPath = folder_.File(L"logo.png");
    const RenderedSymbol withLogo = RenderStyledSymbol(matrix, 256, 256, style, images_);
    EXPECT_EQ(withLogo.logoArea.Width, 56 + 8);
    m = MeasureSymbol(modules, LockedPixels(withLogo.bitmap.get(), Gdiplus::ImageLockModeRead),
                      withLogo.logoArea);
    // A black logo flips the light modules it covers; its white frame the dark.
    EXPECT_GT(m.flippedUnderLogo, 10);
    EXPECT_EQ(m.flippedElsewhere, 0);
}

TEST_F(ScanCheck, ReadBackComparesTheTextAndKnowsWhenItCannotRead) {
    const ModuleMatrix matrix = EncodeSymbol(L"Kodaro", 2);
    const RenderedSymbol rendered = RenderStyledSymbol(matrix, 256, 256, {}, images_);
    const std::vector<std::uint8_t> picture =
        CheckPicture(LockedPixels(rendered.bitmap.get(), Gdiplus::ImageLockModeRead), 29);
    EXPECT_EQ(test::DecodePixels(picture).width, 29 * kCheckPixelsPerModule);
    EXPECT_EQ(ReadBack(picture, "Kodaro"), ScanOutcome::ReadsPayload);
    EXPECT_EQ(ReadBack(picture, "Kodar0"), ScanOutcome::ReadsOther);
    const ui::UniqueBitmap blank = test::MakeBitmap(64, 64, [](int, int) { return 0xFFFFFFFF; });
    EXPECT_EQ(ReadBack(ImageToBmpBytes(blank.get()), "Kodaro"), ScanOutcome::Unread);
    // No picture, or bytes that are none: nothing is known about the symbol.
    EXPECT_EQ(ReadBack({}, "Kodaro"), std::nullopt);
    const std::vector<std::uint8_t> junk(100, 0x42);
    EXPECT_EQ(ReadBack(junk, "Kodaro"), std::nullopt);
}

// The component keeps the last picture's symbols for its callers to ask
// about; the worker's check and the decode page must not mix them up.
TEST(DecoderCalls, KeepEachCallersSymbolsApart) {
    test::TempFolder folder;
    StyleImages images;
    const auto write = [&](const wchar_t* name, const wchar_t* payload) {
        const ModuleMatrix matrix = EncodeSymbol(payload, 2);
        const RenderedSymbol rendered = RenderStyledSymbol(matrix, 128, 128, {}, images);
        test::WriteBytes(folder.File(name), ImageToBmpBytes(rendered.bitmap.get()));
        return folder.File(name);
    };
    const std::wstring first = write(L"first.bmp", L"first picture");
    const std::wstring second = write(L"second.bmp", L"second picture");
    std::atomic<int> wrong{0};
    std::thread other([&] {
        for (int i = 0; i < 40; ++i) {
            const DecodedTexts read = DecodePictureTexts(second);
            if (read.texts != std::vector<std::string>{"second picture"}) {
                ++wrong;
            }
        }
    });
    for (int i = 0; i < 40; ++i) {
        if (DecodeToReport(first).find(L"first picture") == std::wstring::npos) {
            ++wrong;
        }
    }
    other.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace kodaro
