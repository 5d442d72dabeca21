#include "values/param_collection.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"

using namespace vesk;

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EVeskError& e) {
        return e.what();
    }
    return "(no error)";
}

// Initial values for declarations, kept alive for the whole statement.
const TCustomParam& IntValue(std::int32_t v) {
    static std::vector<std::unique_ptr<TParamInt>> keep;
    keep.push_back(std::make_unique<TParamInt>());
    keep.back()->SetInt(v);
    return *keep.back();
}

const TCustomParam& StrValue(const std::string& s) {
    static std::vector<std::unique_ptr<TParamStr>> keep;
    keep.push_back(std::make_unique<TParamStr>());
    keep.back()->SetStr(s);
    return *keep.back();
}

int UserCount(const TParamCollection& vars) { return vars.Count() - kSystemVariableCount; }

}  // namespace

TEST(ParamCollection, SystemVariablesComeFirst) {
    TParamCollection vars;
    ASSERT_EQ(vars.Count(), 50);
    EXPECT_EQ(vars[0].Name(), "@Result");
    EXPECT_EQ(vars[7].Name(), "@TextDelay");
    EXPECT_EQ(vars[44].Name(), "@Temp");
    EXPECT_EQ(vars[49].Name(), "@IsDebug");
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(TParamCollection::IsSystem(vars[i]));
        EXPECT_EQ(static_cast<TParamSystem&>(vars[i].Value()).Index(), i);
    }
    EXPECT_EQ(vars.Find("@textdelay"), &vars[7]);
    // They are never deleted, reset or saved.
    vars.DeleteItem(vars[3]);
    vars.DeleteOwnedBy(-1);
    vars.ResetVariables();
    EXPECT_EQ(vars.Count(), 50);
    TMemoryStream m;
    vars.SaveGameSection(m);
    m.SetPosition(0);
    EXPECT_EQ(ReadInt32(m), 0);
}

TEST(ParamCollection, SystemFactoryProvidesTheValues) {
    struct TFixed : TParamSystem {
        using TParamSystem::TParamSystem;
        std::uint8_t Kind() const override { return PT_INT; }
        std::int32_t GetIntAt(int) const override { return 100 + Index(); }
    };
    TParamCollection vars([](TParamCollection&, std::uint8_t index) { return std::make_unique<TFixed>(index); });
    EXPECT_EQ(vars.Find("@Sec")->Value().AsInt(), 123);
    auto copy = vars.CopyOf("@Day");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Kind(), PT_INT);
    EXPECT_EQ(copy->AsInt(), 119);
}

TEST(ParamCollection, NamesAreValidated) {
    TParamCollection vars;
    auto& item = vars.AddOfKind(PT_INT);
    const char* bad[] = {"", "a b", "1a", "9", "a\tb"};
    for (const char* name : bad)
        EXPECT_EQ(ErrorOf([&] { item.SetVarName(name); }), "\"" + std::string(name) + Sj("\"：変数名が不正です"));
    item.SetVarName("a1");
    item.SetVarName("_x");
    // A double-byte name whose trail byte is 0x20-free but below 'A' is fine.
    item.SetVarName(Sj("変数"));
    EXPECT_EQ(vars.Find(Sj("変数")), &item);
    EXPECT_EQ(ErrorOf([&] { vars.Declare("0x", PT_INT, VS_GLOBAL, IntValue(1)); }),
              Sj("\"0x\"：変数名が不正です"));
    EXPECT_EQ(UserCount(vars), 1);
}

TEST(ParamCollection, LocalsAreVisibleOnlyAtTheirDepth) {
    TParamCollection vars;
    vars.Declare("v", PT_INT, VS_GLOBAL, IntValue(1));
    vars.CurrentDepth = 1;
    vars.Declare("v", PT_INT, VS_LOCAL, IntValue(2));
    EXPECT_EQ(UserCount(vars), 2);
    EXPECT_EQ(vars.Find("V")->Value().AsInt(), 2);
    for (int depth : {0, 2}) {
        vars.CurrentDepth = depth;
        EXPECT_EQ(vars.Find("v")->Value().AsInt(), 1) << depth;
        EXPECT_EQ(vars.FindForDeclare("v", true), nullptr);
    }
    vars.CurrentDepth = 1;
    EXPECT_EQ(vars.FindForDeclare("v", true)->Value().AsInt(), 2);
    EXPECT_EQ(vars.FindForDeclare("v", false)->Value().AsInt(), 1);
    // A local alone at another depth is not found at all.
    vars.Declare("only", PT_INT, VS_LOCAL, IntValue(3));
    vars.CurrentDepth = 0;
    EXPECT_EQ(vars.Find("only"), nullptr);
}

