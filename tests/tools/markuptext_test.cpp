#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream.h"
#include "text/qsword.h"
#include "tools/markuptext.h"

namespace vesk::tool {
namespace {

std::vector<std::string> Sjis(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const std::string& l : utf8) out.push_back(Utf8ToSjis(l));
    return out;
}

std::string Saved(const TQsWord& engine) {
    TMemoryStream s;
    engine.SaveToStream(s);
    return s.AsString();
}

// Markup builds a stored list; the list is written back as markup in the
// canonical form, which builds the same bytes.
TEST(MarkupText, StoredListsComeBackAsMarkupThatBuildsThemAgain) {
    struct Case {
        std::vector<std::string> markup;
        std::vector<std::string> dumped;  // empty: the same as markup
    } const cases[] = {
        {{"こんにちは、世界。"}, {}},
        {{""}, {}},
        // Ruby, one reading per character.
        {{"<RUBY VALUE=\"かん\">漢</RUBY><RUBY VALUE=\"じ\">字</RUBY>です"},
         {"<RUBY VALUE=\"かん\">漢<RUBY VALUE=\"じ\">字</RUBY>です"}},
        // FONT: one open at a time, each from the defaults.
        {{"<FONT SIZE=20 COLOR=#FF0000>赤</FONT>黒"}, {}},
        {{"<FONT SIZE=20>a<FONT COLOR=#00ff00>b</FONT>c</FONT>"},
         {"<FONT SIZE=20>a</FONT><FONT SIZE=20 COLOR=#00FF00>b</FONT><FONT SIZE=20>c</FONT>"}},
        {{"<FONT NAME=\"ＭＳ 明朝\" BORDER=2 SHADOW BCOLOR=#000000 SCOLOR=#808080>影</FONT>"},
         {"<FONT BCOLOR=#000000 SCOLOR=#808080 NAME=\"ＭＳ 明朝\" BORDER=2 SHADOW=1>影</FONT>"}},
        {{"<FONT COLOR=red SIZE=-3>x</FONT>"}, {"<FONT SIZE=-3>x</FONT>"}},  // a colour name keeps the default
        // Links, with the escapes of their targets.
        {{"<A HREF=\"menu.vks:yes\">はい</A>／<A HREF=\"menu.vks:no\">いいえ</A>"}, {}},
        {{"<A HREF=\"say \\\"hi\\\" \\\\ \\n\">x</A>"}, {}},
        // Variable insertions take the state around them.
        {{"名前：<VAR NAME=\"name\">さん"}, {}},
        {{"<A HREF=\"p\"><B><VAR NAME='name ++ \"様\"'></B></A>"}, {}},
        // Styles close innermost first.
        {{"<B>太<I>斜</I></B><U>下</U><S>消</S>"}, {}},
        {{"<I>a<B>b</I>c</B>"}, {}},
        // Layout glyphs; a line break ends its markup line.
        {{"<DIV ALIGN=CENTER>中央</DIV>左<BR>次<CLEAR>頁<BR CLEAR>"},
         {"<DIV ALIGN=CENTER>中央</DIV>左<BR>", "次<CLEAR>", "頁<CLEAR>", ""}},
        {{"<DIV ALIGN=RIGHT><DIV ALIGN=CENTER>c</DIV>r</DIV><DIV ALIGN=LEFT>l"},
         {"<DIV ALIGN=RIGHT><DIV ALIGN=CENTER>c</DIV>r</DIV><DIV ALIGN=LEFT>l"}},
        {{"<INDENT>「字下げ<UNDENT>」"}, {}},
        {{"<EVENT VALUE=\"face smile\">笑<EVENT VALUE=\"done\" END>"}, {}},
        {{"<IMG SRC=\"icon\\heart.png\" ALIGN=TOP><IMG SRC=\"a.png\"><IMG SRC=\"b.png\" ALIGN=CENTER>"}, {}},
        {{"<WAIT VALUE=100>ゆっくり</WAIT>速く<NOBR>改行なし</NOBR>"}, {}},
        // Characters the markup treats specially, and blanks.
        {{"a\\<b \\\\ c\\>"}, {}},
        {{"\"quoted <text>\""}, {"\\\"quoted \\<text\\>\\\""}},
        {{"<PRE>a\tb</PRE>"}, {"a \\ \\ \\ \\ \\ \\ \\ b"}},  // a tab in PRE: eight blanks
        {{"一行目", "二行目"}, {"一行目 二行目"}},
        {{"<UNKNOWN>消える<!-- comment -->"}, {"消える"}},
    };
    for (const Case& c : cases) {
        const std::string stored = MarkupToStoredList(Sjis(c.markup));
        const std::optional<std::vector<std::string>> dumped = StoredListToMarkup(stored);
        ASSERT_TRUE(dumped.has_value()) << c.markup[0];
        EXPECT_EQ(*dumped, Sjis(c.dumped.empty() ? c.markup : c.dumped)) << c.markup[0];
        EXPECT_EQ(MarkupToStoredList(*dumped), stored) << c.markup[0];
    }
}

TEST(MarkupText, MarkupIsParsedByTheEngine) {
    const std::string stored = MarkupToStoredList(Sjis({"<FONT COLOR=#FF0000><A HREF=\"l\">赤</A></FONT>"}));
    TQsWord engine;
    TConstMemoryStream s(stored.data(), static_cast<std::int64_t>(stored.size()));
    engine.AppendFromStream(s);
    ASSERT_EQ(engine.Count(), 1);
    EXPECT_EQ(engine.Glyph(0).Text(), Utf8ToSjis("赤"));
    EXPECT_EQ(engine.Glyph(0).Color(), 0x0000FF);
    EXPECT_EQ(engine.Glyph(0).Link(), "l");
    EXPECT_THROW(MarkupToStoredList(Sjis({"<A>no target</A>"})), EVeskError);
}

// Lists that no markup gives have no markup form.
TEST(MarkupText, ListsNoMarkupGivesHaveNoMarkupForm) {
    TQsWord engine;
    engine.Parse(Sjis({"ab"}));
    const std::string good = Saved(engine);

    std::vector<std::pair<const char*, std::string>> cases = {
        {"damaged", Utf8ToSjis("こんにちは")},
        {"cut short", good.substr(0, good.size() - 1)},
        {"bytes after the list", good + "x"},
    };
    // A list without header is of version 0, whose decorations have a
    // one-byte border: read, it is written back in the newest form.
    std::string old = std::string("\x01\0\0\0", 4) + std::string("\x01\0\0\0", 4) +
                      std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\0\0\0\0", 12) + std::string("\0\0\0", 3) +
                      std::string(8, '\0') + std::string("\x01\0\0\0", 4) + "\x01" + std::string(4, '\0') +
                      std::string(4, '\0') + "a" + std::string(1, '\0') + std::string(4, '\0');
    cases.emplace_back("old version", old);
    {
        TQsWord e;
        e.Parse(Sjis({"ab"}));
        e.Glyph(0).SetColor(0x01000000);  // a byte no colour tag writes
        cases.emplace_back("colour", Saved(e));
    }
    {
        TQsWord e;
        e.Parse(Sjis({"ab"}));
        e.Glyph(1).SetCode('\n');  // a line end cannot stand inside a line
        cases.emplace_back("line end", Saved(e));
    }
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(StoredListToMarkup(bytes).has_value()) << what;
}

}  // namespace
}  // namespace vesk::tool
