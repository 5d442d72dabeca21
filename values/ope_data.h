#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "values/func_dispatch.h"
#include "values/params.h"

namespace vesk {

// Operator codes of operations; stored as one byte in compiled pages.
enum TOpeCode : std::uint8_t {
    ocNone = 0,
    ocTo = 1,        // =
    ocPlus = 2,      // +
    ocMinus = 3,     // -
    ocMul = 4,       // *
    ocDiv = 5,       // /
    ocMod = 6,       // %
    ocOr = 7,        // |
    ocAnd = 8,       // &
    ocXor = 9,       // ^
    ocDimTo = 10,    // array element: operand 0 the array, then the indices
    ocFunc = 11,     // built-in call: the operands are the arguments
    ocEqual = 12,    // ==
    ocBig = 13,      // >
    ocSmall = 14,    // <
    ocEBig = 15,     // >=
    ocESmall = 16,   // <=
    ocShiftL = 17,   // <<
    ocShiftR = 18,   // >>
    ocComboStr = 19, // ++
    ocNEqual = 20,   // <>
};
constexpr std::uint8_t kLastOpeCode = ocNEqual;

// "ocNone" … "ocNEqual"; "" for codes above 20.
const char* OpeCodeName(std::uint8_t code);

// One three-address operation: Dest = Ope(Operands). A constant operand is
// a one-element TParamInt, TParamFloat, TParamFlag or TParamStr; a variable
// operand is a TParamVar naming the variable.
class TOpeData {
public:
    TOpeData() = default;
    TOpeData(std::uint8_t ope, std::string dest, std::uint8_t funcIndex = 0);
    TOpeData(const TOpeData&) = delete;
    TOpeData& operator=(const TOpeData&) = delete;

    std::uint8_t Ope = ocNone;
    const std::string& Dest() const { return dest_; }
    void SetDest(std::string dest);
    int DestBucket() const { return destBucket_; }
    bool DestIsTemp() const { return destIsTemp_; }
    std::uint8_t FuncIndex = 0;
    TOperandList Operands;

    // Helpers for building lists by hand (tests, tools, the compiler).
    TOpeData& AddInt(std::int32_t v);
    TOpeData& AddFloat(Extended x);
    TOpeData& AddBool(bool b);
    TOpeData& AddStr(std::string s);
    TOpeData& AddVar(std::string name);

    // Deep copy: constants re-created with their kind, variables by name.
    std::unique_ptr<TOpeData> Clone() const;

    void SaveToStream(TStream& s) const;
    void LoadFromStream(TStream& s);

private:
    std::string dest_;
    int destBucket_ = 0;
    bool destIsTemp_ = false;
};

}  // namespace vesk
