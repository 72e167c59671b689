#include "app/symbol/image_export.h"
#include "app/symbol/save_command.h"
#include "app/symbol/save_dialog.h"
#include "app/symbol/style_images.h"
#include "app/symbol/symbol_renderer.h"

#include "bench/render/matrix_bitmap.h"
#include "runtime/file_io.h"
#include "runtime/text.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <atomic>
#include <thread>

namespace kodaro {
namespace {

std::vector<std::uint8_t> PreviewBytes(int side) {
    StyleImages images;
    return RenderSymbol(bench::MatrixBitmap(bench::SymbolLikePattern(21, 9), 3, 4), side, side,
                        SymbolStyle{}, images);
}

TEST(ImageToBmpBytes, EncodesABitmapFileOfTheSamePixels) {
    const ui::UniqueBitmap bitmap = test::MakeBitmap(
        13, 7, [](int x, int y) { return 0xFF000000u | (x * 19u << 8) | y * 30u; });
    const std::vector<std::uint8_t> bytes = ImageToBmpBytes(bitmap.get());
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    // The file header's size field matches the bytes handed back.
    const std::uint32_t fileSize = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | bytes[5] << 24;
    EXPECT_EQ(fileSize, bytes.size());
    const test::Pixels decoded = test::DecodePixels(bytes);
    EXPECT_EQ(decoded.argb, test::ReadBitmap(bitmap.get()).argb);
    EXPECT_TRUE(ImageToBmpBytes(nullptr).empty());
}

TEST(ScaleImageBytes, StretchesAnyPictureToTheAskedSize) {
    const std::vector<std::uint8_t> scaled =
        ScaleImageBytes(test::SolidPng(10, 20, 0xFF204080), 64, 32);
    const test::Pixels pixels = test::DecodePixels(scaled);
    ASSERT_EQ(pixels.width, 64);
    ASSERT_EQ(pixels.height, 32);
    EXPECT_EQ(pixels.at(32, 16), 0xFF204080u);
    // A palette picture cannot be drawn into in its own format; it is scaled all the same.
    const std::vector<std::uint8_t> palette = bench::MatrixBitmap({"#.", ".#"}, 4, 0, 0x112233);
    const test::Pixels fromPalette = test::DecodePixels(ScaleImageBytes(palette, 16, 16));
    ASSERT_EQ(fromPalette.width, 16);
    EXPECT_EQ(fromPalette.at(2, 2), 0xFF112233u);
    EXPECT_EQ(fromPalette.at(13, 2), 0xFFFFFFFFu);

    EXPECT_TRUE(ScaleImageBytes(std::vector<std::uint8_t>{1, 2, 3}, 16, 16).empty());
    EXPECT_TRUE(ScaleImageBytes(test::SolidPng(4, 4, 0xFF000000), 0, 16).empty());
}

TEST(SaveDialogFilter, PipesBecomeNulsWithADoubleNulAtTheEnd) {
    EXPECT_EQ(FilterToDoubleNul(L"位图文件*.bmp|*.bmp"),
              std::wstring(L"位图文件*.bmp\0*.bmp\0\0", 17));
    EXPECT_EQ(FilterToDoubleNul(L"a|*.a|b|*.b"), std::wstring(L"a\0*.a\0b\0*.b\0\0", 13));
}

TEST(SaveName, AnOfferedExtensionDecidesTheFormatAnyOtherNameGetsTheChosenOne) {
    const struct {
        const wchar_t* typed;
        SaveFormat chosen;
        const wchar_t* path;
        SaveFormat format;
    } cases[] = {
        {L"a", SaveFormat::Bmp, L"a.bmp", SaveFormat::Bmp},
        {L"a", SaveFormat::Png, L"a.png", SaveFormat::Png},
        {L"a", SaveFormat::Svg, L"a.svg", SaveFormat::Svg},
        {L"C:\\x.BMP", SaveFormat::Bmp, L"C:\\x.BMP", SaveFormat::Bmp},
        {L"x.bMp", SaveFormat::Svg, L"x.bMp", SaveFormat::Bmp},
        {L"x.png", SaveFormat::Bmp, L"x.png", SaveFormat::Png},
        {L"x.SVG", SaveFormat::Png, L"x.SVG", SaveFormat::Svg},
        {L"x.jpg", SaveFormat::Png, L"x.jpg.png", SaveFormat::Png},
        {L"svg", SaveFormat::Bmp, L"svg.bmp", SaveFormat::Bmp},
        {L"", SaveFormat::Bmp, L".bmp", SaveFormat::Bmp},
        {L"二维码", SaveFormat::Png, L"二维码.png", SaveFormat::Png},
    };
    for (const auto& c : cases) {
        const SaveTarget target = ResolveSaveTarget(c.typed, c.chosen);
        EXPECT_EQ(target.path, c.path);
        EXPECT_EQ(target.format, c.format) << WideToUtf8(c.typed);
    }
    EXPECT_EQ(SaveFormatOfFilter(0), SaveFormat::Bmp);
    EXPECT_EQ(SaveFormatOfFilter(2), SaveFormat::Png);
    EXPECT_EQ(SaveFormatOfFilter(3), SaveFormat::Svg);
    EXPECT_EQ(SaveFormatOfFilter(4), SaveFormat::Bmp);
}

class SaveCommandTest : public testing::Test {
protected:
    // The save command with the dialog answering from `answers` in turn (BMP
    // unless given), the replace question answering `replace`, and what was
    // asked and shown collected.
    SaveOutcome Save(std::vector<std::optional<SaveChoice>> answers,
                     std::span<const std::uint8_t> bytes, const SvgMaker& svg = {}) {
        SaveCommandHooks hooks;
        hooks.chooseFile = [&](HWND, const SaveChoice& initial) -> std::optional<SaveChoice> {
            dialogOpenedWith.push_back(initial.path);
            if (answers.empty()) {
                return std::nullopt;
            }
            const std::optional<SaveChoice> answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        hooks.confirmReplace = [&](HWND, const std::wstring& path) {
            asked.push_back(path);
            return replace;
        };
        hooks.showError = [&](HWND, const std::wstring& text) { errors.push_back(text); };
        return SaveSymbolCommand(nullptr, bytes, svg, hooks);
    }
    SaveOutcome Save(const std::wstring& name, std::span<const std::uint8_t> bytes,
                     SaveFormat format = SaveFormat::Bmp, const SvgMaker& svg = {}) {
        return Save({SaveChoice{name, format}}, bytes, svg);
    }

    test::TempFolder folder;
    bool replace = true;
    std::vector<std::wstring> dialogOpenedWith;
    std::vector<std::wstring> asked;
    std::vector<std::wstring> errors;
};

TEST_F(SaveCommandTest, WritesThePreviewBytesAsTheyAre) {
    const std::vector<std::uint8_t> preview = PreviewBytes(256);
    ASSERT_FALSE(preview.empty());
    EXPECT_EQ(Save(folder.File(L"a"), preview), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"a.bmp")), preview);
    EXPECT_EQ(test::DecodePixels(ReadWholeFile(folder.File(L"a.bmp"))).width, 256);

