#include "values/vesk_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <variant>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "values/param_collection.h"

using namespace vesk;

namespace {

// An operand written as in a hand-made list: a constant or a variable name.
struct Var { const char* name; };
using Operand = std::variant<std::int32_t, double, bool, const char*, Var>;

void AddOperand(TOpeData& op, const Operand& o) {
    if (auto* i = std::get_if<std::int32_t>(&o)) op.AddInt(*i);
    else if (auto* x = std::get_if<double>(&o)) op.AddFloat(*x);
    else if (auto* b = std::get_if<bool>(&o)) op.AddBool(*b);
    else if (auto* s = std::get_if<const char*>(&o)) op.AddStr(*s);
    else op.AddVar(std::get<Var>(o).name);
}

TOpeData& Op(TVeskParser& p, std::uint8_t ope, const char* dest, std::initializer_list<Operand> operands,
             std::uint8_t func = 0) {
    TOpeData& op = p.Add(ope, dest, func);
    for (const Operand& o : operands) AddOperand(op, o);
    return op;
}

class Evaluate : public ::testing::Test {
protected:
    int UserCount() const { return vars.Count() - kSystemVariableCount; }
    TParamCollectionItem& Int(const char* name, std::int32_t v) {
        auto& item = vars.AddNamed(PT_INT, name);
        item.Value().SetInt(v);
        return item;
    }
    // a: integers 0 … 5 in dimensions 2 x 3.
    TParamCollectionItem& Grid() {
        auto& a = vars.AddNamed(PT_INT, "a");
        a.Value().SetDims({2, 3});
        for (int i = 0; i < 6; ++i) a.Value().SetIntAt(i, i);
        return a;
    }

    TParamCollection vars;
};

}  // namespace

// Each row: one binary operation into a new temporary, then that temporary
// into "____arg". The temporary's kind shows in Result's kind.
TEST_F(Evaluate, OperatorsAndTheirTyping) {
    struct Case { std::uint8_t ope; Operand a, b; std::uint8_t kind; const char* text; };
    const Case cases[] = {
        {ocDiv, 7, 2, PT_INT, "3"},
        {ocDiv, 7.0, 2, PT_FLOAT, "3.5"},
        {ocDiv, -7, 2, PT_INT, "-3"},
        {ocMod, -7, 2, PT_INT, "-1"},
        {ocMod, 7, -2, PT_INT, "1"},
        {ocMod, 7.9, 2, PT_INT, "1"},
        {ocPlus, 1.5, 1, PT_FLOAT, "2.5"},
        {ocPlus, 1, 1.5, PT_INT, "2"},
        {ocPlus, INT_MAX, 1, PT_INT, "-2147483648"},
        {ocPlus, "2", "3", PT_STR, "5"},      // no string branch: read as integers
        {ocPlus, "a", "b", PT_STR, "0"},
        {ocMinus, 0, 1.5, PT_INT, "-1"},      // x = -1.5 compiles to 0 - 1.5
        {ocMinus, 0.0, 1.5, PT_FLOAT, "-1.5"},
        {ocMinus, "9", 1, PT_INT, "8"},
        {ocMul, 1.5, 3, PT_FLOAT, "4.5"},
        {ocMul, 65536, 65536, PT_INT, "0"},
        {ocOr, 6, 9, PT_INT, "15"},
        {ocAnd, 6, 3, PT_INT, "2"},
        {ocXor, 6, 3, PT_INT, "5"},
        {ocAnd, 6.0, 3, PT_INT, "2"},
        {ocShiftL, 1, 33, PT_INT, "2"},
        {ocShiftL, 1, 31, PT_INT, "-2147483648"},
        {ocShiftR, -1, 28, PT_INT, "15"},
        {ocShiftR, 256, 36, PT_INT, "16"},
        {ocComboStr, "x", 1, PT_STR, "x1"},
        {ocComboStr, 1, 2.5, PT_STR, "12.5"},
        {ocComboStr, true, "", PT_STR, "TRUE"},
        {ocSmall, 1, 1.5, PT_BOOL, "FALSE"},  // operand 0 integer: 1.5 reads as 1
        {ocEqual, 1, 1.9, PT_BOOL, "TRUE"},
        {ocBig, 1.5, 1, PT_BOOL, "TRUE"},
        {ocSmall, "10", "9", PT_BOOL, "TRUE"},
        {ocSmall, "a", "ab", PT_BOOL, "TRUE"},
        {ocBig, "\xE0", "a", PT_BOOL, "TRUE"},  // bytes compare unsigned
        {ocEqual, "abc", "ABC", PT_BOOL, "FALSE"},
        {ocNEqual, "abc", "ABC", PT_BOOL, "TRUE"},
        {ocEBig, 2, 2, PT_BOOL, "TRUE"},
        {ocESmall, 3, 2, PT_BOOL, "FALSE"},
        {ocBig, true, false, PT_BOOL, "TRUE"},
        {ocEqual, true, "TRUE", PT_BOOL, "TRUE"},
        {ocEqual, 5, "$5", PT_BOOL, "TRUE"},
        {ocEqual, "5", 5, PT_BOOL, "TRUE"},
        {ocEqual, "05", 5, PT_BOOL, "FALSE"},  // string domain: "05" against "5"
    };
    for (const Case& c : cases) {
        TVeskParser p;
        Op(p, c.ope, "____0", {c.a, c.b});
        Op(p, ocTo, "____arg", {Var{"____0"}});
        p.Evaluate(vars);
        SCOPED_TRACE(std::string(OpeCodeName(c.ope)) + " -> " + c.text);
        ASSERT_NE(p.Result(), nullptr) << p.LastError();
        EXPECT_EQ(p.Result()->Kind(), c.kind);
        EXPECT_EQ(p.Result()->AsStr(), c.text);
        EXPECT_EQ(UserCount(), 0);
    }
}

