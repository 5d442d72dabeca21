#include "values/compiler.h"

#include <string_view>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "values/expr_scan.h"
#include "values/ope_data.h"
#include "values/vesk_parser.h"

namespace vesk {

namespace {

// Characters that make an argument or index a sub-expression of its own.
constexpr std::string_view kComplexChars = "+-*/%|&^=[](),<>";
// Characters that cannot end an array name.
constexpr std::string_view kNameStops = "%&*+-/<=>^|[](),";

// Every construct the compiler takes apart is replaced by a temporary before
// its inner text is compiled, so sensible expressions nest only a few levels
// deep. The limit keeps adversarial text from exhausting the stack.
constexpr int kMaxNesting = 64;

bool IsPlainTemp(std::string_view name) {
    return name.starts_with("____") && !name.starts_with("____d_") && name != "____arg";
}

}  // namespace

void TBuildVeskParser::Compile(const std::string& text) {
    ops_.clear();
    counter_ = 0;
    Parse(text, 0);
    RemoveCopies();
}

std::string TBuildVeskParser::NewTemp() { return "____" + std::to_string(counter_++); }
std::string TBuildVeskParser::NewElementTemp() { return "____d_" + std::to_string(counter_++); }

TBuildOpeData& TBuildVeskParser::Add(std::uint8_t ope, std::string dest, std::vector<std::string> operands) {
    auto op = std::make_unique<TBuildOpeData>();
    op->Ope = ope;
    op->Dest = std::move(dest);
    op->Operands = std::move(operands);
    ops_.push_back(std::move(op));
    return *ops_.back();
}

// One level of the compiler: literals, calls, array elements and groups are
// replaced by temporaries (their inner text compiled recursively), then what
// is left is a flat run of operands and operators.
void TBuildVeskParser::Parse(std::string text, int nesting) {
    if (nesting > kMaxNesting) RaiseSyntaxError();
    ExtractLiterals(text);
    CompileCalls(text, nesting);
    CompileElements(text, nesting);
    CompileGroups(text, nesting);
    Reduce(text);
}

// String literals go first, so that nothing inside them is read as syntax.
// Inside a literal, \" and \\ stand for the character after the backslash and
// \n for a line break; any other backslash is kept. A literal without its
// closing quote stays in the text as it is.
void TBuildVeskParser::ExtractLiterals(std::string& text) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t open = FindChar(text, '"', from);
        if (open == std::string::npos) return;
        std::string value = "\"";
        std::size_t i = open + 1;
        bool closed = false;
        while (i < text.size()) {
            const std::size_t len = SjisCharLen(text, i);
            const int c = SingleByteAt(text, i);
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && i + 1 < text.size()) {
                const int next = SingleByteAt(text, i + 1);
                if (next == '"' || next == '\\') {
                    value += static_cast<char>(next);
                    i += 2;
                    continue;
                }
                if (next == 'n') {
                    value += "\r\n";
                    i += 2;
                    continue;
                }
            }
            value.append(text, i, len);
            i += len;
        }
        if (!closed) return;
        value += '"';
        const std::string temp = NewTemp();
        Add(ocTo, temp, {std::move(value)});
        text.replace(open, i + 1 - open, temp);
        from = open + temp.size();
    }
}

// Function calls, innermost first: the rightmost "(" that follows a name is
// always a call whose arguments hold no further call.
void TBuildVeskParser::CompileCalls(std::string& text, int nesting) {
    for (;;) {
        const auto pairs = MatchPairs(text, '(', ')');
        if (pairs.empty()) return;
        const auto starts = CharStarts(text);
        std::size_t nameStart = std::string::npos, open = 0, close = 0;
        std::size_t k = starts.size();
        for (auto p = pairs.rbegin(); p != pairs.rend() && nameStart == std::string::npos; ++p) {
            while (k > 0 && starts[k - 1] >= p->first) --k;  // k: index of the "(" character
            std::size_t j = k;
            while (j > 0 && IsBlankAt(text, starts[j - 1])) --j;
            if (j == 0 || !IsNameCharAt(text, starts[j - 1])) continue;
            while (j > 0 && IsNameCharAt(text, starts[j - 1])) --j;
            nameStart = starts[j];
            open = p->first;
            close = p->second;
        }
        if (nameStart == std::string::npos) return;

        const std::string name = TrimBlanks(std::string_view(text).substr(nameStart, open - nameStart));
        const std::string args = TrimBlanks(std::string_view(text).substr(open + 1, close - open - 1));
        text.erase(nameStart, close + 1 - nameStart);

        // Split at the commas outside brackets: an index list inside an
        // argument is one argument. No argument text means no arguments.
        std::vector<std::string> pieces;
        if (!args.empty()) {
            int depth = 0;
            std::size_t last = 0;
            for (std::size_t i = 0; i < args.size(); i += SjisCharLen(args, i)) {
                const int c = SingleByteAt(args, i);
                if (c == '[') ++depth;
                else if (c == ']' && --depth < 0) RaiseSyntaxError();
                else if (c == ',' && depth == 0) {
                    pieces.push_back(TrimBlanks(std::string_view(args).substr(last, i - last)));
                    last = i + 1;
                }
            }
            if (depth != 0) RaiseSyntaxError();
            pieces.push_back(TrimBlanks(std::string_view(args).substr(last)));
        }

        // The call's destination is numbered before its arguments' temporaries,
        // but the call is appended after the operations that compute them.
        const std::string dest = NewTemp();
        text.insert(nameStart, dest);
        std::vector<std::string> operands{name};
        for (auto& piece : pieces) operands.push_back(ArgumentOperand(std::move(piece), nesting));
        Add(ocFunc, dest, std::move(operands));
    }
}