TEST(ParamCollection, FindReturnsTheOldestOfSeveralNonLocals) {
    // Of several non-locals the last one met on the chain wins, and the
    // chain runs from the newest entry to the oldest.
    TParamCollection vars;
    vars.AddNamed(PT_INT, "dup").Value().SetInt(1);
    vars.AddNamed(PT_INT, "DUP").Value().SetInt(2);
    EXPECT_EQ(vars.Find("dup")->Value().AsInt(), 1);
    EXPECT_EQ(vars.FindForDeclare("dup", false)->Value().AsInt(), 2);
}

TEST(ParamCollection, DeclareScopes) {
    TParamCollection vars;
    vars.CurrentDepth = 3;
    auto& g = vars.Declare("g", PT_INT, VS_GLOBAL, StrValue("$1F"));
    auto& a = vars.Declare("a", PT_STR, VS_AUTO, IntValue(7));
    auto& l = vars.Declare("l", PT_FLOAT, VS_LOCAL, StrValue("1.5"));
    auto& s = vars.Declare("s", PT_BOOL, VS_STATUS, StrValue("TRUE"));
    struct Case { TParamCollectionItem* item; std::int32_t depth; int local; int status; const char* value; };
    const Case cases[] = {
        {&g, -1, 0, 0, "31"}, {&a, 3, 0, 0, "7"}, {&l, 3, 1, 0, "1.5"}, {&s, -1, 0, 1, "TRUE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.item->OwnerDepth, c.depth) << c.item->Name();
        EXPECT_EQ(c.item->IsLocal, c.local) << c.item->Name();
        EXPECT_EQ(c.item->StatusFlag, c.status) << c.item->Name();
        EXPECT_EQ(c.item->Value().AsStr(), c.value) << c.item->Name();
    }
    // Declaring again: a status variable keeps its value; a global takes
    // the initial value again, stored with the declared kind's setter.
    EXPECT_EQ(&vars.Declare("s", PT_BOOL, VS_STATUS, StrValue("FALSE")), &s);
    EXPECT_TRUE(s.Value().AsBool());
    g.Value().SetInt(99);
    EXPECT_EQ(&vars.Declare("g", PT_STR, VS_GLOBAL, StrValue("12abc")), &g);
    EXPECT_EQ(g.Value().Kind(), PT_INT);
    EXPECT_EQ(g.Value().AsInt(), 0);
    EXPECT_EQ(UserCount(vars), 4);
}

TEST(ParamCollection, DeleteOwnedByAndReset) {
    TParamCollection vars;
    vars.Declare("g", PT_INT, VS_GLOBAL, IntValue(1));
    vars.Declare("st", PT_INT, VS_STATUS, IntValue(2));
    vars.CurrentDepth = 1;
    vars.Declare("a1", PT_INT, VS_AUTO, IntValue(3));
    vars.Declare("l1", PT_INT, VS_LOCAL, IntValue(4));
    vars.CurrentDepth = 2;
    vars.Declare("a2", PT_INT, VS_AUTO, IntValue(5));
    vars.DeleteOwnedBy(1);
    EXPECT_EQ(UserCount(vars), 3);
    EXPECT_EQ(vars.Find("a1"), nullptr);
    EXPECT_NE(vars.Find("a2"), nullptr);
    vars.TextDelay = 10;
    vars.Cursor = "hand.cur";
    vars.ResetVariables();
    EXPECT_EQ(UserCount(vars), 1);
    EXPECT_NE(vars.Find("st"), nullptr);
    EXPECT_EQ(vars.TextDelay, 50);
    EXPECT_EQ(vars.Cursor, "");
}

TEST(ParamCollection, CopyOf) {
    TParamCollection vars;
    auto& a = vars.AddNamed(PT_STR, "a");
    a.Value().SetDims({2, 2});
    a.Value().SetStrAt(3, "z");
    auto copy = vars.CopyOf("A");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Kind(), PT_STR);
    EXPECT_EQ(copy->DimCount(), 2);
    EXPECT_EQ(copy->GetStrAt(3), "z");
    a.Value().SetStr("changed");
    EXPECT_EQ(copy->GetStrAt(3), "z");
    EXPECT_EQ(vars.CopyOf("missing"), nullptr);
    vars.AddNamed(PT_NONE, "r");
    EXPECT_EQ(ErrorOf([&] { vars.CopyOf("r"); }), Sj("r:不正な変数です"));
}

