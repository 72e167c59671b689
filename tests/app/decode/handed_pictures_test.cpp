// Files and pictures handed over by drag and drop or the clipboard, through
// the real clipboard.
#include "app/decode/handed_pictures.h"

#include "app/decode/decode_sources.h"
#include "runtime/file_io.h"
#include "runtime/gdiplus_session.h"
#include "tests/support/drop_block.h"
#include "ui/draw/ole_picture.h"

#include <gtest/gtest.h>

namespace kodaro {
namespace {

std::wstring PicturePath() {
    const std::string root = KODARO_SOURCE_DIR;
    return std::wstring(root.begin(), root.end()) + L"\\tests\\data\\decoder\\v3m_abc.png";
}

// Replaces the clipboard's contents with one block (or nothing).
void PutOnClipboard(UINT format, HANDLE data) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (data != nullptr) {
        EXPECT_NE(SetClipboardData(format, data), nullptr);
    }
    CloseClipboard();
}

HGLOBAL BlockOf(const void* bytes, SIZE_T size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}

TEST(HandedPictures, DropBlocksGiveTheirFilesInOrder) {
    const std::vector<std::wstring> paths = {L"C:\\一\\a b.png", L"D:\\😀.bmp"};
    HGLOBAL block = test::MakeDropBlock(paths);
    EXPECT_EQ(DropBlockFiles(static_cast<HDROP>(block)), paths);
    GlobalFree(block);
}

TEST(HandedPictures, ClipboardGivesFilesElsePngElseBitmap) {
    const GdiplusSession gdiplus;
    const std::vector<std::uint8_t> png = ReadWholeFile(PicturePath());
    ASSERT_FALSE(png.empty());

    PutOnClipboard(CF_UNICODETEXT, nullptr);
    EXPECT_FALSE(ClipboardHasPicture());
    EXPECT_FALSE(ReadClipboardPicture(nullptr).has_value());

    PutOnClipboard(CF_HDROP, test::MakeDropBlock({PicturePath()}));
    ASSERT_TRUE(ClipboardHasPicture());
    std::optional<ClipboardPicture> got = ReadClipboardPicture(nullptr);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->files, std::vector<std::wstring>{PicturePath()});

    PutOnClipboard(RegisterClipboardFormatW(L"PNG"), BlockOf(png.data(), png.size()));
    got = ReadClipboardPicture(nullptr);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(got->files.empty());
    EXPECT_EQ(got->picture, png);

    PutOnClipboard(CF_BITMAP, ui::BytesToBitmapHandle(png));
    got = ReadClipboardPicture(nullptr);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(DecodePictureBytes(got->picture),
              L"解码序号: 1\r\n模型版本: 3\r\n容错等级: 低 - 15%\r\n解码数据: \r\nABC");
}

TEST(HandedPictures, ClipboardDropBlocksThatRunPastTheirEndAreRefused) {
    DROPFILES header{};
    header.fWide = TRUE;
    struct Case {
        DWORD listAt;
        std::wstring list;
    };
    // A list without its final NUL, one without any, and one said to start
    // beyond the block.
    for (const Case& c : {Case{sizeof(DROPFILES), std::wstring(L"C:\\a.png\0", 9)},
                          Case{sizeof(DROPFILES), L"C:\\a.png"}, Case{4096, L"x"}}) {
        header.pFiles = c.listAt;
        std::vector<std::uint8_t> bytes(sizeof(header) + c.list.size() * sizeof(wchar_t));
        std::memcpy(bytes.data(), &header, sizeof(header));
        std::memcpy(bytes.data() + sizeof(header), c.list.data(), c.list.size() * sizeof(wchar_t));
        PutOnClipboard(CF_HDROP, BlockOf(bytes.data(), bytes.size()));
        EXPECT_FALSE(ReadClipboardPicture(nullptr).has_value()) << c.list.size();
    }
}

} // namespace
} // namespace kodaro
