#include "tests/support/bitmap_pixels.h"
#include "ui/draw/defaults.h"
#include "ui/draw/surface.h"
#include "ui/draw/text.h"

#include <gtest/gtest.h>

namespace kodaro::ui {
namespace {

using kodaro::test::Alpha;
using kodaro::test::Pixels;
using kodaro::test::ReadBitmap;

class Text : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitDefaultFont());
        ASSERT_TRUE(surface.Create(200, 60));
    }
    ControlSurface surface;
};

TEST_F(Text, DefaultFontIsTwelvePixelRegular) {
    const Gdiplus::GpFont* font = DefaultFont();
    ASSERT_NE(font, nullptr);
    EXPECT_FALSE(FontFaceOf(font).empty());
    EXPECT_EQ(FontSizeOf(font), kDefaultFontSize);
    EXPECT_EQ(FontStyleOf(font), 0);
    Gdiplus::Unit unit = Gdiplus::UnitWorld;
    gdip::GdipGetFontUnit(const_cast<Gdiplus::GpFont*>(font), &unit);
    EXPECT_EQ(unit, Gdiplus::UnitPixel);
    // Initialising again keeps the same shared font.
    ASSERT_TRUE(InitDefaultFont());
    EXPECT_EQ(DefaultFont(), font);
}

TEST_F(Text, SongTiIsTheFirstDefaultCandidateAndIsUsable) {
    const auto faces = DefaultFontFaces();
    EXPECT_EQ(faces[0], L"宋体");
    EXPECT_FALSE(faces[1].empty());
    EXPECT_NE(faces[1], L"Tahoma");
    // The test runner maps "宋体" to an installed CJK face, so it exists here.
    const UniqueFont font = CreateDefaultFont({L"宋体"});
    ASSERT_NE(font, nullptr);
    RectF bounds;
    ASSERT_TRUE(MeasureText(surface.graphics(), L"二维码", font.get(), MakeRectF(0, 0, 0, 0),
                            nullptr, &bounds));
    EXPECT_GT(bounds.Width, 24.0f);
    DrawTextEffect(surface.graphics(), MakeRectF(0, 0, 200, 60), L"二维码", font.get(), 0xFF000000,
                   nullptr);
    EXPECT_GT(ReadBitmap(surface.bitmap()).CountOpaque(), 30);
}

TEST_F(Text, DefaultFontFallsBackToAGenericFaceWhenNoCandidateExists) {
    const UniqueFont font = CreateDefaultFont({L"Kodaro No Such Face", L"Nor This One"});
    ASSERT_NE(font, nullptr);
    const std::wstring face = FontFaceOf(font.get());
    ASSERT_FALSE(face.empty());
    EXPECT_NE(face, L"Kodaro No Such Face");
    EXPECT_EQ(FontSizeOf(font.get()), kDefaultFontSize);
    // The fallback is a real face: text drawn with it shows.
    DrawTextEffect(surface.graphics(), MakeRectF(0, 0, 200, 60), L"Kodaro", font.get(), 0xFF000000,
                   nullptr);
    EXPECT_GT(ReadBitmap(surface.bitmap()).CountOpaque(), 20);
    // No candidates at all behaves the same.
    EXPECT_NE(CreateDefaultFont({}), nullptr);
}

TEST_F(Text, MissingFaceGivesTheDefaultFaceAtTheRequestedSizeAndStyle) {
    const UniqueFont font = CreateUiFont(L"Kodaro No Such Face", 20, Gdiplus::FontStyleBold);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FontFaceOf(font.get()), FontFaceOf(DefaultFont()));
    EXPECT_EQ(FontSizeOf(font.get()), 20.0f);
    EXPECT_EQ(FontStyleOf(font.get()), Gdiplus::FontStyleBold);
    const UniqueFont empty = CreateUiFont(L"", 9);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(FontFaceOf(empty.get()), FontFaceOf(DefaultFont()));
    EXPECT_EQ(FontFaceOf(nullptr), L"");
}

