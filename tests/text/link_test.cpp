// Links: which glyph a point finds, the run of a link across rows, and
// the hover state that follows the mouse.
#include <gtest/gtest.h>

#include "text/char_look.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::TPageFixture;

namespace {

// Two rows at the origin (100, 50): "あいう" and "えお", the link "x" over
// いうえ, the link "y" over お.
struct TLinkFixture : TPageFixture {
    TLinkFixture() {
        engine.WrapWidth = 30;
        engine.OriginX = 100;
        engine.OriginY = 50;
        Lay("あ<A HREF=x>いうえ</A><A HREF=y>お</A>");
    }
};

TEST(Links, PointsFindTheLinkOfTheirGlyph) {
    TLinkFixture f;
    struct {
        int X, Y;
        const char* Target;
        const char* Text;
    } const cases[] = {
        {105, 55, "", ""},           // あ has no link
        {115, 55, "x", "いうえ"},     // the run goes on into the next row
        {129, 59, "x", "いうえ"},
        {101, 61, "x", "いうえ"},
        {115, 61, "y", "お"},
        {125, 65, "", ""},           // right of the last glyph
        {115, 49, "", ""},           // above the page
        {99, 55, "", ""},
    };
    for (const auto& c : cases) {
        const auto hit = f.Page().LinkAt(c.X, c.Y);
        EXPECT_EQ(hit ? hit->Target : "", c.Target) << c.X << "," << c.Y;
        EXPECT_EQ(hit ? SjisToUtf8(hit->Text) : "", c.Text) << c.X << "," << c.Y;
    }
}

TEST(Links, OnlyFullyRevealedGlyphsAreHit) {
    TLinkFixture f;
    f.Page().Draw(true);
    EXPECT_FALSE(f.Page().LinkAt(115, 55));
    f.engine.Glyph(1).SetAlpha(254);
    EXPECT_FALSE(f.Page().LinkAt(115, 55));
    f.engine.Glyph(1).SetAlpha(255);
    EXPECT_TRUE(f.Page().LinkAt(115, 55));
}

TEST(Links, HoverFollowsThePointAndMarksTheRunDirty) {
    TLinkFixture f;
    TWdPage& page = f.Page();
    auto hovered = [&] {
        std::string out;
        for (int i = 0; i < f.engine.Count(); ++i) out += f.engine.Glyph(i).Hover() ? '1' : '0';
        return out;
    };
    page.SetHoverPoint(115, 55);
    EXPECT_EQ(hovered(), "01110");
    EXPECT_EQ(page.HoverLink(), "x");
    EXPECT_EQ(f.engine.TakeDirtyRects(),
              (std::vector<TRect>{Bounds(110, 50, 10, 10), Bounds(120, 50, 10, 10), Bounds(100, 60, 10, 10)}));
    // Moving within the run changes nothing.
    page.SetHoverPoint(102, 62);
    EXPECT_TRUE(f.engine.TakeDirtyRects().empty());
    page.SetHoverPoint(115, 65);
    EXPECT_EQ(hovered(), "00001");
    EXPECT_EQ(f.engine.TakeDirtyRects().size(), 4u);
    page.SetHoverPoint(-1, -1);
    EXPECT_EQ(hovered(), "00000");
    EXPECT_EQ(page.HoverLink(), "");
}

TEST(Links, TextColourFollowsLinkAndHover) {
    TLinkFixture f;
    f.engine.DefaultColor = 0x111111;
    f.engine.LinkColor = 0x222222;
    f.engine.LinkHoverColor = 0x333333;
    f.Lay("あ<A HREF=x>い<FONT COLOR=#445566>う</FONT></A>");
    EXPECT_EQ(TextColourOf(f.engine.Glyph(0)), 0x111111);
    EXPECT_EQ(TextColourOf(f.engine.Glyph(1)), 0x222222);
    EXPECT_EQ(TextColourOf(f.engine.Glyph(2)), 0x665544);
    f.Page().SetHoverPoint(115, 55);
    EXPECT_EQ(TextColourOf(f.engine.Glyph(0)), 0x111111);
    EXPECT_EQ(TextColourOf(f.engine.Glyph(1)), 0x333333);
    EXPECT_EQ(TextColourOf(f.engine.Glyph(2)), 0x333333);
}

}  // namespace
