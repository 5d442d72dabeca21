// Tag parsing and what every tag does to the glyph list and to the look of
// the characters after it.
#include <gtest/gtest.h>

#include "common/error.h"
#include "text/char_code.h"
#include "text/line_break_chars.h"
#include "text/markup_tag.h"
#include "text/tag_values.h"
#include "text_fixture.h"

using namespace vesk;
using vesk::test::TEngineFixture;

TEST(MarkupTag, NamesAndAttributes) {
    const TQsTag tag(Utf8ToSjis("<font size = 20 COLOR=\"#FF0000\" NAME='ＭＳ 明朝' BORDER =x SHADOW>"));
    EXPECT_EQ(tag.Name(), "font");
    EXPECT_EQ(tag.Code(), TG_FONT);
    EXPECT_EQ(tag.Value("SIZE"), "20");
    EXPECT_EQ(tag.Value("color"), "#FF0000");
    EXPECT_EQ(SjisToUtf8(tag.Value("Name")), "ＭＳ 明朝");
    EXPECT_EQ(tag.Value("BORDER"), "x");
    ASSERT_TRUE(tag.Has("SHADOW"));
    EXPECT_EQ(tag.Value("SHADOW"), "");
    EXPECT_FALSE(tag.Has("SCOLOR"));
    EXPECT_EQ(tag.IntValue("SIZE", 7), 20);
    EXPECT_EQ(tag.IntValue("BORDER", 7), 7);
    EXPECT_EQ(TQsTag("</Wait>").Code(), TG_WAIT_END);
    EXPECT_EQ(TQsTag("<BR=1>").Name(), "BR");
    EXPECT_EQ(TQsTag("<BLINK>").Code(), TG_NONE);
}

