#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "values/params.h"

namespace vesk {

class TParamCollectionItem;

using TOperandList = std::vector<std::unique_ptr<TCustomParam>>;

// What an operation list needs from the built-in functions: the kind of the
// temporary that receives a call's result, and the call itself. The function
// owner (TSysFuncMan) implements it and registers with the variable table
// (TParamCollection::SetFunctions). Variable operands are resolved when
// either is called.
class TFuncDispatcher {
public:
    virtual ~TFuncDispatcher() = default;

    // Kind of the result of function funcIndex for these operands (GetProp
    // answers its property's kind). Raises for an unknown index or a
    // property id out of range.
    virtual std::uint8_t ResultKind(int funcIndex, const TOperandList& operands) = 0;

    // Performs the call: reads the arguments, acts, stores the result into
    // dest. lastOperand is the operand count minus one. Raises on failure;
    // the evaluation then ends silently.
    virtual void Call(TParamCollectionItem& dest, int funcIndex, int lastOperand, TOperandList& operands) = 0;
};

}  // namespace vesk