// CRLF line breaks and blank lines look as they would with plain "\n" and a
// line holding a space: no stray glyph for the "\r", no lost blank line.
TEST_F(Text, CrLfBreaksAndBlankLinesDrawLikePlainLines) {
    const Gdiplus::GpFont* font = DefaultFont();
    ControlSurface plain;
    ASSERT_TRUE(plain.Create(200, 60));
    DrawTextEffect(surface.graphics(), MakeRectF(0, 0, 200, 60), L"ab\r\n\r\ncd", font, 0xFF000000,
                   nullptr);
    DrawTextEffect(plain.graphics(), MakeRectF(0, 0, 200, 60), L"ab\n \ncd", font, 0xFF000000,
                   nullptr);
    const Pixels crlf = ReadBitmap(surface.bitmap());
    EXPECT_EQ(crlf.argb, ReadBitmap(plain.bitmap()).argb);
    // The third line sits two line heights down.
    const int lineHeight = static_cast<int>(FontHeight(surface.graphics(), font));
    int lowest = 0;
    for (int y = 0; y < crlf.height; ++y) {
        for (int x = 0; x < crlf.width; ++x) {
            if (Alpha(crlf.at(x, y)) != 0) {
                lowest = y;
            }
        }
    }
    EXPECT_GT(lowest, 2 * lineHeight);

    RectF withCrLf;
    RectF withLf;
    ASSERT_TRUE(MeasureText(surface.graphics(), L"ab\r\n\r\ncd", font, MakeRectF(0, 0, 0, 0),
                            nullptr, &withCrLf));
    ASSERT_TRUE(MeasureText(surface.graphics(), L"ab\n \ncd", font, MakeRectF(0, 0, 0, 0), nullptr,
                            &withLf));
    EXPECT_EQ(withCrLf.Height, withLf.Height);
    EXPECT_EQ(withCrLf.Width, withLf.Width);
}

TEST_F(Text, MeasuringGrowsWithTextAndWraps) {
    const Gdiplus::GpFont* font = DefaultFont();
    Gdiplus::GpGraphics* g = surface.graphics();
    const float line = FontHeight(g, font);
    EXPECT_GT(line, 11.0f);
    EXPECT_LT(line, 30.0f);
    EXPECT_EQ(FontHeight(g, nullptr), 0.0f);

    RectF shortBox;
    RectF longBox;
    ASSERT_TRUE(MeasureText(g, L"宋体 QR", font, MakeRectF(0, 0, 0, 0), nullptr, &shortBox));
    ASSERT_TRUE(
        MeasureText(g, L"宋体 QR 二维码生成器", font, MakeRectF(0, 0, 0, 0), nullptr, &longBox));
    EXPECT_GT(longBox.Width, shortBox.Width + 30);
    EXPECT_NEAR(shortBox.Height, line, 3.0f);

    RectF wrapped;
    ASSERT_TRUE(
        MeasureText(g, L"宋体 QR 二维码生成器", font, MakeRectF(0, 0, 50, 200), nullptr, &wrapped));
    EXPECT_LE(wrapped.Width, 50.5f);
    EXPECT_GT(wrapped.Height, 1.5f * line);

    RectF unused;
    EXPECT_FALSE(MeasureText(nullptr, L"x", font, MakeRectF(0, 0, 0, 0), nullptr, &unused));
    EXPECT_FALSE(MeasureText(g, L"x", nullptr, MakeRectF(0, 0, 0, 0), nullptr, &unused));
}

TEST(TextFormatTest, PropertiesReadBackWhatWasSet) {
    TextFormat format(Gdiplus::StringFormatFlagsNoWrap, 0);
    ASSERT_TRUE(format);
    EXPECT_EQ(format.Flags(), 4096);
    EXPECT_EQ(format.Align(Gdiplus::StringAlignmentCenter), Gdiplus::StringAlignmentCenter);
    EXPECT_EQ(format.LineAlign(Gdiplus::StringAlignmentFar), Gdiplus::StringAlignmentFar);
    EXPECT_EQ(format.Trimming(Gdiplus::StringTrimmingEllipsisCharacter),
              Gdiplus::StringTrimmingEllipsisCharacter);
    EXPECT_EQ(format.HotkeyPrefix(Gdiplus::HotkeyPrefixShow), Gdiplus::HotkeyPrefixShow);
    EXPECT_EQ(format.Flags(27648), 27648);
    // Reading changes nothing.
    EXPECT_EQ(format.Trimming(), Gdiplus::StringTrimmingEllipsisCharacter);
    EXPECT_EQ(format.Flags(), 27648);
    EXPECT_EQ(format.Align(), Gdiplus::StringAlignmentCenter);

    TextFormat moved = std::move(format);
    EXPECT_FALSE(format);
    EXPECT_EQ(format.Flags(), 0);
    EXPECT_EQ(moved.HotkeyPrefix(), Gdiplus::HotkeyPrefixShow);
    moved.Create(0, 0);
    EXPECT_EQ(moved.Flags(), 0);
    EXPECT_EQ(moved.Trimming(), Gdiplus::StringTrimmingCharacter);

    // A borrowed format survives its wrapper.
    Gdiplus::GpStringFormat* raw = moved.release();
    {
        TextFormat borrowed(raw, false);
        borrowed.Align(Gdiplus::StringAlignmentFar);
    }
    TextFormat owner(raw, true);
    EXPECT_EQ(owner.Align(), Gdiplus::StringAlignmentFar);
}