    // Whatever the preview holds is written under a .bmp name, and it replaces an older file.
    const std::vector<std::uint8_t> png = test::SolidPng(5, 5, 0xFF00FF00);
    test::WriteBytes(folder.File(L"x.BMP"), preview);
    EXPECT_EQ(Save(folder.File(L"x.BMP"), png), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"x.BMP")), png);

    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(asked.empty());
}

TEST_F(SaveCommandTest, PngHoldsThePreviewsPixelsAndSvgTheDrawingMade) {
    const std::vector<std::uint8_t> preview = PreviewBytes(128);
    EXPECT_EQ(Save(folder.File(L"p"), preview, SaveFormat::Png), SaveOutcome::Saved);
    const std::vector<std::uint8_t> png = ReadWholeFile(folder.File(L"p.png"));
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(test::DecodePixels(png).argb, test::DecodePixels(preview).argb);

    EXPECT_EQ(Save(folder.File(L"s"), preview, SaveFormat::Svg,
                   [] { return std::optional<std::string>("<svg/>"); }),
              SaveOutcome::Saved);
    const std::vector<std::uint8_t> svg = ReadWholeFile(folder.File(L"s.svg"));
    EXPECT_EQ(std::string(svg.begin(), svg.end()), "<svg/>");
    EXPECT_TRUE(errors.empty());

    // Nothing to convert is a failure the user sees, and no file is left.
    EXPECT_EQ(Save(folder.File(L"e"), {}, SaveFormat::Png), SaveOutcome::Failed);
    EXPECT_EQ(Save(folder.File(L"f"), preview, SaveFormat::Svg,
                   [] { return std::optional<std::string>(); }),
              SaveOutcome::Failed);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"e.png").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(folder.File(L"f.svg").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The dialog asks about the name it hands back; a name the command extends
// afterwards is asked about by the command.
TEST_F(SaveCommandTest, AnExtendedNameOverAFileIsAskedAboutAndNoGoesBackToTheDialog) {
    const std::vector<std::uint8_t> old{1, 2, 3};
    test::WriteBytes(folder.File(L"x.jpg.bmp"), old);
    replace = false;
    const std::wstring typed = folder.File(L"x.jpg");
    EXPECT_EQ(Save({SaveChoice{typed}, std::nullopt}, PreviewBytes(128)), SaveOutcome::Cancelled);
    EXPECT_EQ(asked, std::vector<std::wstring>{folder.File(L"x.jpg.bmp")});
    EXPECT_EQ(ReadWholeFile(folder.File(L"x.jpg.bmp")), old);
    // The dialog came back with the name typed before.
    EXPECT_EQ(dialogOpenedWith, (std::vector<std::wstring>{L"", typed}));

    replace = true;
    EXPECT_EQ(Save(typed, PreviewBytes(128)), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"x.jpg.bmp")), PreviewBytes(128));

    // Names the dialog checked itself, and new files, are not asked about again.
    asked.clear();
    EXPECT_EQ(Save(folder.File(L"x.jpg.bmp"), PreviewBytes(128)), SaveOutcome::Saved);
    EXPECT_EQ(Save(folder.File(L"new"), PreviewBytes(128)), SaveOutcome::Saved);
    EXPECT_TRUE(asked.empty());
}