TEST_F(Evaluate, DestinationKindDecidesTheArithmetic) {
    auto& r = vars.AddNamed(PT_FLOAT, "r");
    auto& s = vars.AddNamed(PT_STR, "s");
    auto& f = vars.AddNamed(PT_BOOL, "f");
    TVeskParser p;
    Op(p, ocDiv, "r", {7, 2});
    Op(p, ocPlus, "s", {"2", 2.9});
    Op(p, ocTo, "f", {"TRUE"});
    p.Evaluate(vars);
    EXPECT_EQ(p.LastError(), "");
    EXPECT_EQ(r.Value().AsFloat(), 3.5L);
    EXPECT_EQ(s.Value().AsStr(), "4");
    EXPECT_TRUE(f.Value().AsBool());
}

TEST_F(Evaluate, ErrorsEndTheListSilently) {
    struct Case { const char* what; std::function<void(TVeskParser&)> build; std::string error; };
    const std::vector<Case> cases = {
        {"unknown operand", [](TVeskParser& p) { Op(p, ocPlus, "____0", {Var{"nope"}, 1}); },
         Sj("\"nope\" 変数がありません")},
        {"unknown destination", [](TVeskParser& p) { Op(p, ocTo, "nowhere", {1}); },
         Sj("\"nowhere\" 変数がありません")},
        {"integer division by zero", [](TVeskParser& p) { Op(p, ocDiv, "____0", {1, 0}); }, Sj("0 で除算しました")},
        {"real division by zero", [](TVeskParser& p) { Op(p, ocDiv, "____0", {1.0, 0}); }, Sj("0 で除算しました")},
        {"modulo of a real zero", [](TVeskParser& p) { Op(p, ocMod, "____0", {5.5, 0.5}); }, Sj("0 で除算しました")},
        {"quotient out of range", [](TVeskParser& p) { Op(p, ocDiv, "____0", {INT_MIN, -1}); }, Sj("0 で除算しました")},
        {"invalid operator", [](TVeskParser& p) { Op(p, ocNone, "____0", {1, "abc"}); },
         Sj("不正な式\r\n\r\n代入先:____0演算タイプ:ocNone\r\n1\r\nabc")},
        {"code above 20", [](TVeskParser& p) { Op(p, 21, "____0", {}); }, Sj("不正な式\r\n\r\n代入先:____0演算タイプ:")},
        {"missing operand", [](TVeskParser& p) { Op(p, ocPlus, "____0", {1}); },
         Sj("不正な式\r\n\r\n代入先:____0演算タイプ:ocPlus\r\n1")},
        {"function without owner", [](TVeskParser& p) { Op(p, ocFunc, "____0", {1}, 5); },
         Sj("組み込み関数がありません")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto& x = Int("x", 0);
        TVeskParser p;
        Op(p, ocTo, "x", {1});
        Op(p, ocTo, "____1", {7});
        c.build(p);
        Op(p, ocTo, "x", {2});
        Op(p, ocTo, "____arg", {Var{"x"}});
        p.Evaluate(vars);
        EXPECT_EQ(p.LastError(), c.error);
        EXPECT_EQ(p.Result(), nullptr);
        EXPECT_EQ(x.Value().AsInt(), 1);  // what ran before the error stays
        EXPECT_EQ(UserCount(), 1);       // temporaries are gone
        vars.DeleteItem(x);
    }
}

TEST_F(Evaluate, ResultOnlyFromAFinalAssignmentToArg) {
    Int("x", 0);
    TVeskParser plain;
    Op(plain, ocTo, "x", {1});
    plain.Evaluate(vars);
    EXPECT_EQ(plain.Result(), nullptr);
    EXPECT_EQ(vars.Find("x")->Value().AsInt(), 1);

    TVeskParser notLast;
    Op(notLast, ocTo, "____arg", {5});
    Op(notLast, ocTo, "x", {2});
    notLast.Evaluate(vars);
    EXPECT_EQ(notLast.Result(), nullptr);

    TVeskParser arg;
    Op(arg, ocPlus, "____arg", {2, 3});  // not an ocTo
    arg.Evaluate(vars);
    EXPECT_EQ(arg.Result(), nullptr);

    TVeskParser good;
    Op(good, ocTo, "____arg", {"text"});
    good.Evaluate(vars);
    ASSERT_NE(good.Result(), nullptr);
    EXPECT_EQ(good.Result()->AsStr(), "text");
    // The next evaluation replaces the result.
    good.Item(0).Operands.clear();
    good.Evaluate(vars);
    EXPECT_EQ(good.Result(), nullptr);
    EXPECT_EQ(UserCount(), 1);
}

TEST_F(Evaluate, ExistingTemporariesAreUsedAndKept) {
    auto& t = vars.AddNamed(PT_STR, "____0");
    TVeskParser p;
    Op(p, ocPlus, "____0", {2, 3});
    Op(p, ocTo, "____arg", {Var{"____0"}});
    p.Evaluate(vars);
    ASSERT_NE(p.Result(), nullptr);
    EXPECT_EQ(p.Result()->Kind(), PT_STR);
    EXPECT_EQ(p.Result()->AsStr(), "5");
    EXPECT_EQ(vars.Find("____0"), &t);
    EXPECT_EQ(t.Value().AsStr(), "5");
}

TEST_F(Evaluate, ArrayElements) {
    auto& a = Grid();
    TVeskParser write;
    Op(write, ocDimTo, "____d_0", {Var{"a"}, 1, 2});
    Op(write, ocTo, "____d_0", {99});
    write.Evaluate(vars);
    EXPECT_EQ(write.LastError(), "");
    EXPECT_EQ(a.Value().GetIntAt(5), 99);
    EXPECT_EQ(a.Value().Count(), 6);

    // a[1, 0] * 2 + 1 read through an element reference.
    TVeskParser read;
    Op(read, ocDimTo, "____d_1", {Var{"a"}, 1, Var{"k"}});
    Op(read, ocMul, "____2", {Var{"____d_1"}, 2});
    Op(read, ocPlus, "____arg", {Var{"____2"}, 1});
    Op(read, ocTo, "____arg", {Var{"____arg"}});
    Int("k", 0);
    read.Evaluate(vars);
    ASSERT_NE(read.Result(), nullptr) << read.LastError();
    EXPECT_EQ(read.Result()->AsInt(), 7);
    // The temporary reference had the element's kind for typing.
    TVeskParser kind;
    Op(kind, ocDimTo, "____d_0", {Var{"a"}, 0, 0});
    Op(kind, ocTo, "____arg", {Var{"____d_0"}});
    kind.Evaluate(vars);
    ASSERT_NE(kind.Result(), nullptr);
    EXPECT_EQ(kind.Result()->Kind(), PT_INT);

    // Storing into the array's own name makes it a scalar.
    TVeskParser whole;
    Op(whole, ocTo, "a", {5});
    whole.Evaluate(vars);
    EXPECT_EQ(a.Value().Count(), 1);
    EXPECT_EQ(a.Value().AsInt(), 5);
    EXPECT_EQ(UserCount(), 2);
}

TEST_F(Evaluate, ArrayIndexErrors) {
    Grid();
    Int("s", 4);
    struct Case { const char* array; std::vector<std::int32_t> indices; std::string error; };
    const Case cases[] = {
        {"s", {0}, ""},
        {"s", {1}, "s[1]\r\n" + Sj("要素数を超えています")},
        {"s", {0, 0}, "s[0,0]\r\n" + Sj("添え字が不正です")},
        {"a", {1}, "a[1]\r\n" + Sj("添え字が不正です")},
        {"a", {0, 5}, ""},  // per-dimension ranges are not checked
        {"a", {1, 3}, "a[1,3]\r\n" + Sj("要素数を超えています")},
        {"a", {-1, 0}, Sj("配列の添字が不正です")},  // fails at element access
        {"a", {}, "a[]\r\n" + Sj("添え字が不正です")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        TVeskParser p;
        TOpeData& dim = p.Add(ocDimTo, "____d_0");
        dim.AddVar(c.array);
        for (std::int32_t i : c.indices) dim.AddInt(i);
        Op(p, ocTo, "____arg", {Var{"____d_0"}});
        p.Evaluate(vars);
        EXPECT_EQ(p.LastError(), c.error);
        EXPECT_EQ(p.Result() != nullptr, c.error.empty());
    }
    EXPECT_EQ(UserCount(), 2);
}

namespace {

// A stand-in for the function owner: records the call and stores the sum
// of the arguments; index 136 ("Calc") runs a nested list.
class TRecordingFunctions : public TFuncDispatcher {
public:
    explicit TRecordingFunctions(TParamCollection& vars) : vars_(vars) {}
    std::uint8_t ResultKind(int funcIndex, const TOperandList&) override {
        return funcIndex == 0 ? PT_STR : PT_INT;
    }
    void Call(TParamCollectionItem& dest, int funcIndex, int lastOperand, TOperandList& operands) override {
        calls.push_back(funcIndex);
        lastOperands.push_back(lastOperand);
        if (funcIndex == 136) {
            nested.Evaluate(vars_);
            return;
        }
        std::int32_t sum = 0;
        for (auto& o : operands) sum += o->AsInt();
        dest.Value().SetInt(sum);
    }
    std::vector<int> calls, lastOperands;
    TVeskParser nested;

private:
    TParamCollection& vars_;
};

}  // namespace

TEST_F(Evaluate, FunctionCalls) {
    TRecordingFunctions functions(vars);
    vars.SetFunctions(&functions);
    Int("y", 10);
    // f(g(x), h(y)) evaluates h(y) before g(x): the list says so.
    TVeskParser p;
    Op(p, ocFunc, "____0", {Var{"y"}}, 7);  // h(y)
    Op(p, ocFunc, "____1", {1, 2}, 5);      // g(x)
    Op(p, ocFunc, "____2", {Var{"____1"}, Var{"____0"}}, 0);
    Op(p, ocTo, "____arg", {Var{"____2"}});
    p.Evaluate(vars);
    ASSERT_NE(p.Result(), nullptr) << p.LastError();
    EXPECT_EQ(p.Result()->Kind(), PT_STR);  // the function's result kind
    EXPECT_EQ(p.Result()->AsStr(), "13");
    EXPECT_EQ(functions.calls, (std::vector<int>{7, 5, 0}));
    EXPECT_EQ(functions.lastOperands, (std::vector<int>{0, 1, 1}));

    TVeskParser none;
    Op(none, ocFunc, "____0", {}, 3);
    Op(none, ocTo, "____arg", {Var{"____0"}});
    none.Evaluate(vars);
    EXPECT_EQ(functions.lastOperands.back(), -1);
    vars.SetFunctions(nullptr);
}

TEST_F(Evaluate, NestedEvaluationsShareTemporaries) {
    TRecordingFunctions functions(vars);
    vars.SetFunctions(&functions);
    Op(functions.nested, ocTo, "____1", {7});
    Op(functions.nested, ocTo, "____5", {1});
    Op(functions.nested, ocTo, "____arg", {Var{"____1"}});
    TVeskParser outer;
    Op(outer, ocTo, "____1", {5});
    Op(outer, ocFunc, "____0", {}, 136);
    Op(outer, ocPlus, "____arg", {Var{"____1"}, 0});
    Op(outer, ocTo, "____arg", {Var{"____arg"}});
    outer.Evaluate(vars);
    ASSERT_NE(functions.nested.Result(), nullptr);
    EXPECT_EQ(functions.nested.Result()->AsInt(), 7);
    ASSERT_NE(outer.Result(), nullptr) << outer.LastError();
    EXPECT_EQ(outer.Result()->AsInt(), 7);  // the nested list wrote the outer ____1
    EXPECT_EQ(UserCount(), 0);
    vars.SetFunctions(nullptr);
}

TEST_F(Evaluate, SystemVariablesTypeTheirTemporaries) {
    struct TDelay : TParamSystem {
        TDelay(TParamCollection& t, std::uint8_t i) : TParamSystem(i), table(t) {}
        std::uint8_t Kind() const override { return Index() == 7 ? PT_INT : PT_NONE; }
        std::int32_t GetIntAt(int) const override { return table.TextDelay; }
        std::string GetStrAt(int) const override { return std::to_string(table.TextDelay); }
        void SetInt(std::int32_t v) override { table.TextDelay = v; }
        TParamCollection& table;
    };
    TParamCollection sys([](TParamCollection& t, std::uint8_t i) { return std::make_unique<TDelay>(t, i); });
    TVeskParser p;
    Op(p, ocTo, "____0", {Var{"@TextDelay"}});
    Op(p, ocPlus, "@TextDelay", {Var{"____0"}, 5});
    Op(p, ocTo, "____arg", {Var{"@textdelay"}});
    p.Evaluate(sys);
    ASSERT_NE(p.Result(), nullptr) << p.LastError();
    EXPECT_EQ(p.Result()->Kind(), PT_INT);
    EXPECT_EQ(p.Result()->AsInt(), 55);
    EXPECT_EQ(sys.Count(), kSystemVariableCount);
}

TEST_F(Evaluate, GlobalTableIsUsedWithoutOne) {
    TVeskParser p;
    Op(p, ocTo, "____arg", {3});
    p.Evaluate();
    EXPECT_EQ(p.Result(), nullptr);
    TParamCollection::SetGlobal(&vars);
    p.Evaluate();
    ASSERT_NE(p.Result(), nullptr);
    EXPECT_EQ(p.Result()->AsInt(), 3);
    TParamCollection::SetGlobal(nullptr);
}

TEST(VeskParser, StreamLayoutAndRoundTrip) {
    TVeskParser p;
    Op(p, ocFunc, "____0", {Var{"s"}}, 5);
    Op(p, ocPlus, "x", {1, 2.5, true, "q"});
    TMemoryStream m;
    p.SaveToStream(m);
    TMemoryStream expected;
    WriteInt32(expected, 2);
    WriteByte(expected, ocFunc);
    WriteString(expected, "____0");
    WriteInt32(expected, 1);
    WriteByte(expected, 5);  // the function index, only for ocFunc
    WriteByte(expected, 0);
    WriteString(expected, "s");
    WriteByte(expected, ocPlus);
    WriteString(expected, "x");
    WriteInt32(expected, 4);
    WriteByte(expected, 1);
    WriteInt32(expected, 1);
    WriteByte(expected, 2);
    WriteExtended(expected, 2.5L);
    WriteByte(expected, 3);
    WriteByte(expected, 1);
    WriteByte(expected, 4);
    WriteString(expected, "q");
    EXPECT_EQ(m.Bytes(), expected.Bytes());

    TVeskParser q;
    m.SetPosition(0);
    q.LoadFromStream(m);
    TMemoryStream again;
    q.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), m.Bytes());
    EXPECT_EQ(q.Item(0).FuncIndex, 5);
    EXPECT_NE(dynamic_cast<TParamVar*>(q.Item(0).Operands[0].get()), nullptr);
    EXPECT_EQ(q.Item(1).Operands[1]->AsFloat(), 2.5L);
}