// Opaque pixels outside rect.
int OpaqueOutside(const Pixels& p, const RectF& rect) {
    int outside = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            outside += Alpha(p.at(x, y)) != 0 &&
                       !PointInRect(rect, static_cast<float>(x), static_cast<float>(y));
        }
    }
    return outside;
}

class Glow : public Text {
protected:
    Pixels Draw(Argb color, int effect, std::optional<Argb> glow = std::nullopt) {
        surface.Clear();
        DrawTextEffect(surface.graphics(), rect, L"QR 二维码", DefaultFont(), color, format.get(),
                       effect, glow);
        return ReadBitmap(surface.bitmap());
    }
    // Pixels the halo added around the glyphs: opaque here, transparent in plain.
    static std::vector<std::uint32_t> Ring(const Pixels& plain, const Pixels& glowing) {
        std::vector<std::uint32_t> ring;
        for (std::size_t i = 0; i < plain.argb.size(); ++i) {
            if (Alpha(plain.argb[i]) == 0 && Alpha(glowing.argb[i]) != 0) {
                ring.push_back(glowing.argb[i]);
            }
        }
        return ring;
    }
    const RectF rect = MakeRectF(20, 20, 160, 20);
    TextFormat format;
};

TEST_F(Glow, SoftGlowSurroundsTheGlyphsWithinTheGrownRectangle) {
    const Pixels plain = Draw(0xFF000000, kTextEffectNone);
    EXPECT_EQ(OpaqueOutside(plain, rect), 0);
    EXPECT_GT(plain.CountOpaque(), 20);

    const Pixels soft = Draw(0xFF000000, kTextEffectGlow);
    EXPECT_GT(Ring(plain, soft).size(), 100u);
    EXPECT_EQ(OpaqueOutside(soft, GrowRect(rect, -4, -4, 7, 7)), 0);

    // The sharp halo lies right under the glyphs: it only lightens their edges.
    const Pixels sharp = Draw(0xFF000000, kTextEffectSharpGlow);
    EXPECT_EQ(OpaqueOutside(sharp, GrowRect(rect, -4, -4, 7, 7)), 0);
    EXPECT_LT(Ring(plain, sharp).size(), Ring(plain, soft).size());
    EXPECT_NE(sharp.argb, plain.argb);

    // Unknown effects draw no halo.
    EXPECT_EQ(Draw(0xFF000000, 7).argb, plain.argb);
}

TEST_F(Text, TextRectangleIsSnappedToWholePixels) {
    DrawTextEffect(surface.graphics(), MakeRectF(10.7f, 5.6f, 120.9f, 30.5f), L"QR 二维码",
                   DefaultFont(), 0xFF000000, nullptr, kTextEffectGlow);
    const Pixels fractional = ReadBitmap(surface.bitmap());
    surface.Clear();
    DrawTextEffect(surface.graphics(), MakeRectF(10, 5, 120, 30), L"QR 二维码", DefaultFont(),
                   0xFF000000, nullptr, kTextEffectGlow);
    EXPECT_EQ(ReadBitmap(surface.bitmap()).argb, fractional.argb);
}

TEST_F(Glow, HaloColorFollowsTheTextColorUnlessGiven) {
    struct Case {
        Argb text;
        std::optional<Argb> glow;
        std::uint32_t haloRgb;
        int maxAlpha;
    } cases[] = {{0xFF000000, std::nullopt, 0xFFFFFF, 85},
                 {0xFFFFFFFF, std::nullopt, 0x000000, 75},
                 {0xFFFFFFFF, 0xFFFF0000, 0xFF0000, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.text);
        const auto ring =
            Ring(Draw(c.text, kTextEffectNone), Draw(c.text, kTextEffectGlow, c.glow));
        ASSERT_GT(ring.size(), 100u);
        int wrong = 0;
        int strongest = 0;
        for (std::uint32_t pixel : ring) {
            wrong += (pixel & 0x00FFFFFF) != c.haloRgb;
            strongest = std::max<int>(strongest, Alpha(pixel));
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_LE(strongest, c.maxAlpha);
        EXPECT_GT(strongest, c.maxAlpha / 4);
    }
}

} // namespace
} // namespace kodaro::ui
