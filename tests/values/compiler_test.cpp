#include "values/compiler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"
#include "values/func_dispatch.h"
#include "values/functable.h"
#include "values/ope_data.h"
#include "values/param_collection.h"
#include "values/vesk_parser.h"

using namespace vesk;
using ::testing::ElementsAreArray;

namespace {

// "ocName dest operand operand ..." for each compiled operation.
std::vector<std::string> Compiled(const std::string& text) {
    TBuildVeskParser b;
    b.Compile(text);
    std::vector<std::string> lines;
    for (int i = 0; i < b.Count(); ++i) {
        const TBuildOpeData& op = b.Item(i);
        std::string line = std::string(OpeCodeName(op.Ope)) + " " + op.Dest;
        for (const auto& operand : op.Operands) line += " " + operand;
        lines.push_back(line);
    }
    return lines;
}

std::string CompileError(const std::string& text) {
    try {
        TVeskParser list;
        CompileExpression(text, list);
    } catch (const EVeskError& e) {
        return e.what();
    }
    return "(no error)";
}

struct TCompileCase {
    const char* Text;
    std::vector<std::string> Expected;
};

}  // namespace

// Expected sequences worked out by hand from the compiler's phases: literals
// first, calls innermost (right before left), elements rightmost first,
// groups, then the operators by strength; copies between intermediate
// temporaries removed.
TEST(Compiler, CompiledListsMatchHandWrittenSequences) {
    const TCompileCase cases[] = {
        {"x = a + b * 2", {"ocMul ____0 b 2", "ocPlus ____1 a ____0", "ocTo x ____1"}},
        {"x = 1", {"ocTo x 1"}},
        {"a - b + c", {"ocMinus ____0 a b", "ocPlus ____1 ____0 c", "ocTo ____arg ____1"}},
        {"a<<1>>b", {"ocShiftL ____0 a 1", "ocShiftR ____1 ____0 b", "ocTo ____arg ____1"}},
        {"a <> b", {"ocNEqual ____0 a b", "ocTo ____arg ____0"}},
        {"a>=b", {"ocEBig ____0 a b", "ocTo ____arg ____0"}},
        {"a<=b", {"ocESmall ____0 a b", "ocTo ____arg ____0"}},
        {"a % b / c", {"ocMod ____0 a b", "ocDiv ____1 ____0 c", "ocTo ____arg ____1"}},
        // "++" is looser than the comparisons, "&" looser than "++".
        {"a ++ b == c", {"ocEqual ____0 b c", "ocComboStr ____1 a ____0", "ocTo ____arg ____1"}},
        {"a & b ++ c", {"ocComboStr ____0 b c", "ocAnd ____1 a ____0", "ocTo ____arg ____1"}},
        {"a & b == c", {"ocEqual ____0 b c", "ocAnd ____1 a ____0", "ocTo ____arg ____1"}},
        {"a | b ^ c & d", {"ocAnd ____0 c d", "ocXor ____1 b ____0", "ocOr ____2 a ____1", "ocTo ____arg ____2"}},
        {"a < b ++ c > d", {"ocSmall ____0 a b", "ocBig ____1 c d", "ocComboStr ____2 ____0 ____1", "ocTo ____arg ____2"}},
        // Signs: after an operator a "-" is 0 - x, a "+" vanishes; at the
        // front the reduction does the same.
        {"x = -1.5", {"ocMinus ____0 0 1.5", "ocTo x ____0"}},
        {"a * -b", {"ocMinus ____0 0 b", "ocMul ____1 a ____0", "ocTo ____arg ____1"}},
        {"a - - b", {"ocMinus ____0 0 b", "ocMinus ____1 a ____0", "ocTo ____arg ____1"}},
        {"a * +b", {"ocMul ____0 a b", "ocTo ____arg ____0"}},
        {"-x * 2", {"ocMul ____0 x 2", "ocMinus ____1 0 ____0", "ocTo ____arg ____1"}},
        {"+x", {"ocPlus ____0 0 x", "ocTo ____arg ____0"}},
        // Calls: the right one of two side by side is compiled first.
        {"f(g(x), h(y))", {"ocFunc ____0 h y", "ocFunc ____1 g x", "ocFunc ____2 f ____1 ____0", "ocTo ____arg ____2"}},
        {"f(a + 1, b)", {"ocPlus ____2 a 1", "ocFunc ____0 f ____2 b", "ocTo ____arg ____0"}},
        {"f (x) * 2", {"ocFunc ____0 f x", "ocMul ____1 ____0 2", "ocTo ____arg ____1"}},
        {"f()", {"ocFunc ____0 f", "ocTo ____arg ____0"}},
        {"f(a, , (b))", {"ocFunc ____0 f a \"\" b", "ocTo ____arg ____0"}},
        // An element argument is copied into a value of its own (copies out
        // of a "____d_" reference are kept).
        {"f(a[1, 2], 3)",
         {"ocDimTo ____d_2 a 1 2", "ocTo ____1 ____d_2", "ocFunc ____0 f ____1 3", "ocTo ____arg ____0"}},
        {"f(-1)", {"ocMinus ____2 0 1", "ocFunc ____0 f ____2", "ocTo ____arg ____0"}},
        // Redundant parentheses around an argument go; (a)+(b) is not one group.
        {"f(((a)+(b)))",
         {"ocTo ____2 b", "ocTo ____3 a", "ocPlus ____4 ____3 ____2", "ocFunc ____0 f ____4", "ocTo ____arg ____0"}},
        // Array elements, rightmost first, into references.
        {"a[i, j] = a[i, j] * 2 + k",
         {"ocDimTo ____d_0 a i j", "ocDimTo ____d_1 a i j", "ocMul ____2 ____d_0 2", "ocPlus ____3 ____2 k",
          "ocTo ____d_1 ____3"}},
        {"a[b[1]]", {"ocDimTo ____d_0 b 1", "ocDimTo ____d_1 a ____d_0", "ocTo ____arg ____d_1"}},
        {"a[i + 1]", {"ocPlus ____2 i 1", "ocDimTo ____d_0 a ____2", "ocTo ____arg ____d_0"}},
        // Groups.
        {"(a + b) * c", {"ocPlus ____1 a b", "ocMul ____2 ____1 c", "ocTo ____arg ____2"}},
        {"x = ((a))", {"ocTo ____0 a", "ocTo x ____0"}},
        // Copies of copies collapse onto the first name.
        {"x = (((a + b)))", {"ocPlus ____1 a b", "ocTo x ____1"}},
        // String literals come first; the temporary holding one is kept.
        {"s = t ++ \"abc\"", {"ocTo ____0 \"abc\"", "ocComboStr ____1 t ____0", "ocTo s ____1"}},
        {"\"a(b\" ++ \"c,d\"", {"ocTo ____0 \"a(b\"", "ocTo ____1 \"c,d\"", "ocComboStr ____2 ____0 ____1", "ocTo ____arg ____2"}},
        {"x = (\"a\")", {"ocTo ____0 \"a\"", "ocTo x ____0"}},
        {"\"a\\\"b\\\\c\\nd\\e\"", {"ocTo ____0 \"a\"b\\c\r\nd\\e\"", "ocTo ____arg ____0"}},
        // An unclosed literal is left in the text.
        {"x = \"ab", {"ocTo x \"ab"}},
        {"", {"ocTo ____arg "}},
        {"a b", {"ocTo ____arg a b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_THAT(Compiled(c.Text), ElementsAreArray(c.Expected));
    }
}


// Inner constructs are compiled first, so ordinary nesting, however deep,
// recurses only a level or two.
TEST(Compiler, DeepOrdinaryNestingCompiles) {
    const std::string groups = std::string(200, '(') + "a + 1" + std::string(200, ')');
    EXPECT_EQ(Compiled(groups).front(), "ocPlus ____1 a 1");
    std::string calls = "x";
    for (int i = 0; i < 200; ++i) calls = "Abs(" + calls + ")";
    TVeskParser list;
    EXPECT_NO_THROW(CompileExpression(calls, list));
    EXPECT_EQ(list.Count(), 201);
    std::string elements = "1";
    for (int i = 0; i < 200; ++i) elements = "a[" + elements + " + 1]";
    EXPECT_NO_THROW(Compiled(elements));
}

// Trail bytes of double-byte characters look like syntax: 0x5C (ソ, 表) like
// a backslash, 0x7C (ポ) like "|", 0x5B (ゼ) like "[", 0x41 (ア) like a name
// letter. None of them may be read as such.
TEST(Compiler, DoubleByteCharactersAreWholeCharacters) {
    const TCompileCase cases[] = {
        {"\"ソ\" ++ a", {"ocTo ____0 \"ソ\"", "ocComboStr ____1 ____0 a", "ocTo ____arg ____1"}},
        {"\"表\\\"\"", {"ocTo ____0 \"表\"\"", "ocTo ____arg ____0"}},
        {"xポ = 1", {"ocTo xポ 1"}},
        {"aゼ + 1", {"ocPlus ____0 aゼ 1", "ocTo ____arg ____0"}},
        {"表[1] = 2", {"ocDimTo ____d_0 表 1", "ocTo ____d_0 2"}},
        {"ア(1)", {"ocTo ____0 1", "ocTo ____arg ア____0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        std::vector<std::string> expected;
        for (const auto& line : c.Expected) expected.push_back(Utf8ToSjis(line));
        EXPECT_THAT(Compiled(Utf8ToSjis(c.Text)), ElementsAreArray(expected));
    }
}

TEST(Compiler, ErrorsCarryTheirTexts) {
    const std::string syntax = Sj("構文エラー");
    const std::pair<const char*, std::string> cases[] = {
        {"a = b = c", syntax},          // "=" only once per statement
        {"= 1", syntax},
        {"a +", syntax},
        {"x =", syntax},
        {"* a", syntax},
        {"a + * b", syntax},
        {"a * = b", syntax},
        {"(a", syntax},
        {"a)", syntax},
        {"f(a", syntax},
        {"()", syntax},
        {"f(a]", syntax},
        {"f(a[)", syntax},
        {"a[1", syntax},
        {"a]", syntax},
        {"[1]", syntax},
        {"a + [1]", syntax},
        {"a[1][2]", syntax},
        {"a[]", Sj("配列の添え字が不正です")},
        {"a[ ] = 1", Sj("配列の添え字が不正です")},
        {"Foo(1)", "\"Foo\"" + Sj(" 関数名がありません")},
        {"length(s)", "\"length\"" + Sj(" 関数名がありません")},  // names are case-sensitive
        {"Length(Foo(1))", "\"Foo\"" + Sj(" 関数名がありません")},
        {"Length(a, b)", "Length" + Sj(" 引数の数が不正です")},
        {"Length()", "Length" + Sj(" 引数の数が不正です")},
        {"IntToHex(1)", "IntToHex" + Sj(" 引数の数が不正です")},
        {"DBDelete(1)", "DBDelete" + Sj(" 引数の数が不正です")},
        {"Max(1, 2,)", "Max" + Sj(" 引数の数が不正です")},
        // Accepted: no maximum, no arguments, an empty argument.
        {"DBInsert(1, 2, 3, 4, 5, 6, 7, 8, 9)", "(no error)"},
        {"DBDelete()", "(no error)"},
        {"Max(1, )", "(no error)"},
        {"a b", "(no error)"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CompileError(text), message);
    }
}

TEST(Compiler, OperandsGetTheirStoredKinds) {
    struct TKindCase {
        const char* Operand;
        std::uint8_t Kind;
        std::string Text;  // AsStr of a constant, or the variable name
    };
    const TKindCase cases[] = {
        {"12", PT_INT, "12"},        {"$1F", PT_INT, "31"},       {"0x10", PT_INT, "16"},
        {"$FFFFFFFF", PT_INT, "-1"}, {"1.5", PT_FLOAT, "1.5"},    {"1E3", PT_FLOAT, "1000"},
        {"3000000000", PT_FLOAT, "3000000000"},                   {"TRUE", PT_BOOL, "TRUE"},
        {"FALSE", PT_BOOL, "FALSE"}, {"true", PT_NONE, "true"},   {"abc", PT_NONE, "abc"},
        {"@Result", PT_NONE, "@Result"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Operand);
        TVeskParser list;
        CompileExpression(std::string("x = ") + c.Operand, list);
        ASSERT_EQ(list.Count(), 1);
        const TCustomParam& operand = *list.Item(0).Operands.at(0);
        EXPECT_EQ(operand.Kind(), c.Kind);
        if (c.Kind == PT_NONE) {
            auto* var = dynamic_cast<const TParamVar*>(&operand);
            ASSERT_NE(var, nullptr);
            EXPECT_EQ(var->VarName(), c.Text);
        } else {
            EXPECT_EQ(operand.AsStr(), c.Text);
        }
    }

    TVeskParser list;
    CompileExpression("s = \"hi\" ++ Max(a, )", list);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(0).Operands.at(0)->Kind(), PT_STR);
    EXPECT_EQ(list.Item(0).Operands.at(0)->AsStr(), "hi");
    // An empty argument is the empty string.
    const TOpeData& call = list.Item(1);
    EXPECT_EQ(call.Ope, ocFunc);
    EXPECT_EQ(call.FuncIndex, 127);  // Max
    ASSERT_EQ(call.Operands.size(), 2u);
    EXPECT_EQ(call.Operands[1]->Kind(), PT_STR);
    EXPECT_EQ(call.Operands[1]->AsStr(), "");
}

TEST(Compiler, WritesTheOperationListStreamFormat) {
    TBuildVeskParser b;
    b.Compile("x = 1");
    TMemoryStream plain;
    b.SaveToStream(plain);
    const std::vector<std::uint8_t> expectedPlain{
        1, 0, 0, 0,                // one operation
        1, 1, 0, 0, 0, 'x',        // ocTo, "x"
        1, 0, 0, 0, 1, 1, 0, 0, 0  // one operand: integer 1
    };
    EXPECT_EQ(plain.Bytes(), expectedPlain);

    b.Compile("Abs(y)");
    TMemoryStream call;
    b.SaveToStream(call);
    const std::vector<std::uint8_t> expectedCall{
        2, 0, 0, 0,
        11, 5, 0, 0, 0, '_', '_', '_', '_', '0', 1, 0, 0, 0, 48,  // ocFunc "____0", one argument, Abs
        0, 1, 0, 0, 0, 'y',                                       // variable y
        1, 7, 0, 0, 0, '_', '_', '_', '_', 'a', 'r', 'g', 1, 0, 0, 0,
        0, 5, 0, 0, 0, '_', '_', '_', '_', '0',
    };
    EXPECT_EQ(call.Bytes(), expectedCall);

    // A failing function check writes nothing.
    b.Compile("x = Foo(1)");
    TMemoryStream failed;
    EXPECT_THROW(b.SaveToStream(failed), EVeskError);
    EXPECT_EQ(failed.Size(), 0);
}

namespace {

// Records the order of calls; each call answers its function index.
class TRecordingFunctions : public TFuncDispatcher {
public:
    std::uint8_t ResultKind(int funcIndex, const TOperandList&) override {
        return kFunctionTable[funcIndex].ResultKind;
    }
    void Call(TParamCollectionItem& dest, int funcIndex, int, TOperandList&) override {
        calls.push_back(funcIndex);
        dest.Value().SetInt(funcIndex);
    }
    std::vector<int> calls;
};

int TemporaryCount(const TParamCollection& vars) {
    int n = 0;
    for (int i = 0; i < vars.Count(); ++i)
        if (vars.Item(i).Name().starts_with("____")) ++n;
    return n;
}

struct CompiledEvaluation : ::testing::Test {
    TParamCollection vars;
    TVeskParser list;

    TCustomParam* Run(const std::string& text) {
        CompileExpression(text, list);
        list.Evaluate(vars);
        EXPECT_EQ(TemporaryCount(vars), 0) << text;
        return list.Result();
    }
    TCustomParam& Var(const char* name) { return vars.Find(name)->Value(); }
};

}  // namespace

TEST_F(CompiledEvaluation, CompiledListsEvaluate) {
    vars.AddNamed(PT_INT, "x");
    vars.AddNamed(PT_STR, "s");

    // The negative literal is 0 - 1.5 into a temporary of the kind of 0.
    EXPECT_EQ(Run("x = -1.5"), nullptr);
    EXPECT_EQ(Var("x").AsInt(), -1);

    EXPECT_EQ(Run("1 + 2 * 3")->AsInt(), 7);
    EXPECT_EQ(Run("(1 + 2) * 3")->AsInt(), 9);
    EXPECT_EQ(Run("7 - 2 - 1")->AsInt(), 4);
    EXPECT_EQ(Run("2 * -3")->AsInt(), -6);
    EXPECT_EQ(Run("1.5 + 1")->AsFloat(), 2.5L);
    // "++" after "==": "a" ++ (1 == 1).
    EXPECT_EQ(Run("\"a\" ++ 1 == 1")->AsStr(), "aTRUE");
    // "&" after "==": 6 & (3 == 3) is 6 & 1.
    EXPECT_EQ(Run("6 & 3 == 3")->AsInt(), 0);
    EXPECT_EQ(Run("7 & 3 == 3")->AsInt(), 1);

    EXPECT_EQ(Run(Sj("s = \"ソ\\\\\" ++ 1")), nullptr);
    EXPECT_EQ(Var("s").AsStr(), Sj("ソ") + "\\1");
}

TEST_F(CompiledEvaluation, ElementAssignmentWritesOneElement) {
    auto& a = vars.AddNamed(PT_INT, "a");
    a.Value().SetDims({2, 3});
    vars.AddNamed(PT_INT, "k").Value().SetInt(1);
    Run("a[1, 2] = 5");
    EXPECT_EQ(a.Value().GetIntAt(5), 5);
    Run("a[1, 2] = a[1, 2] * 2 + k");
    EXPECT_EQ(a.Value().GetIntAt(5), 11);
    EXPECT_EQ(a.Value().Count(), 6);
}

TEST_F(CompiledEvaluation, ArgumentsAreComputedRightToLeft) {
    TRecordingFunctions functions;
    vars.SetFunctions(&functions);
    vars.AddNamed(PT_INT, "x");
    vars.AddNamed(PT_INT, "y");
    // f(g(x), h(y)): h runs before g, f last.
    EXPECT_EQ(Run("Max(Abs(x), Min(y, 1))")->AsInt(), 127);
    EXPECT_THAT(functions.calls, ElementsAreArray({126, 48, 127}));
    vars.SetFunctions(nullptr);
}
