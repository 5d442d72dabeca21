#include "values/params.h"

#include <gtest/gtest.h>

#include <climits>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "values/param_collection.h"
#include "values/param_convert.h"

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

std::unique_ptr<TCustomParam> Make(std::uint8_t kind) { return CreateParam(kind); }

}  // namespace

TEST(ParamConvert, RealToTextGeneralFormat) {
    struct Case { Extended x; const char* text; };
    const Case cases[] = {
        {0, "0"},
        {1.5L, "1.5"},
        {-2.5L, "-2.5"},
        {100, "100"},
        {0.1L, "0.1"},
        {0.0001L, "0.0001"},
        {0.00001L, "1E-5"},
        {1.25e-7L, "1.25E-7"},
        {1e15L, "1E15"},
        {999999999999999.0L, "999999999999999"},
        {1.5e20L, "1.5E20"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"},
        {-1e-5L, "-1E-5"},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatToText(c.x), c.text) << c.text;
}

TEST(ParamConvert, IntegerParse) {
    struct Case { const char* text; bool ok; std::int32_t value; };
    const Case cases[] = {
        {"42", true, 42},     {"  42", true, 42},    {"+7", true, 7},
        {"-13", true, -13},   {"$1F", true, 31},     {"0x1f", true, 31},
        {"0X1F", true, 31},   {"-$10", true, -16},   {"$FFFFFFFF", true, -1},
        {"2147483647", true, INT_MAX},               {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},                    {"$100000000", false, 0},
        {"12abc", false, 0},  {"42 ", false, 0},     {"", false, 0},
        {"$", false, 0},      {"-", false, 0},       {"1.5", false, 0},
        {"0x", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t v = 12345;
        EXPECT_EQ(TryParseInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(StrToIntOr0(c.text), c.value) << c.text;
    }
}

TEST(ParamConvert, RealParse) {
    struct Case { const char* text; bool ok; Extended value; };
    const Case cases[] = {
        {"1.5", true, 1.5L},  {" 2.5e3 ", true, 2500}, {"-0.25", true, -0.25L},
        {"1.", true, 1},      {".5", true, 0.5L},      {"1E-2", true, 0.01L},
        {"12abc", false, 0},  {"1e", false, 0},        {"abc", false, 0},
        {"", false, 0},       {"inf", false, 0},       {"nan", false, 0},
        {"0x10", false, 0},   {".", false, 0},
    };
    for (const Case& c : cases) {
        Extended v = 0;
        EXPECT_EQ(TryParseFloat(c.text, v), c.ok) << c.text;
        EXPECT_EQ(StrToFloatOr0(c.text), c.value) << c.text;
    }
}

TEST(ParamConvert, RealToIntegerTruncates) {
    EXPECT_EQ(FloatToInt(2.9L), 2);
    EXPECT_EQ(FloatToInt(-2.9L), -2);
    // Low 32 bits of the 64-bit truncation.
    EXPECT_EQ(FloatToInt(4294967297.5L), 1);
    EXPECT_EQ(FloatToInt(1e30L), 0);
}

// Each row stores one value through the setter of one kind into a value of
// another kind and reads it back in every kind.
TEST(Params, ConversionTable) {
    enum Setter { kInt, kFloat, kBool, kStr };
    struct Case {
        std::uint8_t kind;
        Setter setter;
        std::int32_t i;
        Extended x;
        bool b;
        const char* s;
        std::int32_t asInt;
        Extended asFloat;
        bool asBool;
        const char* asStr;
    };
    const Case cases[] = {
        {PT_INT, kInt, -7, 0, false, "", -7, -7, true, "-7"},
        {PT_INT, kInt, 0, 0, false, "", 0, 0, false, "0"},
        {PT_INT, kFloat, 0, 2.9L, false, "", 2, 2, true, "2"},
        {PT_INT, kFloat, 0, -2.9L, false, "", -2, -2, true, "-2"},
        {PT_INT, kBool, 0, 0, true, "", 1, 1, true, "1"},
        {PT_INT, kStr, 0, 0, false, "$1F", 31, 31, true, "31"},
        {PT_INT, kStr, 0, 0, false, "12abc", 0, 0, false, "0"},
        {PT_FLOAT, kInt, 3, 0, false, "", 3, 3, true, "3"},
        {PT_FLOAT, kFloat, 0, 0.5L, false, "", 0, 0.5L, true, "0.5"},
        {PT_FLOAT, kStr, 0, 0, false, "12abc", 0, 0, false, "0"},
        {PT_FLOAT, kStr, 0, 0, false, "1e-5", 0, 0.00001L, true, "1E-5"},
        {PT_FLOAT, kBool, 0, 0, true, "", 1, 1, true, "1"},
        {PT_BOOL, kInt, 2, 0, false, "", 1, 1, true, "TRUE"},
        {PT_BOOL, kInt, 0, 0, false, "", 0, 0, false, "FALSE"},
        {PT_BOOL, kFloat, 0, 0.1L, false, "", 1, 1, true, "TRUE"},
        {PT_BOOL, kStr, 0, 0, false, "true", 0, 0, false, "FALSE"},
        {PT_BOOL, kStr, 0, 0, false, "TRUE", 1, 1, true, "TRUE"},
        {PT_STR, kBool, 0, 0, true, "", 0, 0, true, "TRUE"},
        {PT_STR, kInt, -5, 0, false, "", -5, -5, false, "-5"},
        {PT_STR, kFloat, 0, 1.5L, false, "", 0, 1.5L, false, "1.5"},
        {PT_STR, kStr, 0, 0, false, "$1F", 31, 0, false, "$1F"},
        {PT_STR, kStr, 0, 0, false, "12abc", 0, 0, false, "12abc"},
        {PT_STR, kStr, 0, 0, false, "TRUE", 0, 0, true, "TRUE"},
    };
    for (const Case& c : cases) {
        auto p = Make(c.kind);
        switch (c.setter) {
            case kInt: p->SetInt(c.i); break;
            case kFloat: p->SetFloat(c.x); break;
            case kBool: p->SetBool(c.b); break;
            case kStr: p->SetStr(c.s); break;
        }
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.asStr);
        EXPECT_EQ(p->Kind(), c.kind);
        EXPECT_EQ(p->AsInt(), c.asInt);
        EXPECT_EQ(p->AsFloat(), c.asFloat);
        EXPECT_EQ(p->AsBool(), c.asBool);
        EXPECT_EQ(p->AsStr(), c.asStr);
    }
}

TEST(Params, KindFactoryAndLabels) {
    EXPECT_NE(dynamic_cast<TParamVar*>(CreateParam(0).get()), nullptr);
    EXPECT_NE(dynamic_cast<TParamInt*>(CreateParam(0x81).get()), nullptr);  // low seven bits
    EXPECT_NE(dynamic_cast<TParamStr*>(CreateParam(4).get()), nullptr);
    EXPECT_EQ(CreateParam(5), nullptr);
    EXPECT_EQ(KindLabel(PT_INT), Sj("整数"));
    EXPECT_EQ(KindLabel(PT_FLOAT), Sj("実数"));
    EXPECT_EQ(KindLabel(PT_BOOL), Sj("フラグ"));
    EXPECT_EQ(KindLabel(PT_STR), Sj("文字列"));
}

TEST(Params, ScalarSetterDropsDimensions) {
    for (std::uint8_t kind = PT_INT; kind <= PT_STR; ++kind) {
        auto p = Make(kind);
        p->SetDims({3});
        p->SetIntAt(1, 1);
        EXPECT_EQ(p->Count(), 3);
        p->SetInt(5);
        EXPECT_EQ(p->Count(), 1);
        EXPECT_EQ(p->DimCount(), 1);
        EXPECT_TRUE(p->Dims().empty());
        EXPECT_EQ(p->AsInt(), kind == PT_BOOL ? 1 : 5);
    }
}

TEST(Params, DimensionsKeepElementsInFlatOrder) {
    TParamInt a;
    a.SetDims({6});
    for (int i = 0; i < 6; ++i) a.SetIntAt(i, i * 10);
    a.SetDims({2, 3});
    EXPECT_EQ(a.Count(), 6);
    EXPECT_EQ(a.DimCount(), 2);
    EXPECT_EQ(a.DimSize(0), 2);
    EXPECT_EQ(a.DimSize(1), 3);
    EXPECT_EQ(a.DimSize(2), 1);
    EXPECT_EQ(a.DimSize(-1), 1);
    EXPECT_EQ(a.GetIntAt(5), 50);
    a.SetDims({2});
    EXPECT_EQ(a.Count(), 2);
    EXPECT_EQ(a.GetIntAt(1), 10);
    a.SetDims({4});
    EXPECT_EQ(a.GetIntAt(3), 0);  // new elements are 0
    a.ClearDims();
    EXPECT_EQ(a.Count(), 1);
    EXPECT_EQ(a.AsInt(), 0);
}

TEST(Params, BadDimensionsAndIndices) {
    TParamStr s;
    s.SetDims({2});
    s.SetStrAt(1, "keep");
    EXPECT_EQ(ErrorOf([&] { s.SetDims({0}); }), Sj("配列の要素数[0]が不正です"));
    EXPECT_EQ(ErrorOf([&] { s.SetDims({2, -1}); }), Sj("配列の要素数[2,-1]が不正です"));
    // A product no game could allocate is refused the same way.
    EXPECT_EQ(ErrorOf([&] { s.SetDims({65536, 65536}); }), Sj("配列の要素数[65536,65536]が不正です"));
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.GetStrAt(1), "keep");
    const std::string bad = Sj("配列の添字が不正です");
    EXPECT_EQ(ErrorOf([&] { s.GetStrAt(2); }), bad);
    EXPECT_EQ(ErrorOf([&] { s.SetStrAt(-1, "x"); }), bad);
    TParamFloat f;
    EXPECT_EQ(ErrorOf([&] { f.GetIntAt(1); }), bad);
    EXPECT_EQ(ErrorOf([&] { f.SetBoolAt(1, true); }), bad);
}

TEST(Params, FillOnlyOwnKind) {
    TParamInt a;
    a.SetDims({3});
    a.FillStr("7");
    a.FillFloat(7);
    a.FillBool(true);
    EXPECT_EQ(a.GetIntAt(2), 0);
    a.FillInt(7);
    EXPECT_EQ(a.GetIntAt(0), 7);
    EXPECT_EQ(a.GetIntAt(2), 7);
    EXPECT_EQ(a.Count(), 3);
}

TEST(Params, CopyMemNeedsSameClass) {
    TParamInt a, b;
    b.SetDims({2, 2});
    b.SetIntAt(3, 9);
    a.CopyMem(b);
    EXPECT_EQ(a.DimCount(), 2);
    EXPECT_EQ(a.GetIntAt(3), 9);
    TParamFloat f;
    EXPECT_EQ(ErrorOf([&] { f.CopyMem(b); }), Sj("CopyMem:変数の型があいません"));
}

TEST(Params, ConvertFromTakesShapeAndConverts) {
    TParamInt a;
    a.SetDims({2, 3});
    for (int i = 0; i < 6; ++i) a.SetIntAt(i, i - 2);
    TParamStr s;
    s.ConvertFrom(a);
    EXPECT_EQ(s.DimCount(), 2);
    EXPECT_EQ(s.DimSize(1), 3);
    EXPECT_EQ(s.GetStrAt(0), "-2");
    EXPECT_EQ(s.GetStrAt(5), "3");
    TParamFlag f;
    f.ConvertFrom(a);
    EXPECT_FALSE(f.GetBoolAt(2));
    EXPECT_TRUE(f.GetBoolAt(0));
}

TEST(Params, IndexOfStr) {
    TParamStr s;
    s.SetDims({3});
    s.SetStrAt(0, "Apple");
    s.SetStrAt(1, "banana");
    s.SetStrAt(2, "Cherry");
    struct Case { const char* text; bool cs; bool partial; int index; };
    const Case cases[] = {
        {"apple", true, false, -1}, {"apple", false, false, 0}, {"Apple", true, false, 0},
        {"an", true, true, 1},      {"ERR", true, true, -1},    {"ERR", false, true, 2},
        {"x", false, true, -1},     {"app", false, false, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(s.IndexOfStr(c.text, c.cs, c.partial), c.index) << c.text;
    TParamInt n;
    n.SetDims({2});
    n.SetIntAt(1, 20);
    EXPECT_EQ(n.IndexOfStr("20", true, false), 1);
}

TEST(Params, StreamLayout) {
    TParamInt a;
    a.SetDims({2});
    a.SetIntAt(0, 1);
    a.SetIntAt(1, -1);
    TMemoryStream m;
    a.SaveToStream(m);
    const std::vector<std::uint8_t> expected = {1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(m.Bytes(), expected);

    TParamStr s;
    s.SetStr("ab");
    TMemoryStream ms;
    s.SaveToStream(ms);
    const std::vector<std::uint8_t> expectedStr = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'};
    EXPECT_EQ(ms.Bytes(), expectedStr);
}

TEST(Params, StreamRoundTripEveryKind) {
    for (std::uint8_t kind = PT_INT; kind <= PT_STR; ++kind) {
        auto p = Make(kind);
        p->SetDims({2, 2});
        p->SetStrAt(0, "1");
        p->SetFloatAt(3, 1.25L);
        TMemoryStream m;
        p->SaveToStream(m);
        m.SetPosition(0);
        auto q = Make(kind);
        q->LoadFromStream(m);
        EXPECT_EQ(m.Position(), m.Size());
        EXPECT_EQ(q->Dims(), p->Dims());
        for (int i = 0; i < 4; ++i) EXPECT_EQ(q->GetStrAt(i), p->GetStrAt(i)) << int(kind) << " " << i;
    }
}

TEST(Params, DamagedStreamsAreRefused) {
    auto load = [](std::uint8_t kind, std::vector<std::uint8_t> bytes) {
        TMemoryStream m(std::move(bytes));
        auto p = CreateParam(kind);
        return ErrorOf([&] { p->LoadFromStream(m); }) != "(no error)";
    };
    // truncated element
    EXPECT_TRUE(load(PT_INT, {0, 0, 0, 0, 1, 0, 0, 0, 5, 0}));
    // an element count far beyond the stream
    EXPECT_TRUE(load(PT_STR, {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F}));
    // negative dimension count
    EXPECT_TRUE(load(PT_FLOAT, {0xFF, 0xFF, 0xFF, 0xFF}));
    // dimensions [2] but three elements
    EXPECT_TRUE(load(PT_BOOL, {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 1, 1, 1}));
    // a zero dimension
    EXPECT_TRUE(load(PT_BOOL, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(load(PT_BOOL, {1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0}));
    // A stored value without elements reads back as an index error, not a
    // read past the end of its storage.
    TMemoryStream empty(std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0});
    TParamStr s;
    s.LoadFromStream(empty);
    EXPECT_EQ(ErrorOf([&] { (void)s.AsStr(); }), Sj("配列の添字が不正です"));
}

TEST(ParamVar, UnresolvedReadsNothingAndIgnoresWrites) {
    TParamVar r("a");
    r.SetInt(5);
    r.SetStr("x");
    EXPECT_EQ(r.Kind(), PT_NONE);
    EXPECT_EQ(r.AsInt(), 0);
    EXPECT_EQ(r.AsFloat(), 0);
    EXPECT_FALSE(r.AsBool());
    EXPECT_EQ(r.AsStr(), "");
    EXPECT_EQ(r.IndexOfStr("", true, false), -1);
}

TEST(ParamVar, ForwardsToTheReferencedElement) {
    TParamCollection vars;
    auto& a = vars.AddNamed(PT_INT, "a");
    a.Value().SetDims({3});
    TParamVar r("A", 2);
    r.Resolve(vars);
    EXPECT_EQ(r.Kind(), PT_INT);
    r.SetStr("$10");
    EXPECT_EQ(a.Value().GetIntAt(2), 16);
    EXPECT_EQ(a.Value().Count(), 3);  // an element write keeps the array
    EXPECT_EQ(r.AsStr(), "16");
    EXPECT_EQ(r.GetIntAt(0), 0);  // indexed access uses the caller's index
    EXPECT_EQ(r.Count(), 3);
    r.Unresolve();
    EXPECT_EQ(r.AsInt(), 0);
    TParamVar missing("nothing");
    EXPECT_EQ(ErrorOf([&] { missing.Resolve(vars); }), Sj("\"nothing\" 変数がありません"));
}
