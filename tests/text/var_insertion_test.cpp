// Variable insertions: where the value comes from, what it turns into, and
// how expanding and removing keep the list and its text positions.
#include <gtest/gtest.h>

#include "text/wd_var.h"
#include "text_fixture.h"

using namespace vesk;
using vesk::test::Describe;
using vesk::test::TEngineFixture;

TEST(VarInsertion, ValuesFromTheListOrFromEvaluation) {
    TEngineFixture f;
    f.vars.AddNamed(PT_INT, "x").Value().SetInt(42);
    f.vars.AddNamed(PT_STR, "s").Value().SetStr(Utf8ToSjis("甲\t乙\r丙"));
    f.engine.NameValues = {"other=no", "WHO=Taro\x01Jiro", "who=second"};
    const struct {
        const char* expression;
        const char* inserted;
    } cases[] = {
        {"who", "{T}{a}{r}{o}{BR}{J}{i}{r}{o}"},  // the list wins, first match, any case
        {"x", "{4}{2}"},
        {"x * 2 + 1", "{8}{5}"},
        {"s", "{甲}{乙}{BR}{丙}"},  // control characters other than CR are left out
        {"\"a\" ++ x", "{a}{4}{2}"},
        {"x +", ""},          // syntax error
        {"nosuch", ""},       // evaluation error
        {"Nosuch(1)", ""},    // unknown function
        {"x = 7", ""},        // an assignment has no value
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        f.engine.Parse({"[<VAR NAME='" + std::string(c.expression) + "'>]"});
        f.engine.ExpandVars(0, -1);
        EXPECT_EQ(Describe(f.engine), "[<VAR " + std::string(c.expression) + ">" + c.inserted + "]");
    }
    EXPECT_EQ(f.vars.Find("x")->Value().AsInt(), 7);
}

TEST(VarInsertion, InsertedCharactersTakeTheInsertionsLook) {
    TEngineFixture f;
    f.engine.NameValues = {"v=ab"};
    f.vars.TextDelay = 9;
    ASSERT_EQ(f.Parse("<A HREF=l><FONT SIZE=30><VAR NAME=v></FONT></A>c"), "<VAR v>c");
    f.engine.ExpandVars(0, -1);
    ASSERT_EQ(Describe(f.engine), "<VAR v>{a}{b}c");
    EXPECT_EQ(f.At(1).Size(), 30);
    EXPECT_EQ(f.At(1).Link(), "l");
    EXPECT_EQ(f.At(1).Wait(), 9);
    EXPECT_EQ(f.At(1).Decoration()->Get(), f.At(0).Decoration()->Get());
    EXPECT_EQ(f.At(3).Size(), 0);
    // The insertion answers for the decoration it gives.
    f.At(0).SetSize(12);
    f.engine.ExpandVars(0, 0);
    EXPECT_EQ(f.At(1).Size(), 12);
}

TEST(VarInsertion, ExpandAndRemoveKeepTextPositions) {
    TEngineFixture f;
    f.engine.NameValues = {"a=xy", "b=1\x01" "2"};
    ASSERT_EQ(f.Parse("<VAR NAME=a>-<VAR NAME=b>+"), "<VAR a>-<VAR b>+");
    f.engine.ExpandVars(0, -1);
    ASSERT_EQ(Describe(f.engine), "<VAR a>{x}{y}-<VAR b>{1}{BR}{2}+");
    // Inserted glyphs take no text position, so positions still name what
    // the markup wrote.
    EXPECT_EQ(f.engine.TextPositionOf(3), 1);
    EXPECT_EQ(f.engine.TextPositionOf(8), 3);
    // The walk stops at the first glyph where the position is used up,
    // which may be an inserted one.
    EXPECT_EQ(f.engine.GlyphAtTextPosition(0), 0);
    EXPECT_EQ(f.engine.GlyphAtTextPosition(1), 1);
    EXPECT_EQ(f.engine.GlyphAtTextPosition(3), 5);
    EXPECT_EQ(f.engine.GlyphAtTextPosition(4), -1);
    EXPECT_FALSE(f.At(6).ClearFlag());

    // Expanding again replaces, never doubles; a range touches only its own
    // insertions.
    f.engine.NameValues = {"a=z", "b=3"};
    f.engine.ExpandVars(4, 4);
    EXPECT_EQ(Describe(f.engine), "<VAR a>{x}{y}-<VAR b>{3}+");
    f.engine.ExpandVars(0, -1);
    EXPECT_EQ(Describe(f.engine), "<VAR a>{z}-<VAR b>{3}+");
    f.engine.RemoveVars(2, 2);
    EXPECT_EQ(Describe(f.engine), "<VAR a>{z}-<VAR b>{3}+");
    f.engine.RemoveVars(3, 3);
    EXPECT_EQ(Describe(f.engine), "<VAR a>{z}-<VAR b>+");
    f.engine.RemoveVars(0, -1);
    EXPECT_EQ(Describe(f.engine), "<VAR a>-<VAR b>+");
}

TEST(VarInsertion, HistoryLinesOncePerExpression) {
    TEngineFixture f;
    f.engine.NameValues = {"n=A\x01" "B"};
    f.vars.AddNamed(PT_INT, "k").Value().SetInt(5);
    f.Parse("<VAR NAME=n><VAR NAME=k><VAR NAME=N>");
    f.engine.ExpandVars(0, -1);
    std::vector<std::string> lines = {"k=old"};
    for (int i = 0; i < f.engine.Count(); ++i) f.At(i).AddVarLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"k=old", "n=A\x01" "B"}));

    // Composites forward to their children.
    vesk::test::TTestComposite row(f.engine);
    for (int i = 0; i < f.engine.Count(); ++i) row.Append(f.At(i));
    std::vector<std::string> fromRow;
    row.AddVarLines(fromRow);
    EXPECT_EQ(fromRow, (std::vector<std::string>{"n=A\x01" "B", "k=5"}));
    row.RemoveAllChildren();
}

TEST(VarInsertion, CopiesBetweenEnginesKeepTheirInsertions) {
    TEngineFixture from, to;
    from.engine.NameValues = {"v=pq"};
    from.Parse("a<FONT SIZE=18><VAR NAME=v>b</FONT><EVENT VALUE=e END><IMG SRC=i ALIGN=TOP><BR CLEAR>");
    from.engine.ExpandVars(0, -1);
    from.At(0).SetAlpha(300);
    to.Parse("z");
    to.engine.AppendCopies(from.engine, 1, 99);
    EXPECT_EQ(Describe(to.engine), "z<VAR v>{p}{q}b<EVENT \x01" "e><IMG i 4><CLEAR>");
    EXPECT_EQ(to.At(4).Size(), 18);
    EXPECT_EQ(to.At(4).Decoration()->List(), &to.engine.Decorations());
    EXPECT_EQ(from.At(0).Alpha(), 255);
    // The copied insertion owns the copied characters: removing it takes them.
    to.engine.RemoveVars(0, -1);
    EXPECT_EQ(Describe(to.engine), "z<VAR v>b<EVENT \x01" "e><IMG i 4><CLEAR>");
    to.engine.AppendCopies(from.engine, -5, 0);
    EXPECT_EQ(to.engine.Count(), 7);
    EXPECT_EQ(to.At(6).Alpha(), 255);  // set alpha clamps
}
