// Renders real symbols with the default style and with strong but readable
// styling, and leaves each as a BMP file beside its payload in decode_out\;
// check_zbar.sh then reads every file back with zbarimg.

#include "app/symbol/encode_symbol.h"
#include "app/symbol/symbol_renderer.h"

#include "bench/render/matrix_bitmap.h"
#include "codec/encoder/qr_encoder.h"
#include "runtime/text.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace kodaro {
namespace {

struct Case {
    const char* name;
    const char* payload; // UTF-8, as the encoder receives it
    codec::EcLevel level;
};

const Case kCases[] = {
    {"text", "Kodaro", codec::EcLevel::Q},
    {"web", "https://example.com/kodaro?id=42&lang=zh", codec::EcLevel::M},
    {"chinese", "\xe4\xbd\xa0\xe5\xa5\xbd\xef\xbc\x8c\xe4\xb8\x96\xe7\x95\x8c", codec::EcLevel::Q},
    {"wifi", "WIFI:T:WPA;S:Home Net;P:secret\\;pass;;", codec::EcLevel::L},
    {"card",
     "BEGIN:VCARD\nVERSION:3.0\nN:Zhang;San\nTEL;TYPE=CELL:13800138000\n"
     "EMAIL:zhang@example.com\nORG:Kodaro\nEND:VCARD",
     codec::EcLevel::H},
};

// The matrix the program renders: the encoder component's bitmap through the
// encoder bridge.
std::vector<std::uint8_t> ComponentMatrixOf(const Case& c) {
    return EncodeSymbol(Utf8ToWide(c.payload), static_cast<EcLevel>(c.level));
}

// The same symbol laid out at 3 pixels a module with a 4-module quiet zone,
// so sampling also meets matrices that are not 1 pixel a module.
std::vector<std::uint8_t> CoarseMatrixOf(const Case& c) {
    const std::optional<codec::QrSymbol> symbol = codec::EncodeQr(c.payload, {c.level});
    if (!symbol) {
        return {};
    }
    std::vector<std::string> rows(static_cast<std::size_t>(symbol->size));
    for (int y = 0; y < symbol->size; ++y) {
        for (int x = 0; x < symbol->size; ++x) {
            rows[static_cast<std::size_t>(y)] += symbol->IsDark(y, x) ? '#' : '.';
        }
    }
    return bench::MatrixBitmap(rows, 3, 4);
}

std::wstring OutputFolder() {
    wchar_t here[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, here);
    const std::wstring folder = std::wstring(here) + L"\\decode_out";
    CreateDirectoryW(folder.c_str(), nullptr);
    // Files of an earlier run must not be read back as this run's; the tests
    // of this run share the folder.
    static bool emptied = false;
    if (std::exchange(emptied, true)) {
        return folder;
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return folder;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

void WriteCase(const std::wstring& folder, const std::string& name, const Case& c,
               std::span<const std::uint8_t> bmp) {
    ASSERT_FALSE(bmp.empty()) << name;
    test::WriteBytes(folder + L"\\" + Wide(name) + L".bmp", bmp);
    const std::string payload = c.payload;
    test::WriteBytes(
        folder + L"\\" + Wide(name) + L".txt",
        std::span(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size()));
}

TEST(SymbolDecode, WritesDefaultAndStyledSymbols) {
    const std::wstring folder = OutputFolder();
    test::TempFolder pictures;
    // Dark foreground: deep blues into deep reds; light background: pale
    // yellow into pale cyan; a dark-red logo with a white cross.
    const ui::UniqueBitmap dark = test::MakeBitmap(64, 64, [](int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>(x) << 16 | static_cast<std::uint32_t>(y);
    });
    const ui::UniqueBitmap light = test::MakeBitmap(64, 64, [](int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>(255 - x / 2) << 16 |
               static_cast<std::uint32_t>(230 + y / 3) << 8 |
               static_cast<std::uint32_t>(200 + x / 2);
    });
    const ui::UniqueBitmap logo = test::MakeBitmap(120, 120, [](int x, int y) {
        return (x / 40 == 1 || y / 40 == 1) ? 0xFFFFFFFFu : 0xFF901010u;
    });
    const std::wstring darkPath = pictures.File(L"dark.png");
    const std::wstring lightPath = pictures.File(L"light.png");
    const std::wstring logoPath = pictures.File(L"logo.png");
    test::WriteBytes(darkPath, test::PngBytes(dark.get()));
    test::WriteBytes(lightPath, test::PngBytes(light.get()));
    test::WriteBytes(logoPath, test::PngBytes(logo.get()));

    int written = 0;
    for (const Case& c : kCases) {
        for (const auto& [kind, matrix] :
             {std::pair{"ecd", ComponentMatrixOf(c)}, std::pair{"coarse", CoarseMatrixOf(c)}}) {
            ASSERT_FALSE(matrix.empty()) << c.name;
            for (const int side : {128, 256, 512, 768}) {
                const std::string name =
                    std::string(c.name) + "_" + kind + "_" + std::to_string(side);
                StyleImages images;
                SymbolStyle plain;
                plain.side = side;
                WriteCase(folder, name + "_plain", c,
                          RenderSymbol(matrix, side, side, plain, images));

                ReloadStyleImage(StyleSlot::Foreground, darkPath, side, images);
                ReloadStyleImage(StyleSlot::Background, lightPath, side, images);
                ReloadStyleImage(StyleSlot::Logo, logoPath, side, images);
                SymbolStyle styled;
                styled.side = side;
                styled.foregroundIsPicture = true;
                styled.backgroundIsPicture = true;
                styled.backgroundColor = 0xFEFFF8E0;
                // The logo covers modules; only the highest level has the redundancy for it.
                if (c.level == codec::EcLevel::H) {
                    styled.logoPath = logoPath;
                    styled.logoBorder = LogoBorder::Rounded;
                }
                WriteCase(folder, name + "_styled", c,
                          RenderSymbol(matrix, side, side, styled, images));
                images.ReleaseAll();
                written += 2;
            }
        }
    }
    EXPECT_EQ(written, 80);
}

// The program's starting style puts its logo over the middle of every symbol:
// short payloads, the hardest case, still read at each level that can spare
// the modules, under a logo with no light pixel to help the reader.
TEST(SymbolDecode, WritesShortSymbolsUnderASolidLogo) {
    const std::wstring folder = OutputFolder();
    test::TempFolder pictures;
    const ui::UniqueBitmap solid = test::MakeBitmap(200, 200, [](int, int) { return 0xFF3080A0u; });
    const std::wstring logoPath = pictures.File(L"solid.png");
    test::WriteBytes(logoPath, test::PngBytes(solid.get()));
    for (const codec::EcLevel level : {codec::EcLevel::M, codec::EcLevel::Q, codec::EcLevel::H}) {
        for (const char* payload : {"Kodaro", "TEL:10086", "http://www.taobao.com/"}) {
            for (const int side : {128, 256, 768}) {
                // At 128 pixels a medium-level symbol large enough for the
                // logo has modules under 3 pixels: too fine with it.
                if (level == codec::EcLevel::M && side == 128) {
                    continue;
                }
                StyleImages images;
                ReloadStyleImage(StyleSlot::Logo, logoPath, side, images);
                SymbolStyle style;
                style.side = side;
                style.logoPath = logoPath;
                ASSERT_TRUE(DrawsLogo(style, images));
                const int code = static_cast<int>(level);
                const ModuleMatrix matrix =
                    EncodeSymbol(Utf8ToWide(payload), code, MinimumVersionUnderLogo(code));
                const std::string name = "logo_" + std::to_string(code) + "_" +
                                         std::to_string(side) + "_" +
                                         std::to_string(std::string_view(payload).size());
                WriteCase(folder, name, {name.c_str(), payload, level},
                          RenderSymbol(matrix, side, side, style, images));
                images.ReleaseAll();
            }
        }
    }
}

} // namespace
} // namespace kodaro
