// Drawing cached glyphs into page surfaces, on hand-made coverage so every
// byte of the arithmetic is known: centring, plain ink, borders, shadows,
// bands, 16-bit fields and clipping.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "text/fontpixel.h"
#include "text/tag_values.h"

using namespace vesk;

namespace {

struct TGlyphSpec {
    int w = 1, h = 1;
    std::vector<std::uint8_t> coverage{255};
    int height = 1, lb = 0, to = 0, rg = 0, a = 0, b = 0, c = 0;
    std::uint8_t style = 0;
    int underline = 0, strikeTop = 0, strikeSize = 0;
};

std::unique_ptr<TFontPixel> Glyph(const TGlyphSpec& s) {
    auto out = std::make_unique<TFontPixel>();
    TFontPixel& g = *out;
    g.Coverage.SetSize(s.w, s.h, 8);
    for (int i = 0; i < s.w * s.h; ++i) g.Coverage.SetPixel(i % s.w, i / s.w, s.coverage[std::size_t(i)]);
    g.Height = s.height;
    g.LeftBearing = s.lb;
    g.TopOffset = s.to;
    g.RightGap = s.rg;
    g.CharA = s.a;
    g.CharB = s.b;
    g.CharC = s.c;
    g.Style = s.style;
    g.UnderlineSize = s.underline;
    g.StrikeTop = s.strikeTop;
    g.StrikeSize = s.strikeSize;
    return out;
}

// A page of colour and alpha surfaces, 8 × 8, all 0.
struct TPage {
    TDIBX colour, alpha;
    explicit TPage(int bits = 32) : colour(8, 8, bits), alpha(8, 8, 8) {
        colour.Fill(0);
        alpha.Fill(0);
    }
    TPixel C(int x, int y) const { return colour.GetPixel(x, y); }
    TPixel A(int x, int y) const { return alpha.GetPixel(x, y); }
    std::vector<TPixel> AlphaRow(int y) const {
        std::vector<TPixel> out;
        for (int x = 0; x < 8; ++x) out.push_back(A(x, y));
        return out;
    }
    TRect Draw(const TFontPixel& g, const TRect& cell, int border, int shadow, bool next = false, bool previous = false,
               bool clear = false) {
        return g.DrawTo(colour, alpha, clear, kShadow, kBorder, kText, next, previous, shadow, border, cell);
    }
    static constexpr TPixel kText = 0xFF0000, kBorder = 0x0000FF, kShadow = 0x00FF00;
};

using Row = std::vector<TPixel>;

}  // namespace

TEST(FontPixelDraw, EmptyGlyphsAndUnusableSurfacesDrawNothing) {
    TPage page;
    EXPECT_TRUE(page.Draw(TFontPixel{}, Bounds(0, 0, 8, 8), 1, 1).IsEmpty());
    const auto g = Glyph({});
    TDIBX indexed(8, 8, 8), alpha(8, 8, 8), wide(8, 8, 32);
    indexed.Fill(0);
    alpha.Fill(0);
    wide.Fill(0);
    EXPECT_TRUE(g->DrawTo(indexed, alpha, false, 1, 2, 3, false, false, 0, 0, Bounds(0, 0, 8, 8)).IsEmpty());
    EXPECT_TRUE(g->DrawTo(wide, wide, false, 1, 2, 3, false, false, 0, 0, Bounds(0, 0, 8, 8)).IsEmpty());
    EXPECT_EQ(indexed.GetPixel(0, 0), 0u);
    EXPECT_EQ(alpha.GetPixel(0, 0), 0u);
    EXPECT_EQ(wide.GetPixel(0, 0), 0u);
}

TEST(FontPixelDraw, PlainInkKeepsTheStrongerAlpha) {
    const auto g = Glyph({.w = 3, .coverage = {255, 100, 0}, .height = 3, .lb = 1, .to = 2});
    for (const bool clear : {false, true}) {
        SCOPED_TRACE(clear);
        TPage page;
        page.colour.SetPixel(5, 3, 0x111111);
        page.alpha.SetPixel(4, 3, 150);
        EXPECT_EQ(page.Draw(*g, Bounds(2, 1, 6, 6), 0, 0, false, false, clear), Bounds(3, 3, 3, 1));
        EXPECT_EQ(page.C(3, 3), TPage::kText);
        EXPECT_EQ(page.C(4, 3), TPage::kText);
        // Drawing first clears the glyph's box and takes its coverage as it is.
        EXPECT_EQ(page.C(5, 3), clear ? TPage::kText : 0x111111u);
        EXPECT_EQ(page.AlphaRow(3), (Row{0, 0, 0, 255, clear ? 100u : 150u, 0, 0, 0}));
        EXPECT_EQ(page.A(3, 2), 0u);
    }
}

