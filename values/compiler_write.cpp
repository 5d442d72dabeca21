#include "common/cp932.h"
#include "common/error.h"
#include "values/compiler.h"
#include "values/functable.h"
#include "values/ope_data.h"
#include "values/param_convert.h"
#include "values/vesk_parser.h"

namespace vesk {

namespace {

// Source text of an operand to its stored kind: numbers, flags, quoted
// strings, and everything else a variable name.
void AddOperand(TOpeData& op, const std::string& text) {
    std::int32_t i;
    Extended x;
    if (TryParseInt(text, i)) op.AddInt(i);
    else if (TryParseFloat(text, x)) op.AddFloat(x);
    else if (text == "TRUE" || text == "FALSE") op.AddBool(text == "TRUE");
    else if (text.size() > 1 && text.front() == '"' && text.back() == '"') op.AddStr(text.substr(1, text.size() - 2));
    else op.AddVar(text);
}

// The function named by operand 0 of a call, checked against its argument
// count.
std::uint8_t FunctionIndexOf(const TBuildOpeData& call) {
    const std::string& name = call.Operands.at(0);
    const int index = FindFunction(name);
    if (index < 0) throw EVeskError("\"" + name + "\"" + Sj(" 関数名がありません"));
    if (!FunctionAcceptsArgs(index, static_cast<int>(call.Operands.size()) - 1))
        throw EVeskError(name + Sj(" 引数の数が不正です"));
    return static_cast<std::uint8_t>(index);
}

}  // namespace

void TBuildVeskParser::WriteTo(TVeskParser& out) const {
    out.Clear();
    try {
        for (const auto& op : ops_) {
            const bool call = op->Ope == ocFunc;
            TOpeData& written = out.Add(op->Ope, op->Dest, call ? FunctionIndexOf(*op) : 0);
            for (std::size_t k = call ? 1 : 0; k < op->Operands.size(); ++k) AddOperand(written, op->Operands[k]);
        }
    } catch (...) {
        out.Clear();
        throw;
    }
}

void TBuildVeskParser::SaveToStream(TStream& s) const {
    TVeskParser list;
    WriteTo(list);
    list.SaveToStream(s);
}

}  // namespace vesk