// Array elements a[i, j], rightmost first, each into a "____d_%d" reference.
void TBuildVeskParser::CompileElements(std::string& text, int nesting) {
    for (;;) {
        const auto pairs = MatchPairs(text, '[', ']');  // also refuses a stray "]"
        if (pairs.empty()) return;
        const std::size_t open = pairs.back().first;  // the rightmost "["
        std::size_t close = 0;
        for (const auto& p : pairs)
            if (p.first == open) close = p.second;
        const auto starts = CharStarts(text);
        std::size_t j = 0;
        while (starts[j] != open) ++j;
        while (j > 0 && IsBlankAt(text, starts[j - 1])) --j;
        if (j == 0 || CharIn(text, starts[j - 1], kNameStops)) RaiseSyntaxError();
        while (j > 0 && !IsBlankAt(text, starts[j - 1]) && !CharIn(text, starts[j - 1], kNameStops)) --j;
        const std::size_t nameStart = starts[j];

        const std::string name = TrimBlanks(std::string_view(text).substr(nameStart, open - nameStart));
        const std::string indexText = std::string(std::string_view(text).substr(open + 1, close - open - 1));
        text.erase(nameStart, close + 1 - nameStart);
        if (TrimBlanks(indexText).empty()) throw EVeskError(Sj("配列の添え字が不正です"));

        std::vector<std::string> parts;
        std::size_t last = 0;
        for (std::size_t i = 0; i < indexText.size(); i += SjisCharLen(indexText, i)) {
            if (SingleByteAt(indexText, i) != ',') continue;
            parts.push_back(TrimBlanks(std::string_view(indexText).substr(last, i - last)));
            last = i + 1;
        }
        parts.push_back(TrimBlanks(std::string_view(indexText).substr(last)));

        const std::string dest = NewElementTemp();
        text.insert(nameStart, dest);
        std::vector<std::string> operands{name};
        for (auto& part : parts) operands.push_back(ArgumentOperand(std::move(part), nesting));
        Add(ocDimTo, dest, std::move(operands));
    }
}

// Parenthesised groups, rightmost first, so that a group's inner text holds
// no further group. A "(" that follows a name character is not a group: it
// can only be left over after an array element ("a[1](2)") and stays in the
// text, where it makes the operand an unknown name.
void TBuildVeskParser::CompileGroups(std::string& text, int nesting) {
    for (;;) {
        const auto starts = CharStarts(text);
        std::size_t open = std::string::npos;
        for (std::size_t k = starts.size(); k-- > 0;) {
            if (SingleByteAt(text, starts[k]) != '(') continue;
            std::size_t j = k;
            while (j > 0 && IsBlankAt(text, starts[j - 1])) --j;
            if (j > 0 && IsNameCharAt(text, starts[j - 1])) continue;
            open = starts[k];
            break;
        }
        if (open == std::string::npos) return;

        std::size_t close = std::string::npos;
        int depth = 0;
        for (std::size_t i = open; i < text.size(); i += SjisCharLen(text, i)) {
            const int c = SingleByteAt(text, i);
            if (c == '(') ++depth;
            else if (c == ')' && --depth == 0) {
                close = i;
                break;
            }
        }
        if (close == std::string::npos) RaiseSyntaxError();

        const std::string inner = TrimBlanks(std::string_view(text).substr(open + 1, close - open - 1));
        const std::string temp = NewTemp();
        text.replace(open, close + 1 - open, temp);
        Parse(temp + " = " + inner, nesting + 1);
    }
}

// An argument or index: an empty one is the empty string, a plain one is its
// own operand, anything with operators or brackets is computed into a
// temporary first.
std::string TBuildVeskParser::ArgumentOperand(std::string arg, int nesting) {
    arg = StripEnclosingParens(std::move(arg));
    if (arg.empty()) return "\"\"";
    if (!ContainsAnyOf(arg, kComplexChars)) return arg;
    const std::string temp = NewTemp();
    Parse(temp + " = " + arg, nesting + 1);
    return temp;
}

// Copies from one intermediate temporary into another only rename a value:
// the copy is dropped and later operations use the first name. Array element
// references and "____arg" are kept, since they are what the operations
// store into.
void TBuildVeskParser::RemoveCopies() {
    for (std::size_t i = 0; i < ops_.size();) {
        const TBuildOpeData& op = *ops_[i];
        if (op.Ope != ocTo || op.Operands.size() != 1 || !IsPlainTemp(op.Dest) || !IsPlainTemp(op.Operands[0])) {
            ++i;
            continue;
        }
        const std::string from = op.Dest, to = op.Operands[0];
        ops_.erase(ops_.begin() + static_cast<std::ptrdiff_t>(i));
        for (std::size_t j = i; j < ops_.size(); ++j) {
            if (ops_[j]->Dest == from) ops_[j]->Dest = to;
            for (auto& operand : ops_[j]->Operands)
                if (operand == from) operand = to;
        }
    }
}

void CompileExpression(const std::string& text, TVeskParser& out) {
    TBuildVeskParser builder;
    builder.Compile(text);
    builder.WriteTo(out);
}

}  // namespace vesk
