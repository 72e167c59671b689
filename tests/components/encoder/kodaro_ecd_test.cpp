// Binds KodaroEcd.dll by name, as the program does, and checks the bitmap
// block it returns, its argument checks and its NULL results.
#include "codec/encoder/qr_encoder.h"

#include <windows.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using EncodeFn = HGLOBAL(__stdcall*)(int, int, int, int, const char*, int);
using FreeFn = void(__stdcall*)(HGLOBAL);

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int clrUsed = 0;
    size_t stride = 0;
    std::vector<uint8_t> block;

    // Palette colour (0x00RRGGBB) of the pixel at (x, y), y counted from the top.
    uint32_t Color(int x, int y) const {
        const size_t row = static_cast<size_t>(height - 1 - y);
        const uint8_t index = block[40 + 1024 + row * stride + static_cast<size_t>(x)];
        const uint8_t* q = &block[40 + 4 * index];
        return (uint32_t{q[2]} << 16) | (uint32_t{q[1]} << 8) | q[0];
    }
    bool IsWhite(int x, int y) const { return Color(x, y) == 0xFFFFFF; }
};

class KodaroEcdTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryW(L"KodaroEcd.dll");
        ASSERT_NE(module_, nullptr) << "KodaroEcd.dll not found beside the test";
        encode_ = reinterpret_cast<EncodeFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "KodaroEcd")));
        free_ = reinterpret_cast<FreeFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "KodaroFreeBin")));
        ASSERT_NE(encode_, nullptr);
        ASSERT_NE(free_, nullptr);
    }
    static void TearDownTestSuite() {
        if (module_)
            FreeLibrary(module_);
    }

    // Calls the export and copies the block out, as the program does.
    static std::optional<Bitmap> Encode(int level, int version, int ppm, int mask, const char* text,
                                        int length) {
        HGLOBAL h = encode_(level, version, ppm, mask, text, length);
        if (!h)
            return std::nullopt;
        Bitmap b;
        const SIZE_T size = GlobalSize(h);
        const void* p = GlobalLock(h);
        EXPECT_NE(p, nullptr);
        EXPECT_NE(p, static_cast<const void*>(h)) << "a movable block's handle is not its address";
        b.block.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
        GlobalUnlock(h);
        free_(h);
        if (size < 40 + 1024)
            return b;
        BITMAPINFOHEADER header;
        std::memcpy(&header, b.block.data(), sizeof header);
        b.width = header.biWidth;
        b.height = header.biHeight;
        b.bitCount = header.biBitCount;
        b.clrUsed = static_cast<int>(header.biClrUsed);
        b.stride = (static_cast<size_t>(b.width) + 3) & ~size_t{3};
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        return b;
    }

    static HMODULE module_;
    static EncodeFn encode_;
    static FreeFn free_;
};

HMODULE KodaroEcdTest::module_ = nullptr;
EncodeFn KodaroEcdTest::encode_ = nullptr;
FreeFn KodaroEcdTest::free_ = nullptr;

// The matrix the portable encoder makes for the same input.
kodaro::codec::QrSymbol Reference(const std::string& text, int level, int version = 1,
                                  int mask = -1) {
    auto s =
        kodaro::codec::EncodeQr(text, {static_cast<kodaro::codec::EcLevel>(level), version, mask});
    EXPECT_TRUE(s);
    return s ? *s : kodaro::codec::QrSymbol{};
}

// Every pixel: quiet zone white, modules as the reference matrix says.
void ExpectPixels(const Bitmap& b, const kodaro::codec::QrSymbol& s, int ppm) {
    ASSERT_EQ(b.width, (s.size + 8) * ppm);
    ASSERT_EQ(b.height, b.width);
    ASSERT_EQ(b.block.size(), 40 + 1024 + b.stride * static_cast<size_t>(b.height));
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            const int r = y / ppm - 4;
            const int c = x / ppm - 4;
            const bool dark = r >= 0 && r < s.size && c >= 0 && c < s.size && s.IsDark(r, c);
            ASSERT_EQ(b.Color(x, y), dark ? 0x000000u : 0xFFFFFFu) << x << "," << y;
        }
    }
}

TEST_F(KodaroEcdTest, ProgramCallGivesAPackedBitmap) {
    // The program's call: level, 0, 1, -1, text, -1.
    const auto b = Encode(2, 0, 1, -1, "Kodaro", -1);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bitCount, 8);
    EXPECT_EQ(b->clrUsed, 256);
    EXPECT_GT(b->height, 0) << "bottom-up rows";
    EXPECT_EQ(b->width, 21 + 8);
    EXPECT_EQ(b->stride, 32u);
    ExpectPixels(*b, Reference("Kodaro", 2), 1);
    // The top-left finder's corner is the first dark pixel after the quiet zone.
    EXPECT_TRUE(b->IsWhite(3, 3));
    EXPECT_FALSE(b->IsWhite(4, 4));
}

TEST_F(KodaroEcdTest, ConstantArgumentsAreHonoured) {
    const std::string text = "https://example.com/二维码";
    for (int level = 0; level < 4; ++level)
        ExpectPixels(*Encode(level, 0, 1, -1, text.c_str(), -1), Reference(text, level), 1);
    // Minimum version, pixels per module and a forced mask.
    const auto b = Encode(1, 10, 3, 5, text.c_str(), -1);
    ASSERT_TRUE(b);
    const auto s = Reference(text, 1, 10, 5);
    EXPECT_EQ(s.version, 10);
    EXPECT_EQ(s.mask, 5);
    ExpectPixels(*b, s, 3);
    // An explicit length takes exactly that many bytes, NULs included.
    const char withNul[] = "abc\0def";
    ExpectPixels(*Encode(0, 0, 1, -1, withNul, 7), Reference(std::string(withNul, 7), 0), 1);
    ExpectPixels(*Encode(0, 0, 1, -1, "abcdef", 3), Reference("abc", 0), 1);
    ExpectPixels(*Encode(0, 0, 1, -1, "", -1), Reference("", 0), 1);
}