TEST(FontPixelDraw, NarrowGlyphsAreCentredInTheirCell) {
    const struct {
        const char* what;
        int cellWidth, lb, rg, a, b, c;
        int left;  // where the black box lands
    } cases[] = {
        {"by the ABC widths", 10, 0, 0, 1, 2, 7, 2},        // 1.6 rounds to 2
        {"a half rounds to even (down)", 10, 0, 0, 4, 2, 10, 2},  // 2.5
        {"a half rounds to even (up)", 10, 0, 0, 6, 2, 8, 4},     // 3.5
        {"no bearings: the middle", 10, 0, 0, 0, 2, 0, 4},
        {"the left bearing counts once", 10, 1, 0, 1, 2, 7, 2},
        {"bearings filling the room", 10, 5, 3, 1, 2, 7, 5},
        {"a cell narrower than the height", 6, 0, 0, 1, 2, 7, 1},
    };
    for (const auto& k : cases) {
        TPage page;
        const auto g = Glyph({.w = 2, .coverage = {255, 255}, .height = 10, .lb = k.lb, .rg = k.rg, .a = k.a,
                                    .b = k.b, .c = k.c});
        EXPECT_EQ(page.Draw(*g, Bounds(0, 0, k.cellWidth, 8), 0, 0).Left, k.left) << k.what;
        EXPECT_EQ(page.A(k.left, 0), 255u) << k.what;
    }
}

TEST(FontPixelDraw, BorderAccumulatesAroundTheBody) {
    // Full coverage: the eight neighbours take the border, the body the text.
    TPage full;
    EXPECT_EQ(full.Draw(*Glyph({}), Bounds(2, 2, 5, 5), 1, 0), Bounds(2, 2, 3, 3));
    for (int y = 2; y <= 4; ++y)
        for (int x = 2; x <= 4; ++x) {
            EXPECT_EQ(full.A(x, y), 255u);
            EXPECT_EQ(full.C(x, y), x == 3 && y == 3 ? TPage::kText : TPage::kBorder) << x << "," << y;
        }
    EXPECT_EQ(full.A(5, 3), 0u);

    // Half coverage on two pixels: where both dilations meet, the second
    // accumulates over the first (alpha 128 + 128·127/255, weight
    // 128·255/191); the bodies are blended from border to text.
    TPage half;
    half.Draw(*Glyph({.w = 2, .coverage = {128, 128}, .height = 2}), Bounds(2, 2, 6, 6), 1, 0);
    EXPECT_EQ(half.AlphaRow(2), (Row{0, 0, 128, 191, 191, 128, 0, 0}));
    EXPECT_EQ(half.AlphaRow(3), (Row{0, 0, 128, 255, 255, 128, 0, 0}));
    EXPECT_EQ(half.C(2, 2), 0xFEu);   // (255·255) >> 8
    EXPECT_EQ(half.C(3, 2), 0xFDu);   // (170·255 + 85·254) >> 8
    EXPECT_EQ(half.C(3, 3), 0x7F007Eu);  // (128·text + 127·border) >> 8
    EXPECT_EQ(half.C(4, 4), 0xFDu);
}

TEST(FontPixelDraw, ShadowsLieDownRight) {
    TPage page;
    EXPECT_EQ(page.Draw(*Glyph({}), Bounds(0, 0, 6, 6), 0, 2), Bounds(0, 0, 3, 3));
    EXPECT_EQ(page.C(2, 2), TPage::kShadow);
    EXPECT_EQ(page.A(2, 2), 255u);
    EXPECT_EQ(page.C(0, 0), TPage::kText);
    EXPECT_EQ(page.A(1, 1), 0u);

    // A faint glyph: the shadow's alpha is its coverage; the body is
    // accumulated onto nothing at full weight.
    TPage faint;
    faint.Draw(*Glyph({.coverage = {100}}), Bounds(0, 0, 6, 6), 0, 2);
    EXPECT_EQ(faint.A(2, 2), 100u);
    EXPECT_EQ(faint.A(0, 0), 100u);
    EXPECT_EQ(faint.C(0, 0), 0xFE0000u);

    // With a border the shadow is the dilated outline, drawn first.
    TPage both;
    EXPECT_EQ(both.Draw(*Glyph({}), Bounds(0, 0, 8, 8), 1, 2), Bounds(0, 0, 5, 5));
    EXPECT_EQ(both.C(4, 4), TPage::kShadow);
    EXPECT_EQ(both.C(2, 3), TPage::kShadow);
    // The ring leaves its own centre out; in a real glyph the rings of the
    // neighbouring pixels cover it.
    EXPECT_EQ(both.A(3, 3), 0u);
    EXPECT_EQ(both.C(1, 1), TPage::kText);
    EXPECT_EQ(both.C(2, 2), TPage::kBorder);
}