namespace {

// Names of the entries of a section, in stream order.
std::vector<std::string> SectionNames(TMemoryStream& m) {
    m.SetPosition(0);
    const std::int32_t n = ReadInt32(m);
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        std::string name;
        TParamCollectionItem::ReadFromStream(m, name);
        names.push_back(name);
    }
    return names;
}

}  // namespace

TEST(ParamCollection, SectionsWriteNewestFirstWithReferencesAfterTargets) {
    TParamCollection vars;
    vars.AddNamed(PT_INT, "t").Value().SetDims({4});
    static_cast<TParamVar&>(vars.AddNamed(PT_NONE, "r").Value()).SetVarName("t");
    vars.AddNamed(PT_STR, "u");
    vars.Declare("st", PT_INT, VS_STATUS, IntValue(1));
    TMemoryStream m;
    vars.SaveGameSection(m);
    EXPECT_EQ(SectionNames(m), (std::vector<std::string>{"u", "t", "r"}));
    TMemoryStream st;
    vars.SaveStatusSection(st);
    EXPECT_EQ(SectionNames(st), (std::vector<std::string>{"st"}));
    EXPECT_EQ(st.Position(), st.Size());
}

TEST(ParamCollection, GameSectionRoundTrip) {
    TParamCollection vars;
    auto& arr = vars.Declare("arr", PT_FLOAT, VS_GLOBAL, IntValue(0));
    arr.Value().SetDims({2, 3});
    arr.Value().SetFloatAt(5, 2.5L);
    vars.CurrentDepth = 2;
    vars.Declare("loc", PT_STR, VS_LOCAL, StrValue("here"));
    vars.CurrentDepth = 0;
    vars.Declare("keep", PT_INT, VS_STATUS, IntValue(8));
    vars.TextDelay = 20;
    vars.Cursor = "c.cur";
    vars.SelStr = "yes";
    vars.SelIndex = 3;
    vars.TempTarget = "arr";
    TMemoryStream m;
    vars.SaveGameSection(m);

    TParamCollection other;
    other.Declare("keep", PT_INT, VS_STATUS, IntValue(1));
    other.Declare("gone", PT_INT, VS_GLOBAL, IntValue(1));
    m.SetPosition(0);
    EXPECT_FALSE(other.LoadGameSection(m, 140).has_value());
    EXPECT_EQ(m.Position(), m.Size());
    EXPECT_EQ(other.Find("gone"), nullptr);
    EXPECT_EQ(other.Find("keep")->Value().AsInt(), 1);
    auto* a = other.Find("arr");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Value().DimSize(1), 3);
    EXPECT_EQ(a->Value().GetFloatAt(5), 2.5L);
    other.CurrentDepth = 2;
    auto* loc = other.Find("loc");
    ASSERT_NE(loc, nullptr);
    EXPECT_EQ(loc->IsLocal, 1);
    EXPECT_EQ(loc->OwnerDepth, 2);
    EXPECT_EQ(other.TextDelay, 20);
    EXPECT_EQ(other.Cursor, "c.cur");
    EXPECT_EQ(other.SelStr, "yes");
    EXPECT_EQ(other.SelIndex, 3);
    EXPECT_EQ(other.TempTarget, "arr");
}