TEST_F(KodaroEcdTest, BadInputGivesNull) {
    const std::string fitsL(2953, 'q');
    const std::string tooLongL(2954, 'q');
    const std::string tooLongH(1274, 'q');
    EXPECT_TRUE(Encode(0, 0, 1, -1, fitsL.c_str(), -1));
    EXPECT_FALSE(Encode(0, 0, 1, -1, tooLongL.c_str(), -1));
    EXPECT_FALSE(Encode(3, 0, 1, -1, tooLongH.c_str(), -1));
    EXPECT_FALSE(Encode(2, 0, 1, -1, nullptr, -1));
    EXPECT_FALSE(Encode(-1, 0, 1, -1, "x", -1));
    EXPECT_FALSE(Encode(4, 0, 1, -1, "x", -1));
    EXPECT_FALSE(Encode(2, -1, 1, -1, "x", -1));
    EXPECT_FALSE(Encode(2, 41, 1, -1, "x", -1));
    EXPECT_FALSE(Encode(2, 0, 0, -1, "x", -1));
    EXPECT_FALSE(Encode(2, 0, -5, -1, "x", -1));
    EXPECT_FALSE(Encode(2, 0, 1 << 30, -1, "x", -1));
    EXPECT_FALSE(Encode(2, 0, 1, -2, "x", -1));
    EXPECT_FALSE(Encode(2, 0, 1, 8, "x", -1));
    EXPECT_FALSE(Encode(2, 0, 1, -1, "x", -2));
    // A version 40 symbol at 100 pixels per module would need 342 MB.
    EXPECT_FALSE(Encode(2, 40, 100, -1, "x", -1));
    EXPECT_TRUE(Encode(2, 40, 20, -1, "x", -1));
    free_(nullptr);
}

// GDI+ reads the quiet zone and light modules as exactly opaque white, which
// is how the renderer tells light from dark.
TEST_F(KodaroEcdTest, GdiplusSeesOpaqueWhite) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    {
        const auto b = Encode(2, 0, 2, -1, "GDI+", -1);
        ASSERT_TRUE(b);
        // The bitmap file the program builds: 14-byte header, then the block.
        std::vector<uint8_t> file(14 + b->block.size());
        const uint32_t fileSize = static_cast<uint32_t>(file.size());
        const uint32_t offBits = 1078;
        file[0] = 'B';
        file[1] = 'M';
        std::memcpy(&file[2], &fileSize, 4);
        std::memcpy(&file[10], &offBits, 4);
        std::memcpy(&file[14], b->block.data(), b->block.size());
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size());
        std::memcpy(GlobalLock(mem), file.data(), file.size());
        GlobalUnlock(mem);
        IStream* stream = nullptr;
        ASSERT_EQ(CreateStreamOnHGlobal(mem, TRUE, &stream), S_OK);
        {
            Gdiplus::Bitmap picture(stream);
            ASSERT_EQ(picture.GetLastStatus(), Gdiplus::Ok);
            ASSERT_EQ(static_cast<int>(picture.GetWidth()), b->width);
            for (int y = 0; y < b->height; ++y) {
                for (int x = 0; x < b->width; ++x) {
                    Gdiplus::Color c;
                    picture.GetPixel(x, y, &c);
                    if (b->IsWhite(x, y))
                        ASSERT_EQ(c.GetValue(), 0xFFFFFFFFu) << x << "," << y;
                    else
                        ASSERT_NE(c.GetValue(), 0xFFFFFFFFu) << x << "," << y;
                }
            }
        }
        stream->Release();
    }
    Gdiplus::GdiplusShutdown(token);
}

// Writes bitmap files for the zbarimg read-back step.
TEST_F(KodaroEcdTest, WritesSymbolsForReadBack) {
    namespace fs = std::filesystem;
    const fs::path dir = "readback";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const struct {
        int level, version, ppm, mask;
        std::string text;
    } cases[] = {
        {0, 0, 3, -1, "Kodaro"},
        {1, 0, 3, -1, "0123456789012345678901234567890123456789"},
        {2, 0, 3, -1, "HTTP://WWW.EXAMPLE.COM/QR"},
        {3, 0, 3, -1, "中文二维码测试：你好，世界"},
        {2, 0, 3, -1, "WIFI:T:WPA;S:办公室;P:pass word;;"},
        {1, 7, 3, 3, "version 7, mask 3"},
        {0, 25, 2, -1, "version 25"},
        {3, 0, 2, -1, std::string(1200, 'z')},
    };
    int n = 0;
    for (const auto& c : cases) {
        const auto b = Encode(c.level, c.version, c.ppm, c.mask, c.text.c_str(), -1);
        ASSERT_TRUE(b) << c.text;
        const std::string name = (dir / std::to_string(n++)).string();
        std::ofstream bmp(name + ".bmp", std::ios::binary);
        const uint32_t fileSize = static_cast<uint32_t>(14 + b->block.size());
        const uint32_t reserved = 0;
        const uint32_t offBits = 1078;
        bmp.write("BM", 2);
        bmp.write(reinterpret_cast<const char*>(&fileSize), 4);
        bmp.write(reinterpret_cast<const char*>(&reserved), 4);
        bmp.write(reinterpret_cast<const char*>(&offBits), 4);
        bmp.write(reinterpret_cast<const char*>(b->block.data()),
                  static_cast<std::streamsize>(b->block.size()));
        std::ofstream(name + ".txt", std::ios::binary) << c.text;
    }
}

} // namespace
