// Composition: plain characters tinted from their coverage, outlined ones
// through the page's alpha, images at their strength, all inside the
// page's window.
#include <gtest/gtest.h>

#include "gfx/draw_options.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::TPageFixture;

namespace {

struct TComposeFixture : TPageFixture {
    TDIBX dest{120, 60, 32};
    TComposeFixture() {
        engine.WrapWidth = 100;
        engine.PageHeight = 40;
        engine.OriginX = 10;
        engine.OriginY = 5;
        engine.DefaultSize = 16;
    }
    void Compose() {
        dest.Fill(0);
        Page().Compose(dest);
    }
    // Where the page's alpha surface is full inside the glyph's cell, as a
    // point on dest.
    std::pair<int, int> FullPixel(const TWdGlyph& g) {
        TDIBX& a = engine.Surfaces().Alpha;
        for (int y = g.YInPage(); y < g.YInPage() + g.Height(); ++y)
            for (int x = g.Left(); x < g.Left() + g.Width(); ++x)
                if (a.GetPixel(x, y) == 255) return {engine.OriginX + x, engine.OriginY + y};
        return {-1, -1};
    }
    int InkedPixels() {
        int n = 0;
        for (int y = 0; y < dest.Height(); ++y)
            for (int x = 0; x < dest.Width(); ++x) n += dest.GetPixel(x, y) != 0;
        return n;
    }
};

// What full coverage of a colour over black comes to through the
// surface's own coverage draw.
TPixel FullInk(TPixel colour) {
    TDIBX dest(1, 1, 32), coverage(1, 1, 8);
    dest.Fill(0);
    coverage.Fill(255);
    dest.DrawCoverage(0, 0, 255, colour, false, false, coverage.BoundsRect(), coverage);
    return dest.GetPixel(0, 0);
}

TEST(Compose, PlainCharactersTakeTheirColourAtCompositionTime) {
    TComposeFixture f;
    f.engine.LinkColor = 0x0000FF;       // red
    f.engine.LinkHoverColor = 0x00FF00;  // green
    f.Lay("<A HREF=x>漢</A>");
    f.Compose();
    const auto [x, y] = f.FullPixel(f.engine.Glyph(0));
    ASSERT_GE(x, 0);
    EXPECT_EQ(f.dest.GetPixel(x, y), FullInk(0xFF0000));
    f.Page().SetHoverPoint(x, y);
    f.Compose();
    EXPECT_EQ(f.dest.GetPixel(x, y), FullInk(0x00FF00));
}

TEST(Compose, OutlinedCharactersShowThePageColours) {
    TComposeFixture f;
    f.Lay("<FONT BORDER=1 BCOLOR=#0000FF COLOR=#FF0000>漢</FONT>");
    f.Compose();
    const TWdGlyph& g = f.engine.Glyph(0);
    TDIBX& colour = f.engine.Surfaces().Colour;
    TDIBX& alpha = f.engine.Surfaces().Alpha;
    int border = 0, text = 0;
    for (int y = 0; y < g.Height(); ++y)
        for (int x = 0; x < g.Width(); ++x) {
            if (alpha.GetPixel(x, y) != 255) continue;
            const TPixel p = f.dest.GetPixel(10 + x, 5 + y);
            EXPECT_EQ(p, colour.GetPixel(x, y));
            border += p == 0x0000FF;
            text += p == 0xFF0000;
        }
    EXPECT_GT(border, 0);
    EXPECT_GT(text, 0);
}

TEST(Compose, HiddenGlyphsAndRowsOutsideTheWindowShowNothing) {
    TComposeFixture f;
    f.engine.WrapWidth = 32;
    f.engine.Paging = false;
    f.engine.PageHeight = 16;
    f.Lay("漢字漢字");
    f.Compose();
    // Only the first row lies in the window.
    for (int y = 0; y < f.dest.Height(); ++y)
        for (int x = 0; x < f.dest.Width(); ++x)
            if (f.dest.GetPixel(x, y) != 0) {
                EXPECT_GE(y, 5);
                EXPECT_LT(y, 21);
            }
    const int firstRow = f.InkedPixels();
    EXPECT_GT(firstRow, 0);
    f.Page().Scroll = 16;
    f.Compose();
    EXPECT_GT(f.InkedPixels(), 0);
    f.Page().Hide();
    f.Compose();
    EXPECT_EQ(f.InkedPixels(), 0);
}

TEST(Compose, ImagesDrawAtTheirStrength) {
    struct {
        int GlyphAlpha;
        std::int32_t ImageAlpha;
        std::int32_t Strength;  // what the draw is made with
    } const cases[] = {{255, 255, 255}, {200, 255, 200}, {200, 128, 100}, {255, 64, 63},
                       {200, 300, 290}, {255, 511, 510}, {0, 255, 0}};
    for (const auto& c : cases) {
        TComposeFixture f;
        f.pictures.Specs["pic"] = {4, 4, {0x806040}};
        f.Lay("<IMG SRC=pic>");
        f.engine.ImageAlpha = c.ImageAlpha;
        f.engine.Glyph(0).SetAlpha(c.GlyphAlpha);
        TDIBX expected(120, 60, 32), source(4, 4, 32);
        expected.Fill(0x101010);
        source.Fill(0x806040);
        TDrawOptions o;
        o.Alpha = c.Strength;
        DrawSurface(expected, 10, 5, source, source.BoundsRect(), o);
        f.dest.Fill(0x101010);
        f.Page().Compose(f.dest);
        EXPECT_EQ(f.dest.GetPixel(11, 6), expected.GetPixel(11, 6)) << c.GlyphAlpha << " " << c.ImageAlpha;
    }
}

TEST(Compose, ADeeperScreenRedrawsThePage) {
    TComposeFixture f;
    f.Lay("漢");
    f.Compose();
    EXPECT_EQ(f.engine.Surfaces().Colour.BitCount(), 32);
    TDIBX dest16(120, 60, 16);
    dest16.Fill(0);
    f.Page().Compose(dest16);
    EXPECT_EQ(f.engine.SurfaceBitCount, 16);
    EXPECT_EQ(f.engine.Surfaces().Colour.BitCount(), 16);
}

}  // namespace

namespace {

TEST(Compose, ReleasedSurfacesAreMadeAgainAtTheNextComposition) {
    TComposeFixture f;
    f.Lay("漢");
    f.Compose();
    const int inked = f.InkedPixels();
    f.engine.ReleaseSurfaces();
    EXPECT_EQ(f.engine.Surfaces().Colour.Width(), 0);
    EXPECT_EQ(f.engine.Surfaces().Holder, nullptr);
    f.engine.ReloadSurfaces();
    f.Compose();
    EXPECT_EQ(f.engine.Surfaces().Holder, &f.Page());
    EXPECT_EQ(f.InkedPixels(), inked);
}

}  // namespace