TEST_F(SaveCommandTest, NamesOutsideTheCodePageAreKept) {
    // Wine stores file names in the Unix locale's charset; without a UTF-8
    // locale it cannot create any non-ASCII name, whatever the program does.
    const std::wstring probe = folder.File(L"\u00e9probe");
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "this system cannot create non-ASCII file names (no UTF-8 locale)";
    }
    CloseHandle(file);
    const std::vector<std::uint8_t> preview = PreviewBytes(128);
    // Chinese, and Korean and an emoji, which code page 936 cannot hold.
    for (const wchar_t* name : {L"二维码", L"\uD55C\uAE00", L"\U0001F600"}) {
        EXPECT_EQ(Save(folder.File(name), preview), SaveOutcome::Saved);
        EXPECT_EQ(ReadWholeFile(folder.File(std::wstring(name) + L".bmp")), preview);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(SaveCommandTest, EmptyPreviewWritesAnEmptyFileAndCancelWritesNothing) {
    test::WriteBytes(folder.File(L"old.bmp"), std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(Save(folder.File(L"old"), {}), SaveOutcome::Saved);
    EXPECT_TRUE(ReadWholeFile(folder.File(L"old.bmp")).empty());
    EXPECT_NE(GetFileAttributesW(folder.File(L"old.bmp").c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(Save({std::nullopt}, PreviewBytes(128)), SaveOutcome::Cancelled);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SaveCommandTest, AFailedWriteIsShownWithTheSystemsReason) {
    const std::wstring path = folder.File(L"no such folder\\a");
    EXPECT_EQ(Save(path, PreviewBytes(128)), SaveOutcome::Failed);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(path + L".bmp"), std::wstring::npos) << WideToUtf8(errors[0]);
    wchar_t reason[256] = {};
    ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             ERROR_PATH_NOT_FOUND, 0, reason, 256, nullptr),
              0u);
    std::wstring expected = reason;
    while (!expected.empty() && (expected.back() == L'\n' || expected.back() == L'\r')) {
        expected.pop_back();
    }
    EXPECT_NE(errors[0].find(expected), std::wstring::npos) << WideToUtf8(errors[0]);
}

// The real common dialog, answered by a helper thread the way a user would:
// it offers the three types, BMP first, and a name typed without an
// extension comes back with the chosen type's, so the dialog's own replace
// question is about the file that will be written.
TEST(SaveDialog, OffersTheTypesAndExtendsATypedNameBeforeHandingItBack) {
    test::TempFolder folder;
    const std::wstring typed = folder.File(L"typed");
    std::atomic<bool> stop{false};
    std::vector<std::wstring> typesShown;
    std::thread user([&] {
        HWND dialog = nullptr;
        while (!stop && dialog == nullptr) {
            Sleep(50);
            dialog = FindWindowW(L"#32770", kSaveDialogTitle);
        }
        if (dialog == nullptr) {
            return;
        }
        Sleep(200);
        const LRESULT count = SendDlgItemMessageW(dialog, cmb1, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            typesShown.push_back(text);
        }
        typesShown.push_back(
            std::to_wstring(SendDlgItemMessageW(dialog, cmb1, CB_GETCURSEL, 0, 0)));
        SendDlgItemMessageW(dialog, cmb1, CB_SETCURSEL, 1, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, cmb1)));
        SetDlgItemTextW(dialog, cmb13, typed.c_str());
        SetDlgItemTextW(dialog, edt1, typed.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const std::optional<FileDialogAnswer> chosen = ShowSaveDialog(nullptr, kSaveFilter);
    stop = true;
    user.join();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->path, typed + L".png");
    EXPECT_EQ(SaveFormatOfFilter(chosen->filterIndex), SaveFormat::Png);
    EXPECT_EQ(typesShown, (std::vector<std::wstring>{L"位图文件*.bmp", L"PNG 图片*.png",
                                                     L"SVG 矢量图*.svg", L"0"}));
}

} // namespace
} // namespace kodaro
