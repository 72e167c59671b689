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
    EXPECT_EQ(FilterToDoubleNul(kBmpSaveFilter), std::wstring(L"位图文件*.bmp\0*.bmp\0\0", 17));
    EXPECT_EQ(FilterToDoubleNul(L"a|*.a|b|*.b"), std::wstring(L"a\0*.a\0b\0*.b\0\0", 13));
}

TEST(SaveName, BmpIsAppendedUnlessTheNameEndsInItInAnyCase) {
    EXPECT_EQ(WithBmpExtension(L"a"), L"a.bmp");
    EXPECT_EQ(WithBmpExtension(L"C:\\x.BMP"), L"C:\\x.BMP");
    EXPECT_EQ(WithBmpExtension(L"x.bMp"), L"x.bMp");
    EXPECT_EQ(WithBmpExtension(L"x.png"), L"x.png.bmp");
    EXPECT_EQ(WithBmpExtension(L"bmp"), L"bmp.bmp");
    EXPECT_EQ(WithBmpExtension(L""), L".bmp");
    EXPECT_EQ(WithBmpExtension(L"二维码"), L"二维码.bmp");
}

class SaveCommandTest : public testing::Test {
protected:
    // The save command with the dialog answering `answer` and errors collected.
    SaveOutcome Save(std::optional<std::wstring> answer, std::span<const std::uint8_t> bytes) {
        SaveCommandHooks hooks;
        hooks.chooseFile = [&](HWND, std::wstring_view filter) {
            filterSeen = filter;
            return answer;
        };
        hooks.showError = [&](HWND, const std::wstring& text) { errors.push_back(text); };
        return SaveSymbolCommand(nullptr, bytes, hooks);
    }

    test::TempFolder folder;
    std::wstring filterSeen;
    std::vector<std::wstring> errors;
};

TEST_F(SaveCommandTest, WritesThePreviewBytesAsTheyAre) {
    const std::vector<std::uint8_t> preview = PreviewBytes(256);
    ASSERT_FALSE(preview.empty());
    EXPECT_EQ(Save(folder.File(L"a"), preview), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"a.bmp")), preview);
    EXPECT_EQ(filterSeen, kBmpSaveFilter);
    EXPECT_EQ(test::DecodePixels(ReadWholeFile(folder.File(L"a.bmp"))).width, 256);

    EXPECT_EQ(Save(folder.File(L"x.BMP"), preview), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"x.BMP")), preview);

    // Whatever the preview holds is written under a .bmp name, and it replaces an older file.
    const std::vector<std::uint8_t> png = test::SolidPng(5, 5, 0xFF00FF00);
    test::WriteBytes(folder.File(L"x.png.bmp"), preview);
    EXPECT_EQ(Save(folder.File(L"x.png"), png), SaveOutcome::Saved);
    EXPECT_EQ(ReadWholeFile(folder.File(L"x.png.bmp")), png);

    EXPECT_TRUE(errors.empty());
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

    EXPECT_EQ(Save(std::nullopt, PreviewBytes(128)), SaveOutcome::Cancelled);
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
// it must carry the title "保存到:" and the bitmap filter, and hand back the
// typed name.
TEST(SaveDialog, ReturnsTheNameTheUserTyped) {
    test::TempFolder folder;
    const std::wstring typed = folder.File(L"typed");
    std::atomic<bool> stop{false};
    std::wstring filterShown;
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
        wchar_t text[128] = {};
        SendDlgItemMessageW(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        filterShown = text;
        SetDlgItemTextW(dialog, cmb13, typed.c_str());
        SetDlgItemTextW(dialog, edt1, typed.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    const std::optional<std::wstring> chosen = ShowSaveDialog(nullptr, kBmpSaveFilter);
    stop = true;
    user.join();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, typed);
    EXPECT_EQ(filterShown, L"位图文件*.bmp");
}

} // namespace
} // namespace kodaro
