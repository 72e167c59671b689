#include "app/symbol/svg_export.h"

#include "bench/render/matrix_bitmap.h"
#include "runtime/text.h"
#include "tests/app/symbol/render_test_support.h"

#include <gtest/gtest.h>

#include <wincrypt.h>
#include <xmllite.h>

#include <map>
#include <sstream>

namespace kodaro {
namespace {

struct XmlElement {
    std::wstring name;
    std::map<std::wstring, std::wstring> attributes;
    std::wstring text;
};

// The elements of a document in order, read by the system's XML reader;
// nothing when the reader finds the document not well-formed.
std::optional<std::vector<XmlElement>> ReadXml(const std::string& document) {
    using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    const auto create = reinterpret_cast<CreateReader>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"xmllite.dll"), "CreateXmlReader")));
    IXmlReader* reader = nullptr;
    IStream* stream = nullptr;
    if (create == nullptr ||
        FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader), nullptr)) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        ADD_FAILURE() << "no XML reader";
        return std::nullopt;
    }
    stream->Write(document.data(), static_cast<ULONG>(document.size()), nullptr);
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    std::vector<XmlElement> elements;
    HRESULT result = reader->SetInput(stream);
    XmlNodeType type{};
    while (SUCCEEDED(result) && (result = reader->Read(&type)) == S_OK) {
        const wchar_t* value = nullptr;
        if (type == XmlNodeType_Element) {
            XmlElement element;
            reader->GetLocalName(&value, nullptr);
            element.name = value;
            for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK;
                 more = reader->MoveToNextAttribute()) {
                const wchar_t* name = nullptr;
                reader->GetLocalName(&name, nullptr);
                reader->GetValue(&value, nullptr);
                element.attributes[name] = value;
            }
            elements.push_back(std::move(element));
        } else if (type == XmlNodeType_Text && !elements.empty()) {
            reader->GetValue(&value, nullptr);
            elements.back().text += value;
        }
    }
    reader->Release();
    stream->Release();
    if (FAILED(result)) {
        return std::nullopt;
    }
    return elements;
}

std::vector<const XmlElement*> Named(const std::vector<XmlElement>& elements,
                                     std::wstring_view name) {
    std::vector<const XmlElement*> found;
    for (const XmlElement& element : elements) {
        if (element.name == name) {
            found.push_back(&element);
        }
    }
    return found;
}

// Paints the runs of a path written as "Mx yhNv1h-Nz" sub-paths into a grid.
ModuleGrid PaintRuns(const std::wstring& d, int width, int height) {
    ModuleGrid grid{width, height, std::vector<std::uint8_t>(width * height)};
    std::wistringstream in(d);
    wchar_t m, h, v, back, z;
    int x, y, n, one, n2;
    while (in >> m >> x >> y >> h >> n >> v >> one >> back >> n2 >> z) {
        EXPECT_EQ(std::wstring({m, h, v, back, z}), L"Mhvhz");
        EXPECT_EQ(n2, -n);
        for (int i = 0; i < n; ++i) {
            grid.dark[y * width + x + i] += 1;
        }
    }
    return grid;
}

std::vector<std::uint8_t> FromBase64(const std::wstring& text) {
    DWORD size = 0;
    CryptStringToBinaryW(text.c_str(), 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr);
    std::vector<std::uint8_t> bytes(size);
    CryptStringToBinaryW(text.c_str(), 0, CRYPT_STRING_BASE64, bytes.data(), &size, nullptr,
                         nullptr);
    return bytes;
}

TEST(SvgExport, ModulesQuietZoneColorsAndTitleAsDrawn) {
    // 25 modules of 3 pixels in a quiet zone of 4 modules.
    const std::vector<std::string> pattern = bench::SymbolLikePattern(25, 7);
    const std::optional<ModuleGrid> grid = ReadModuleGrid(bench::MatrixBitmap(pattern, 3, 4));
    ASSERT_TRUE(grid.has_value());
    ASSERT_EQ(grid->width, 33);
    ASSERT_EQ(grid->height, 33);
    for (int y = 0; y < 33; ++y) {
        for (int x = 0; x < 33; ++x) {
            const bool inside = x >= 4 && x < 29 && y >= 4 && y < 29;
            ASSERT_EQ(grid->Dark(x, y), inside && pattern[y - 4][x - 4] == '#') << x << "," << y;
        }
    }
    EXPECT_FALSE(ReadModuleGrid(std::vector<std::uint8_t>{1, 2, 3}).has_value());

    SymbolDrawing drawing;
    drawing.grid = *grid;
    drawing.side = 512;
    drawing.foregroundColor = 0xFE123456;
    drawing.backgroundColor = 0x80ABCDEF;
    drawing.title = L"a<b> & \"c\" ]]> \x01\U0001F600 -- 二维码";
    const std::optional<std::vector<XmlElement>> xml = ReadXml(WriteSymbolSvg(drawing));
    ASSERT_TRUE(xml.has_value());
    const XmlElement& svg = xml->front();
    EXPECT_EQ(svg.name, L"svg");
    EXPECT_EQ(svg.attributes.at(L"viewBox"), L"0 0 33 33");
    EXPECT_EQ(svg.attributes.at(L"width"), L"512");
    EXPECT_EQ(svg.attributes.at(L"shape-rendering"), L"crispEdges");
    ASSERT_EQ(Named(*xml, L"title").size(), 1u);
    EXPECT_EQ(Named(*xml, L"title")[0]->text, L"a<b> & \"c\" ]]> \U0001F600 -- 二维码");

    // The background covers the whole grid, quiet zone included; one path
    // holds every dark module exactly once.
    ASSERT_EQ(Named(*xml, L"rect").size(), 1u);
    const XmlElement& background = *Named(*xml, L"rect")[0];
    EXPECT_EQ(background.attributes.at(L"width"), L"33");
    EXPECT_EQ(background.attributes.at(L"fill"), L"#abcdef");
    EXPECT_EQ(background.attributes.at(L"fill-opacity"), L"0.502");
    ASSERT_EQ(Named(*xml, L"path").size(), 1u);
    const XmlElement& modules = *Named(*xml, L"path")[0];
    EXPECT_EQ(modules.attributes.at(L"fill"), L"#123456");
    EXPECT_EQ(modules.attributes.count(L"fill-opacity"), 0u);
    EXPECT_EQ(PaintRuns(modules.attributes.at(L"d"), 33, 33).dark, grid->dark);
    EXPECT_TRUE(Named(*xml, L"image").empty());
}

