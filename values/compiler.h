#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"

namespace vesk {

class TVeskParser;

// One operation as the compiler builds it: operands are still source text
// ("12", "1.5", "TRUE", "\"text\"", a variable name). For ocFunc, operand 0
// is the function's name and the arguments follow.
struct TBuildOpeData {
    std::uint8_t Ope = 0;
    std::string Dest;
    std::vector<std::string> Operands;
};

// The expression compiler: turns source text such as "x = a + b * 2" or
// "Length(s) > 3" into an operation list. It rewrites the text step by
// step, replacing each sub-expression it has compiled by the name of the
// temporary that will hold its value: "____%d" for intermediate values,
// "____d_%d" for array elements (one counter for both), "____arg" for the
// value of the whole expression.
class TBuildVeskParser {
public:
    TBuildVeskParser() = default;
    TBuildVeskParser(const TBuildVeskParser&) = delete;
    TBuildVeskParser& operator=(const TBuildVeskParser&) = delete;

    // Replaces the list with the compiled form of text. Raises "構文エラー"
    // for malformed text and "配列の添え字が不正です" for an empty index list.
    void Compile(const std::string& text);

    int Count() const { return static_cast<int>(ops_.size()); }
    const TBuildOpeData& Item(int i) const { return *ops_.at(static_cast<std::size_t>(i)); }

    // Converts every operand to its stored kind and replaces out's
    // operations with the result. Function names become indices, checked
    // against the function table ("\"%s\" 関数名がありません", "%s 引数の数が不正です").
    // On error out is left empty.
    void WriteTo(TVeskParser& out) const;
    // The same in the operation-list stream format; nothing is written when
    // a function check fails.
    void SaveToStream(TStream& s) const;

private:
    void Parse(std::string text, int nesting);
    void ExtractLiterals(std::string& text);
    void CompileCalls(std::string& text, int nesting);
    void CompileElements(std::string& text, int nesting);
    void CompileGroups(std::string& text, int nesting);
    void Reduce(const std::string& text);
    std::vector<std::string> ApplySigns(std::vector<std::string> tokens);
    std::string ArgumentOperand(std::string arg, int nesting);
    void RemoveCopies();

    std::string NewTemp();
    std::string NewElementTemp();
    TBuildOpeData& Add(std::uint8_t ope, std::string dest, std::vector<std::string> operands = {});

    std::vector<std::unique_ptr<TBuildOpeData>> ops_;
    std::int32_t counter_ = 0;
};

// What the run-time users (Calc, the VAR tag, the call stack) do with source
// text: compile it and load the result into out, ready to Evaluate.
void CompileExpression(const std::string& text, TVeskParser& out);

}  // namespace vesk