TEST(ParamCollection, GameSectionReadRulesPerVersion) {
    // One integer entry "n" = 4, then the settings each version stored.
    auto build = [](bool sel, bool history, bool temp) {
        TMemoryStream m;
        WriteInt32(m, 2);
        for (const char* name : {"n", ""}) {  // the unnamed entry is dropped
            WriteByte(m, PT_INT);
            WriteString(m, name);
            WriteInt32(m, 0);  // no dimensions
            WriteInt32(m, 1);
            WriteInt32(m, 4);
            WriteByte(m, 0);
            WriteByte(m, 0);
            WriteInt32(m, -1);
            WriteByte(m, 0);
        }
        WriteInt32(m, 33);
        WriteString(m, "cur");
        if (sel) {
            WriteString(m, "picked");
            WriteInt32(m, 5);
        }
        if (history)
            for (int i = 1; i <= 6; ++i) WriteInt32(m, i * 11);
        if (temp) WriteString(m, "n");
        m.SetPosition(0);
        return m;
    };
    struct Case { std::int32_t version; bool sel, history, temp; };
    const Case cases[] = {
        {100, false, false, false}, {102, false, false, false}, {103, true, false, false},
        {112, true, false, false},  {113, true, true, false},   {120, true, true, false},
        {121, true, true, true},    {134, true, true, true},    {135, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TParamCollection vars;
        vars.SelStr = "old";
        TMemoryStream m = build(c.sel, c.history, c.temp);
        const auto history = vars.LoadGameSection(m, c.version);
        EXPECT_EQ(m.Position(), m.Size());
        EXPECT_EQ(UserCount(vars), 1);
        EXPECT_EQ(vars.Find("n")->Value().AsInt(), 4);
        EXPECT_EQ(vars.TextDelay, 33);
        EXPECT_EQ(vars.Cursor, "cur");
        EXPECT_EQ(vars.SelStr, c.sel ? "picked" : "old");
        EXPECT_EQ(vars.SelIndex, c.sel ? 5 : 0);
        ASSERT_EQ(history.has_value(), c.history);
        if (history) {
            EXPECT_EQ((*history)[5], 66);
        }
        EXPECT_EQ(vars.TempTarget, c.temp ? "n" : "");
    }
}

TEST(ParamCollection, DamagedGameSectionChangesNothing) {
    TParamCollection vars;
    vars.Declare("x", PT_INT, VS_GLOBAL, IntValue(1));
    TMemoryStream good;
    vars.SaveGameSection(good);
    std::vector<std::uint8_t> bytes = good.Bytes();
    bytes.resize(bytes.size() - 3);  // cut into the last string
    TMemoryStream damaged(bytes);
    vars.Declare("y", PT_INT, VS_GLOBAL, IntValue(2));
    EXPECT_THROW(vars.LoadGameSection(damaged, 140), EVeskError);
    EXPECT_NE(vars.Find("y"), nullptr);
    EXPECT_EQ(UserCount(vars), 2);
    // An unknown kind byte is refused as well.
    TMemoryStream badKind;
    WriteInt32(badKind, 1);
    WriteByte(badKind, 9);
    for (int i = 0; i < 24; ++i) WriteByte(badKind, 0);
    badKind.SetPosition(0);
    EXPECT_THROW(vars.LoadStatusSection(badKind), EVeskError);
}

TEST(ParamCollection, StatusSectionAddsWithoutDeleting) {
    TParamCollection vars;
    vars.Declare("s1", PT_STR, VS_STATUS, StrValue("a"));
    vars.Declare("g", PT_INT, VS_GLOBAL, IntValue(1));
    TMemoryStream m;
    vars.SaveStatusSection(m);
    TParamCollection fresh;
    fresh.Declare("g", PT_INT, VS_GLOBAL, IntValue(5));
    m.SetPosition(0);
    fresh.LoadStatusSection(m);
    EXPECT_EQ(fresh.Find("g")->Value().AsInt(), 5);
    EXPECT_EQ(fresh.Find("s1")->Value().AsStr(), "a");
    EXPECT_EQ(fresh.Find("s1")->StatusFlag, 1);
}

TEST(ParamCollection, ReferenceEntriesBindAfterLoading) {
    TParamCollection vars;
    auto& t = vars.AddNamed(PT_INT, "t");
    t.Value().SetDims({3});
    t.Value().SetIntAt(2, 42);
    auto& r = vars.AddNamed(PT_NONE, "r");
    auto& ref = static_cast<TParamVar&>(r.Value());
    ref.SetVarName("t");
    ref.SetIndex(2);
    ref.Resolve(vars);
    TMemoryStream m;
    vars.SaveGameSection(m);
    TParamCollection other;
    m.SetPosition(0);
    other.LoadGameSection(m, 140);
    auto* loaded = other.Find("r");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Value().AsInt(), 42);
    EXPECT_EQ(loaded->Value().Kind(), PT_INT);
}