TEST(VeskParser, UnknownOperandKindsAreVariableNames) {
    TMemoryStream m;
    WriteInt32(m, 1);
    WriteByte(m, ocTo);
    WriteString(m, "x");
    WriteInt32(m, 1);
    WriteByte(m, 77);
    WriteString(m, "y");
    m.SetPosition(0);
    TVeskParser p;
    p.LoadFromStream(m);
    auto* var = dynamic_cast<TParamVar*>(p.Item(0).Operands[0].get());
    ASSERT_NE(var, nullptr);
    EXPECT_EQ(var->VarName(), "y");
}

TEST(VeskParser, DamagedStreamsAreRefused) {
    TVeskParser p;
    Op(p, ocTo, "x", {"abc"});
    TMemoryStream good;
    p.SaveToStream(good);
    for (std::size_t cut = 0; cut < good.Bytes().size(); ++cut) {
        std::vector<std::uint8_t> bytes(good.Bytes().begin(), good.Bytes().begin() + static_cast<long>(cut));
        TMemoryStream m(bytes);
        TVeskParser q;
        EXPECT_THROW(q.LoadFromStream(m), EStreamError) << cut;
    }
    TMemoryStream huge;
    WriteInt32(huge, 0x7FFFFFFF);
    huge.SetPosition(0);
    EXPECT_THROW(p.LoadFromStream(huge), EStreamError);
}

TEST(VeskParser, AssignMakesADeepCopy) {
    TVeskParser p;
    Op(p, ocDimTo, "____d_0", {Var{"a"}, 1}, 0);
    Op(p, ocFunc, "____1", {2.5, "s", false}, 9);
    TVeskParser q;
    q.Assign(p);
    p.Item(1).Operands[1]->SetStr("changed");
    static_cast<TParamVar&>(*p.Item(0).Operands[0]).SetVarName("b");
    ASSERT_EQ(q.Count(), 2);
    EXPECT_EQ(q.Item(0).Dest(), "____d_0");
    EXPECT_EQ(static_cast<TParamVar&>(*q.Item(0).Operands[0]).VarName(), "a");
    EXPECT_EQ(q.Item(1).FuncIndex, 9);
    EXPECT_EQ(q.Item(1).Operands[0]->Kind(), PT_FLOAT);
    EXPECT_EQ(q.Item(1).Operands[1]->AsStr(), "s");
    EXPECT_EQ(q.Item(1).Operands[2]->Kind(), PT_BOOL);
}