TEST(MarkupTag, Colours) {
    const struct {
        const char* text;
        std::optional<std::int32_t> colour;
    } cases[] = {
        {"#FF0000", 0x0000FF}, {"#00ff80", 0x80FF00}, {"#123456", 0x563412}, {"#FFFFFFFF", 0xFFFFFF},
        {"#FF", 0xFF0000},     {"red", std::nullopt}, {"#", std::nullopt},   {"#GG0000", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTagColour(c.text), c.colour) << c.text;
}

TEST(MarkupTag, EscapesOfLinksAndEvents) {
    EXPECT_EQ(UnescapeTagValue("a\\\"b\\\\c\\nd\\qe"), "a\"b\\c\r\nd\\qe");
    // 0x83 0x5C is one character, not a backslash.
    EXPECT_EQ(UnescapeTagValue("\x83\\n"), "\x83\\n");
}

TEST(MarkupParse, OperationTags) {
    TEngineFixture f;
    const struct {
        const char* markup;
        const char* glyphs;
    } cases[] = {
        {"a<BR>b<BR CLEAR>c<clear>d", "a<BR>b<CLEAR>c<CLEAR>d"},
        {"<DIV ALIGN=RIGHT>a<DIV ALIGN=center>b</DIV>c</DIV>d</DIV>",
         "<ALIGN 2>a<ALIGN 3>b<ALIGN 2>c<ALIGN 1>d<ALIGN 1>"},
        {"<DIV ALIGN=TOP>a<DIV>", "<ALIGN 1>a<ALIGN 1>"},
        {"<INDENT>a<UNDENT>", "<INDENT>a<UNDENT>"},
        {"<EVENT VALUE=\"go\\\"now\\\"\"><EVENT VALUE=x END><EVENT>", "<EVENT go\"now\"><EVENT \x01x><EVENT >"},
        {"<IMG SRC=p.png ALIGN=TOP><IMG SRC=q ALIGN=LEFT><IMG SRC=r ALIGN=center><IMG>",
         "<IMG p.png 4><IMG q 5><IMG r 3>"},
        {"<VAR NAME=x><VAR NAME=\"\"><VAR>", "<VAR x>"},
        {"a<XYZ foo=1>b</XYZ><PRE>c</PRE>", "abc"},
        {"漢字ｶﾅ", "漢字ｶﾅ"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(f.Parse(c.markup), c.glyphs) << c.markup;
    f.Parse("漢a");
    EXPECT_EQ(f.At(0).Code(), 0x8ABF);
    EXPECT_EQ(f.At(1).Code(), 'a');
}

TEST(MarkupParse, FontStacks) {
    TEngineFixture f;
    ASSERT_EQ(f.Parse("<FONT SIZE=20>a</FONT>b"), "ab");
    EXPECT_EQ(f.At(0).Size(), 20);
    EXPECT_EQ(f.At(1).Size(), 0);

    // Each FONT pushes all seven attributes; what it does not give, or
    // gives in a form it cannot read, stays as it was.
    ASSERT_EQ(f.Parse("<FONT SIZE=20 COLOR=#FF0000 NAME=Foo BCOLOR=#010203 SCOLOR=#0000FF>"
                      "<FONT COLOR=red SIZE=big BORDER SHADOW=3>a</FONT>b</FONT>c</FONT>d"),
              "abcd");
    struct Look {
        std::int32_t size, colour, bcolour, scolour;
        const char* font;
        std::int32_t border, shadow;
    };
    const Look looks[] = {
        {20, 0x0000FF, 0x030201, 0xFF0000, "Foo", 1, 3},
        {20, 0x0000FF, 0x030201, 0xFF0000, "Foo", -1, -1},
        {0, -1, -1, -1, "", -1, -1},
        {0, -1, -1, -1, "", -1, -1},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const TDecorate& d = **f.At(i).Decoration();
        EXPECT_EQ(d.Size, looks[i].size);
        EXPECT_EQ(d.Color, looks[i].colour);
        EXPECT_EQ(d.BColor, looks[i].bcolour);
        EXPECT_EQ(d.SColor, looks[i].scolour);
        EXPECT_EQ(d.FontName, looks[i].font);
        EXPECT_EQ(d.Border, looks[i].border);
        EXPECT_EQ(d.Shadow, looks[i].shadow);
    }

    ASSERT_EQ(f.Parse("<FONT BORDER=-3 SHADOW=x>a<FONT BORDER=4>b</FONT></FONT>c"), "abc");
    EXPECT_EQ(f.At(0).Decoration()->Get()->Border, 0);
    EXPECT_EQ(f.At(0).Decoration()->Get()->Shadow, 1);
    EXPECT_EQ(f.At(1).Decoration()->Get()->Border, 4);
    // Negative widths answer the engine's defaults.
    f.engine.DefaultBorderWidth = 2;
    f.engine.DefaultShadowWidth = 5;
    EXPECT_EQ(f.At(2).BorderWidth(), 2);
    EXPECT_EQ(f.At(2).ShadowWidth(), 5);
    EXPECT_EQ(f.At(1).BorderWidth(), 4);
}

TEST(MarkupParse, StylesRubyNoBreakLinksAndWaits) {
    TEngineFixture f;
    f.vars.TextDelay = 30;
    ASSERT_EQ(f.Parse("<B>a<I>b</B><U>c</I><S>d</U></S>e"), "abcde");
    const std::uint8_t styles[] = {FS_BOLD, FS_BOLD | FS_ITALIC, FS_ITALIC | FS_UNDERLINE,
                                   FS_UNDERLINE | FS_STRIKEOUT, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(f.At(i).Style(), styles[i]) << i;

    ASSERT_EQ(f.Parse(R"(<RUBY VALUE="かんじ"><NOBR>漢字</RUBY>x</NOBR>y)"), "漢字xy");
    EXPECT_EQ(SjisToUtf8(f.At(1).Ruby()), "かんじ");
    EXPECT_EQ(f.At(2).Ruby(), "");
    EXPECT_EQ(f.At(2).NoBreak(), 1);
    EXPECT_EQ(f.At(3).NoBreak(), 0);

    ASSERT_EQ(f.Parse(R"(<A HREF="p:\"l\"">a<IMG SRC=i></A>b<WAIT VALUE=5>c<WAIT VALUE=q>d</WAIT></WAIT></WAIT>e)"),
              "a<IMG i 5>bcde");
    EXPECT_EQ(f.At(0).Link(), "p:\"l\"");
    EXPECT_EQ(f.At(1).Link(), "p:\"l\"");
    EXPECT_EQ(f.At(2).Link(), "");
    const std::int32_t waits[] = {30, 30, 30, 5, 5, 30};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f.At(i).Wait(), waits[i]) << i;
}

TEST(MarkupParse, LinkWithoutTargetStopsTheParse) {
    TEngineFixture f;
    try {
        f.Parse("ab<A>cd");
        FAIL() << "no error";
    } catch (const EVeskError& e) {
        EXPECT_EQ(SjisToUtf8(e.what()), "<A>タグにHREF値がありません");
    }
    EXPECT_EQ(vesk::test::Describe(f.engine), "ab");
    // A new parse starts from an empty list.
    EXPECT_EQ(f.Parse("x"), "x");
}

TEST(MarkupParse, CharactersOfOneLookShareADecoration) {
    TEngineFixture f;
    ASSERT_EQ(f.Parse("ab<B>c</B>d<B>e</B>"), "abcde");
    TDecorateList& list = f.engine.Decorations();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(f.At(0).Decoration()->Get(), f.At(3).Decoration()->Get());
    EXPECT_EQ(f.At(2).Decoration()->Get(), f.At(4).Decoration()->Get());
    EXPECT_EQ(list.RefCount(list.IndexOf(*f.At(0).Decoration())), 3);

    // A change to one character moves it to an equal look or a new one;
    // a look nothing uses any more is gone.
    f.At(2).SetStyle(0);
    f.At(4).SetStyle(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.RefCount(0), 5);
    f.At(1).SetColor(0x123456);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(f.At(1).Color(), 0x123456);
    EXPECT_EQ(f.At(0).Color(), -1);

    // Parsing again releases the old glyphs' looks.
    f.Parse("z");
    EXPECT_EQ(list.Count(), 1);
}

TEST(LineBreakChars, BracketsAndMarks) {
    auto code = [](const char* utf8) { return CharCodeAt(Utf8ToSjis(utf8), 0); };
    for (const char* c : {"。", "、", "｣", "」", "』", ")", "）", "､", "｡", "!", "?", "！", "？", "】"}) {
        EXPECT_TRUE(CannotStartLine(code(c))) << c;
        EXPECT_FALSE(CannotEndLine(code(c))) << c;
    }
    for (const char* c : {"｢", "「", "『", "（", "(", "[", "<", "【"}) {
        EXPECT_TRUE(CannotEndLine(code(c))) << c;
        EXPECT_FALSE(CannotStartLine(code(c))) << c;
    }
    for (const char* c : {"a", "あ", " ", "ー"}) {
        EXPECT_FALSE(CannotStartLine(code(c))) << c;
        EXPECT_FALSE(CannotEndLine(code(c))) << c;
    }
}
