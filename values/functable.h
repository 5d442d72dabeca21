#pragma once

#include <cstdint>
#include <string_view>

namespace vesk {

// One built-in function as scripts name it. Compiled pages store a call by
// its index in kFunctionTable, so the order of the table is part of the page
// format and must never change.
struct TFuncInfo {
    const char* Name;          // case-sensitive
    std::int8_t MinArgs;
    std::int8_t MaxArgs;       // -1: no maximum
    std::uint8_t ResultKind;   // PT_INT, PT_FLOAT, PT_BOOL or PT_STR
};

constexpr int kFunctionCount = 155;
extern const TFuncInfo kFunctionTable[kFunctionCount];

// Index of GetProp, whose result kind is the kind of the property it reads.
constexpr int kFuncGetProp = 2;

// Index of the function with exactly that name (case-sensitive), or -1.
int FindFunction(std::string_view name);

// Whether argCount arguments are acceptable for function index.
bool FunctionAcceptsArgs(int index, int argCount);

}  // namespace vesk
