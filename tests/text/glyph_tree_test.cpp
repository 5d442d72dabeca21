// Composites and the glyph accessors that depend on where a glyph lies.
#include <gtest/gtest.h>

#include "text/wd_ops.h"
#include "text_fixture.h"

using namespace vesk;
using vesk::test::TEngineFixture;
using vesk::test::TTestComposite;

namespace {

class TTestPage : public TTestComposite {
public:
    using TTestComposite::TTestComposite;
    const TWdGlyph* Page() const override { return this; }
};

}  // namespace

TEST(GlyphTree, CompositesJoinAndFindTheirChildren) {
    TEngineFixture f;
    ASSERT_EQ(f.Parse("<DIV>ab<BR>c"), "<ALIGN 1>ab<BR>c");
    TTestPage page(f.engine);
    TTestComposite row(f.engine);
    page.Append(row);
    for (int i = 0; i < f.engine.Count(); ++i) row.Append(f.At(i));
    EXPECT_EQ(row.ChildCount(), 5);
    EXPECT_EQ(row.Child(5), nullptr);
    EXPECT_EQ(row.Child(-1), nullptr);
    EXPECT_EQ(row.IndexOf(&f.At(3)), 3);
    EXPECT_EQ(page.Text(), "abc");
    EXPECT_EQ(page.FirstTextGlyph(), &f.At(0));  // alignment glyphs take a position too
    EXPECT_EQ(page.LastTextGlyph(), &f.At(4));

    // The revealed text stops at the first child not yet shown.
    EXPECT_EQ(row.RevealedText(), "ab\r\nc");
    f.At(4).SetAlpha(0);
    EXPECT_EQ(row.RevealedText(), "ab\r\n");
    page.Hide();
    EXPECT_EQ(f.At(1).Alpha(), 0);
    EXPECT_EQ(f.At(0).Alpha(), 255);  // operations have no alpha of their own

    // Places add up through the parents.
    page.SetBounds(100, 50, 0, 0);
    row.SetBounds(3, 20, 0, 0);
    f.At(2).SetBounds(7, 1, 12, 12);
    EXPECT_EQ(f.At(2).X(), 110);
    EXPECT_EQ(f.At(2).Y(), 71);
    EXPECT_EQ(f.At(2).YInPage(), 21);
    EXPECT_EQ(f.At(2).Page(), &page);
    EXPECT_EQ(page.YInPage(), 0);

    row.RemoveChildAt(0);
    EXPECT_EQ(f.At(0).Parent(), nullptr);
    EXPECT_EQ(row.IndexOf(&f.At(0)), -1);
    row.RemoveAllChildren();
    EXPECT_EQ(f.At(1).Parent(), nullptr);
    EXPECT_EQ(row.FirstTextGlyph(), nullptr);

    auto& filler = row.AddOwned(std::make_unique<TWdSpace>(f.engine));
    EXPECT_EQ(filler.TextPositionCount(), 0);
    EXPECT_NE(row.RemoveOwned(&filler), nullptr);
    EXPECT_EQ(row.RemoveOwned(&f.At(0)), nullptr);
}

TEST(GlyphTree, AnEmptyLineIsAsHighAsDefaultText) {
    TEngineFixture f;
    f.Parse("a<BR><BR>");
    f.engine.DefaultSize = 17;
    TTestComposite full(f.engine), empty(f.engine);
    full.Append(f.At(0));
    full.Append(f.At(1));
    empty.Append(f.At(2));
    EXPECT_EQ(f.At(1).Height(), 0);
    EXPECT_EQ(f.At(2).Height(), 17);
    EXPECT_EQ(f.At(2).RevealedText(), "\r\n");
    full.RemoveAllChildren();
    empty.RemoveAllChildren();
}
