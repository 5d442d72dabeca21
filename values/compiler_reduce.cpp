#include <array>
#include <string_view>

#include "common/sjis.h"
#include "values/compiler.h"
#include "values/expr_scan.h"
#include "values/ope_data.h"

namespace vesk {

namespace {

constexpr std::string_view kOperatorChars = "%&*+-/<=>^|";
// Tokens before which a "+" or "-" is a sign rather than an operator.
constexpr std::string_view kSignContext = "=+-*/%&^|[(,<>";
// Tokens that cannot stand as the left operand of an operator.
constexpr std::string_view kNoLeftOperand = "+-*/%|&^=[(<>";

struct TOperatorSpelling {
    std::string_view Text;
    std::uint8_t Code;
};
constexpr std::array<TOperatorSpelling, 18> kOperators{{
    {"=", ocTo}, {"+", ocPlus}, {"-", ocMinus}, {"*", ocMul}, {"/", ocDiv}, {"%", ocMod},
    {"|", ocOr}, {"&", ocAnd}, {"^", ocXor}, {"==", ocEqual}, {">", ocBig}, {"<", ocSmall},
    {">=", ocEBig}, {"<=", ocESmall}, {"<<", ocShiftL}, {">>", ocShiftR}, {"++", ocComboStr},
    {"<>", ocNEqual},
}};

// Binding strength, strongest first. "++" binds more loosely than the
// comparisons, and "&", "^", "|" more loosely still, so a ++ b == c is
// a ++ (b == c).
const std::array<std::array<std::string_view, 6>, 9> kPrecedence{{
    {"*", "/", "%"},
    {"+", "-"},
    {"<<", ">>"},
    {"==", ">=", "<=", ">", "<", "<>"},
    {"++"},
    {"&"},
    {"^"},
    {"|"},
    {"="},
}};

constexpr std::array<std::string_view, 7> kTwoCharOperators{"==", ">=", "<=", "++", "<>", "<<", ">>"};

std::uint8_t OperatorCode(std::string_view token) {
    for (const auto& op : kOperators)
        if (op.Text == token) return op.Code;
    return ocNone;
}

bool StartsWithAnyOf(const std::string& token, std::string_view set) {
    return !token.empty() && set.find(token.front()) != std::string_view::npos;
}

// Operands are the trimmed runs of text between operator characters.
std::vector<std::string> Tokenize(const std::string& text) {
    std::vector<std::string> tokens;
    std::size_t last = 0, i = 0;
    while (i < text.size()) {
        if (!CharIn(text, i, kOperatorChars)) {
            i += SjisCharLen(text, i);
            continue;
        }
        std::string operand = TrimBlanks(std::string_view(text).substr(last, i - last));
        if (!operand.empty()) tokens.push_back(std::move(operand));
        std::size_t len = 1;
        for (auto pair : kTwoCharOperators)
            if (std::string_view(text).substr(i, 2) == pair) len = 2;
        tokens.push_back(text.substr(i, len));
        i += len;
        last = i;
    }
    std::string rest = TrimBlanks(std::string_view(text).substr(last));
    if (!rest.empty()) tokens.push_back(std::move(rest));
    return tokens;
}

}  // namespace

// Text that holds only operands and operators: signs first, then the
// operators by binding strength, leftmost first within one strength.
void TBuildVeskParser::Reduce(const std::string& text) {
    std::vector<std::string> tokens = Tokenize(text);
    if (tokens.empty()) {
        Add(ocTo, "____arg", {text});
        return;
    }

    // Signs: a "+" or "-" after an operator (or at the front, handled below
    // as 0 + x and 0 - x). Walking right to left lets "- - x" nest.
    for (std::size_t p = tokens.size() >= 2 ? tokens.size() - 2 : 0; p >= 1 && p + 1 < tokens.size(); --p) {
        if ((tokens[p] == "+" || tokens[p] == "-") && StartsWithAnyOf(tokens[p - 1], kSignContext)) {
            if (tokens[p] == "+") {
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(p));
            } else {
                const std::string temp = NewTemp();
                Add(ocMinus, temp, {"0", tokens[p + 1]});
                tokens[p] = temp;
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(p) + 1);
            }
        }
    }

    bool assigned = false;
    while (!tokens.empty()) {
        std::size_t at = tokens.size();
        for (const auto& group : kPrecedence) {
            for (std::size_t i = 0; i < tokens.size() && at == tokens.size(); ++i)
                for (auto spelling : group)
                    if (!spelling.empty() && tokens[i] == spelling) at = i;
            if (at != tokens.size()) break;
        }

        if (at == tokens.size()) {
            if (assigned || tokens.size() > 1) RaiseSyntaxError();
            Add(ocTo, "____arg", {tokens[0]});
            tokens.clear();
            break;
        }

        const std::uint8_t code = OperatorCode(tokens[at]);
        // An operator needs a right operand; one at the very end is malformed.
        if (at + 1 >= tokens.size()) RaiseSyntaxError();
        const auto first = tokens.begin() + static_cast<std::ptrdiff_t>(at);
        if (code == ocTo) {
            if (at == 0) RaiseSyntaxError();
            Add(ocTo, tokens[at - 1], {tokens[at + 1]});
            tokens.erase(first - 1, first + 2);
            assigned = true;
        } else if (at > 0) {
            if (StartsWithAnyOf(tokens[at - 1], kNoLeftOperand)) RaiseSyntaxError();
            const std::string temp = NewTemp();
            Add(code, temp, {tokens[at - 1], tokens[at + 1]});
            tokens[at - 1] = temp;
            tokens.erase(first, first + 2);
        } else {
            if (code != ocPlus && code != ocMinus) RaiseSyntaxError();
            const std::string temp = NewTemp();
            Add(code, temp, {"0", tokens[1]});
            tokens[0] = temp;
            tokens.erase(first + 1);
        }
    }
}

}  // namespace vesk
