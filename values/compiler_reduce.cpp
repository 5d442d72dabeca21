#include <algorithm>
#include <array>
#include <iterator>
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
    tokens = ApplySigns(std::move(tokens));

    // Reducing an operator never creates one, so "the leftmost operator of
    // the strongest group left" is met by one left-to-right pass per group;
    // each pass copies the tokens it keeps into out.
    bool assigned = false;
    for (const auto& group : kPrecedence) {
        std::vector<std::string> out;
        out.reserve(tokens.size());
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const std::string& token = tokens[i];
            if (token.empty() || std::find(group.begin(), group.end(), token) == group.end()) {
                out.push_back(token);
                continue;
            }
            // An operator needs a right operand; one at the very end is malformed.
            if (i + 1 >= tokens.size()) RaiseSyntaxError();
            const std::string& right = tokens[++i];
            const std::uint8_t code = OperatorCode(token);
            if (code == ocTo) {
                if (out.empty()) RaiseSyntaxError();
                Add(ocTo, out.back(), {right});
                out.pop_back();
                assigned = true;
            } else if (!out.empty()) {
                if (StartsWithAnyOf(out.back(), kNoLeftOperand)) RaiseSyntaxError();
                const std::string temp = NewTemp();
                Add(code, temp, {out.back(), right});
                out.back() = temp;
            } else {
                // At the front only a sign makes sense: 0 + x, 0 - x.
                if (code != ocPlus && code != ocMinus) RaiseSyntaxError();
                const std::string temp = NewTemp();
                Add(code, temp, {"0", right});
                out.push_back(temp);
            }
        }
        tokens = std::move(out);
    }

    if (tokens.empty()) return;
    if (assigned || tokens.size() > 1) RaiseSyntaxError();
    Add(ocTo, "____arg", {tokens[0]});
}

// A "+" or "-" right after an operator is a sign: "+" vanishes, "-" becomes
// 0 - x. Walking from the second-to-last token down to the second lets
// "- - x" nest; the tokens right of the walk are kept reversed in right.
std::vector<std::string> TBuildVeskParser::ApplySigns(std::vector<std::string> tokens) {
    if (tokens.size() < 3) return tokens;
    std::vector<std::string> right{std::move(tokens.back())};
    for (std::size_t p = tokens.size() - 2; p >= 1; --p) {
        const bool sign = (tokens[p] == "+" || tokens[p] == "-") && StartsWithAnyOf(tokens[p - 1], kSignContext);
        if (!sign) {
            right.push_back(std::move(tokens[p]));
        } else if (tokens[p] == "-") {
            const std::string temp = NewTemp();
            Add(ocMinus, temp, {"0", right.back()});
            right.back() = temp;
        }
    }
    right.push_back(std::move(tokens[0]));
    return {std::make_move_iterator(right.rbegin()), std::make_move_iterator(right.rend())};
}

}  // namespace vesk
