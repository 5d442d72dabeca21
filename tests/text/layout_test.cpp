// Layout: break units and the line-break rule characters, wrapping,
// paging, alignment, indents, ruby and images, with cells 10 pixels square.
#include <gtest/gtest.h>

#include "text/char_code.h"
#include "text/wd_char.h"
#include "text/wd_img.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::PagesText;
using vesk::test::TPageFixture;

namespace {

struct TWrapCase {
    const char* Name;
    const char* Markup;
    int Wrap;
    int PageHeight;
    const char* Rows;
};

// Paging stays on with a page height that holds every row unless a case
// says otherwise.
const TWrapCase kWrapCases[] = {
    {"fits", "あいう", 40, 100, "あいう"},
    {"wraps_full_width", "あいうえお", 40, 100, "あいうえ|お"},
    {"closing_bracket_goes_with_the_character_before", "あいうえ」", 40, 100, "あいう|え」"},
    {"sentence_mark_goes_with_the_character_before", "あいうえ。", 40, 100, "あいう|え。"},
    {"opening_bracket_goes_with_the_character_after", "あいう「え", 40, 100, "あいう|「え"},
    {"opening_bracket_then_closing_mark_stay_together", "あい「え」", 40, 100, "あい|「え」"},
    {"word_is_not_split", "ab cd ef", 40, 100, "ab |cd |ef"},
    {"blank_stays_on_its_row", "abc def", 40, 100, "abc |def"},
    {"word_wider_than_a_row_stays_whole", "abcdef gh", 40, 100, "abcdef |gh"},
    {"no_break_run_wraps_whole", "ああ<NOBR>あいう</NOBR>", 40, 100, "ああ|あいう"},
    {"ruby_run_wraps_whole", "ああ<RUBY VALUE=かんじ>漢字</RUBY>", 30, 100, "ああ|漢字"},
    {"line_break_ends_the_row", "あ<BR>い", 40, 100, "あ⏎|い"},
    {"empty_line", "あ<BR><BR>い", 40, 100, "あ⏎|⏎|い"},
    // The empty line keeps its height beside the filler: い starts at 20.
    {"empty_indented_line", "あ<INDENT>い<BR><BR>う", 40, 25, "あい⏎|_⏎ / _う"},
    {"no_wrap_width_lets_rows_run", "あいうえおか<BR>あ", 0, 100, "あいうえおか⏎|あ"},
    {"page_height_starts_a_page", "あいうえおか", 20, 25, "あい|うえ / おか"},
    {"clear_starts_a_page", "あ<CLEAR>い<BR CLEAR>う", 40, 100, "あ⏎ / い⏎ / う"},
    {"unpaged_rows_run_past_the_page_height", "あいうえおか", 20, -1, "あい|うえ|おか"},
    {"indent_fills_the_rows_after", "あ<INDENT>いうえお<UNDENT>かきくけこ", 40, 100, "あいうえ|_おかき|くけこ"},
    // The unit cannot fit beside the filler on any row: it is placed anyway.
    {"unit_wider_than_indent_room_is_placed", "あ<INDENT>abcdef", 40, 100, "あ|_abcdef"},
};

class LayoutWrap : public testing::TestWithParam<TWrapCase> {};

TEST_P(LayoutWrap, PutsUnitsOnRowsAndRowsOnPages) {
    const TWrapCase& c = GetParam();
    TPageFixture f;
    f.engine.WrapWidth = c.Wrap;
    f.engine.Paging = c.PageHeight >= 0;
    f.engine.PageHeight = c.PageHeight;
    f.Lay(c.Markup);
    EXPECT_EQ(PagesText(f.pages), c.Rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutWrap, testing::ValuesIn(kWrapCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Layout, HalfWidthLettersTakeFullCells) {
    TPageFixture f;
    f.engine.WrapWidth = 100;
    f.Lay("aあb");
    const TWdRow& row = f.Page().Row(0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(row.Child(i)->Left(), 10 * i);
        EXPECT_EQ(row.Child(i)->Width(), 10);
    }
}

TEST(Layout, NoWrapWidthBecomesTheWidestRow) {
    TPageFixture f;
    f.engine.WrapWidth = 0;
    f.Lay("あい<BR><DIV ALIGN=RIGHT>あいうえ</DIV><BR><DIV ALIGN=CENTER>あ</DIV>");
    EXPECT_EQ(f.engine.WrapWidth, 40);
    EXPECT_EQ(f.Page().Width(), 40);
    EXPECT_EQ(f.Page().Row(1).Child(0)->Left(), 0);
    EXPECT_EQ(f.Page().Row(2).Child(0)->Left(), 15);
}

struct TGeometryCase {
    const char* Name;
    const char* Markup;
    // Row 0: its height, then each glyph that shows as x,y w×h.
    const char* Expected;
};

std::string RowGeometry(const TWdRow& row) {
    std::string out = "h" + std::to_string(row.Height());
    for (int i = 0; i < row.ChildCount(); ++i) {
        const TWdGlyph& g = *row.Child(i);
        if (g.ClassCode() != WD_CHAR && g.ClassCode() != WD_IMG) continue;
        out += " " + std::to_string(g.Left()) + "," + std::to_string(g.Top()) + " " + std::to_string(g.Width()) + "x" +
               std::to_string(g.Height());
    }
    return out;
}

// Images: "tall" is 20 × 30, "wide" 30 × 4; "gone" is missing.
const TGeometryCase kGeometryCases[] = {
    {"left", "あい", "h10 0,0 10x10 10,0 10x10"},
    {"right", "<DIV ALIGN=RIGHT>あい</DIV>", "h10 40,0 10x10 50,0 10x10"},
    {"center", "<DIV ALIGN=CENTER>あい</DIV>", "h10 20,0 10x10 30,0 10x10"},
    {"center_rounds_down", "<DIV ALIGN=CENTER>あ</DIV>", "h10 25,0 10x10"},
    {"sizes_share_the_bottom_edge", "あ<FONT SIZE=20>い</FONT>", "h20 0,10 10x10 10,0 20x20"},
    {"italic_widens_the_cell", "<I>あ</I>い", "h10 0,0 12x10 12,0 10x10"},
    {"ruby_raises_the_cell", "<RUBY VALUE=かな>漢</RUBY>あ", "h15 0,0 10x15 10,5 10x10"},
    {"border_and_shadow_grow_the_cell", "<FONT BORDER=2 SHADOW=3>あ</FONT>い", "h17 0,0 17x17 17,7 10x10"},
    {"bottom_image_rises_above", "あ<IMG SRC=tall ALIGN=BOTTOM>", "h30 0,20 10x10 10,0 20x30"},
    {"top_image_hangs_below", "あ<IMG SRC=tall ALIGN=TOP>", "h30 0,0 10x10 10,0 20x30"},
    {"center_image_spreads_both_ways", "あ<IMG SRC=tall ALIGN=CENTER>", "h30 0,10 10x10 10,0 20x30"},
    {"flat_image_adds_nothing", "あ<IMG SRC=wide ALIGN=CENTER>", "h10 0,0 10x10 10,3 30x4"},
    {"missing_image_is_empty", "あ<IMG SRC=gone>い", "h10 0,0 10x10 10,0 0x0 10,0 10x10"},
};

class LayoutGeometry : public testing::TestWithParam<TGeometryCase> {};

TEST_P(LayoutGeometry, PlacesGlyphsInTheirRow) {
    TPageFixture f;
    f.pictures.Specs["tall"] = {20, 30};
    f.pictures.Specs["wide"] = {30, 4};
    f.engine.WrapWidth = 60;
    f.Lay(GetParam().Markup);
    EXPECT_EQ(RowGeometry(f.Page().Row(0)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayoutGeometry, testing::ValuesIn(kGeometryCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Layout, RowsStackWithLineSpacingAndThePageIsAsHighAsItsRows) {
    TPageFixture f;
    f.engine.WrapWidth = 20;
    f.engine.LineSpacing = 3;
    f.engine.PageHeight = 100;
    f.Lay("あい<BR><FONT SIZE=20>う</FONT><BR><BR>お");
    TWdPage& page = f.Page();
    ASSERT_EQ(page.RowCount(), 4);
    EXPECT_EQ(page.Row(1).Top(), 13);
    EXPECT_EQ(page.Row(2).Top(), 13 + 20 + 3);
    EXPECT_EQ(page.Row(2).Height(), 10);  // an empty line is as high as default text
    EXPECT_EQ(page.Row(3).Top(), 36 + 10 + 3);
    EXPECT_EQ(page.Height(), 59);
}

TEST(Layout, AlignmentAppliesToTheRowUntilItShowsSomething) {
    TPageFixture f;
    f.engine.WrapWidth = 40;
    f.Lay("<DIV ALIGN=RIGHT>あ<DIV ALIGN=CENTER>い<BR>う");
    EXPECT_EQ(f.Page().Row(0).Align(), HA_RIGHT);
    EXPECT_EQ(f.Page().Row(1).Align(), HA_CENTER);
}

TEST(Layout, RowRestartedOnANewPageKeepsItsIndent) {
    TPageFixture f;
    f.engine.WrapWidth = 30;
    f.engine.PageHeight = 20;
    f.Lay("あ<INDENT>いうえおかき");
    EXPECT_EQ(PagesText(f.pages), "あいう|_えお / _かき");
    EXPECT_EQ(f.Page(1).Row(0).Top(), 0);
    EXPECT_EQ(f.Page(1).Row(0).Child(1)->Left(), 10);
}

TEST(Layout, LaysOutUpToATextPosition) {
    TPageFixture f;
    f.engine.WrapWidth = 100;
    f.Lay("あいうえお");
    f.pages.clear();
    f.engine.Layout(f.pages, 1, 3);
    EXPECT_EQ(PagesText(f.pages), "いうえ");
}

TEST(Layout, FloatingImageNarrowsItsRow) {
    TPageFixture f;
    f.pictures.Specs["pic"] = {20, 20};
    f.engine.WrapWidth = 60;
    // Only a stored list gives an image a horizontal alignment.
    f.engine.Append(std::make_unique<TWdImg>(f.engine, "pic", HA_LEFT));
    const std::string text = Utf8ToSjis("あいうえおか");
    for (std::size_t i = 0; i < text.size(); i += 2)
        f.engine.Append(std::make_unique<TWdChar>(f.engine, CharCodeAt(text, i), TDecorateRef{}));
    f.engine.Layout(f.pages);
    TWdPage& page = f.Page();
    EXPECT_EQ(PagesText(f.pages), "[pic]あいうえ|おか");
    EXPECT_EQ(page.Row(0).Child(0)->Left(), 0);
    EXPECT_EQ(page.Row(0).Child(1)->Left(), 20);
    EXPECT_EQ(page.Row(0).Height(), 20);
    EXPECT_EQ(page.Row(1).LeftBound(), 0);
}

TEST(Layout, FreeingPagesLeavesGlyphsWithoutParents) {
    TPageFixture f;
    f.engine.WrapWidth = 100;
    f.Lay("あ<BR>");
    f.pages.clear();
    EXPECT_EQ(f.engine.Glyph(0).Parent(), nullptr);
    EXPECT_EQ(f.engine.Glyph(1).Height(), 0);
}

}  // namespace