TEST(FontPixelDraw, UnderlineAndStrikeBandsJoinEqualNeighbours) {
    const TGlyphSpec lined{.height = 4, .style = FS_UNDERLINE | FS_STRIKEOUT, .underline = 1, .strikeTop = 1,
                           .strikeSize = 1};
    TPage plain;
    EXPECT_EQ(plain.Draw(*Glyph(lined), Bounds(0, 0, 8, 8), 0, 0), Bounds(0, 0, 8, 8));
    EXPECT_EQ(plain.AlphaRow(7), Row(8, 255));
    EXPECT_EQ(plain.AlphaRow(1), Row(8, 255));
    EXPECT_EQ(plain.C(3, 7), 0u);  // plain bands only mark the alpha
    EXPECT_EQ(plain.AlphaRow(6), Row(8, 0));

    TGlyphSpec under = lined;
    under.style = FS_UNDERLINE;
    const struct {
        bool next, previous;
        Row shadowBand, underlineBand;
    } cases[] = {
        {false, false, Row(8, 255), Row(8, 255)},
        {true, true, Row{0, 0, 255, 255, 255, 255, 255, 255}, Row{255, 255, 255, 255, 255, 255, 0, 0}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.previous);
        TPage page;
        page.Draw(*Glyph(under), Bounds(0, 0, 8, 8), 0, 2, k.next, k.previous);
        EXPECT_EQ(page.AlphaRow(7), k.shadowBand);    // shadow band: T + CH − US
        EXPECT_EQ(page.AlphaRow(5), k.underlineBand);  // underline: T + CH − d − US
        EXPECT_EQ(page.C(7, 7), TPage::kShadow);
        EXPECT_EQ(page.C(0, 5), TPage::kText);
    }

    // A bordered underline has border bands above and below it.
    TPage bordered;
    bordered.Draw(*Glyph(under), Bounds(0, 0, 8, 8), 1, 0);
    EXPECT_EQ(bordered.C(5, 6), TPage::kText);
    EXPECT_EQ(bordered.C(5, 5), TPage::kBorder);
    EXPECT_EQ(bordered.C(5, 7), TPage::kBorder);
}

TEST(FontPixelDraw, SixteenBitFieldsBlendMasked) {
    // Native 5-6-5 colours: border red 0xF800, text blue 0x001F.
    TPage page565(16);
    const auto g = Glyph({.coverage = {128}});
    g->DrawTo(page565.colour, page565.alpha, false, 0, 0xF800, 0x001F, false, false, 0, 1, Bounds(2, 2, 4, 4));
    EXPECT_EQ(page565.C(2, 2), 0xF000u);  // (255·0xF800) >> 8 masked
    EXPECT_EQ(page565.C(3, 3), 0x780Fu);  // red (127·0xF800) >> 8, blue (128·0x1F) >> 8
    EXPECT_EQ(page565.A(3, 3), 255u);
}

TEST(FontPixelDraw, WritesStayInsideTheColourClip) {
    TPage page;
    page.colour.ClipRect = MakeRect(0, 0, 3, 8);
    page.Draw(*Glyph({}), Bounds(2, 2, 5, 5), 1, 0);
    EXPECT_EQ(page.AlphaRow(3), (Row{0, 0, 255, 0, 0, 0, 0, 0}));
    EXPECT_EQ(page.C(2, 3), TPage::kBorder);
    EXPECT_EQ(page.C(3, 3), 0u);
}

TEST(FontPixelDraw, HugeOutlinesAreDrawnAtTheWidestWidth) {
    const auto g = Glyph({.w = 2, .h = 2, .coverage = {255, 90, 30, 255}, .height = 2});
    auto draw = [&](int width, TDIBX& colour, TDIBX& alpha) {
        colour.Fill(0);
        alpha.Fill(0);
        return g->DrawTo(colour, alpha, false, 1, 2, 3, false, false, width, width, Bounds(0, 0, 80, 80));
    };
    TDIBX c1(80, 80, 32), a1(80, 80, 8), c2(80, 80, 32), a2(80, 80, 8);
    EXPECT_EQ(draw(1 << 30, c1, a1), draw(kMaxOutlineWidth, c2, a2));
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(a1.GetPixel(x, y), a2.GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(a1.GetPixel(0, 0), 255u);
}