TEST(SvgExport, PicturesAndTheLogoAreEmbeddedWhereTheRendererPutsThem) {
    test::TempFolder folder;
    StyleImages images;
    const auto load = [&](StyleSlot slot, const std::wstring& name,
                          std::span<const std::uint8_t> png) {
        const std::wstring path = folder.File(name);
        test::WriteBytes(path, png);
        ReloadStyleImage(slot, path, 256, images);
        return path;
    };
    load(StyleSlot::Foreground, L"fore.png", test::SolidPng(10, 10, 0xFF800000));
    SymbolStyle style;
    style.foregroundIsPicture = true;
    style.logoPath = load(StyleSlot::Logo, L"logo.png", test::SolidPng(40, 20, 0xFF00FF00));
    style.logoBorder = LogoBorder::Rounded;
    const std::vector<std::string> pattern = bench::SymbolLikePattern(21, 3);
    const std::optional<std::string> text =
        MakeSymbolSvg(bench::MatrixBitmap(pattern, 4, 4), style, L"x", images);
    ASSERT_TRUE(text.has_value());
    const std::optional<std::vector<XmlElement>> xml = ReadXml(*text);
    ASSERT_TRUE(xml.has_value());
    EXPECT_NE(text->find("pictures are embedded"), std::string::npos);

    // The foreground picture (stretched to 256 when loaded) fills the dark
    // modules through their clip path; the light ones keep the colour.
    const std::vector<const XmlElement*> pictures = Named(*xml, L"image");
    ASSERT_EQ(pictures.size(), 2u);
    const XmlElement& foreground = *pictures[0];
    EXPECT_EQ(foreground.attributes.at(L"clip-path"), L"url(#dark)");
    EXPECT_EQ(foreground.attributes.at(L"width"), L"29");
    const std::wstring prefix = L"data:image/png;base64,";
    ASSERT_EQ(foreground.attributes.at(L"href").substr(0, prefix.size()), prefix);
    const test::Pixels fore =
        test::DecodePixels(FromBase64(foreground.attributes.at(L"href").substr(prefix.size())));
    EXPECT_EQ(fore.width, 256);
    EXPECT_EQ(fore.at(100, 100), 0xFF800000u);
    const std::vector<const XmlElement*> paths = Named(*xml, L"path");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(Named(*xml, L"clipPath")[0]->attributes.at(L"id"), L"dark");
    EXPECT_EQ(paths[1]->attributes.at(L"fill-rule"), L"evenodd");
    EXPECT_EQ(paths[1]->attributes.at(L"fill"), L"#ffffff");

    // The logo sits centred at its own size, its corners rounded.
    const XmlElement& logo = *pictures[1];
    const double scale = 29.0 / 256;
    EXPECT_NEAR(std::stod(logo.attributes.at(L"width")), 40 * scale, 1e-3);
    EXPECT_NEAR(std::stod(logo.attributes.at(L"x")), 108 * scale, 1e-3);
    EXPECT_NEAR(std::stod(logo.attributes.at(L"y")), 118 * scale, 1e-3);
    EXPECT_EQ(logo.attributes.at(L"clip-path"), L"url(#logo-corners)");

    // Without its file the logo is left out, as the preview leaves it out.
    DeleteFileW(style.logoPath.c_str());
    const std::optional<std::vector<XmlElement>> noLogo =
        ReadXml(*MakeSymbolSvg(bench::MatrixBitmap(pattern, 4, 4), style, L"x", images));
    ASSERT_TRUE(noLogo.has_value());
    EXPECT_EQ(Named(*noLogo, L"image").size(), 1u);
}

TEST(SvgExport, AnyOtherPictureIsHeldWholeAtItsOwnSize) {
    const std::vector<std::uint8_t> png = test::SolidPng(7, 5, 0xFF336699);
    const std::optional<std::string> text = PictureSvg(png);
    ASSERT_TRUE(text.has_value());
    const std::optional<std::vector<XmlElement>> xml = ReadXml(*text);
    ASSERT_TRUE(xml.has_value());
    EXPECT_EQ(xml->front().attributes.at(L"width"), L"7");
    EXPECT_EQ(xml->front().attributes.at(L"viewBox"), L"0 0 7 5");
    ASSERT_EQ(Named(*xml, L"image").size(), 1u);
    const std::wstring href = Named(*xml, L"image")[0]->attributes.at(L"href");
    EXPECT_EQ(test::DecodePixels(FromBase64(href.substr(href.find(L',') + 1))),
              test::DecodePixels(png));
    EXPECT_FALSE(PictureSvg(std::vector<std::uint8_t>{'B', 'M', 0}).has_value());
}

} // namespace
} // namespace kodaro
