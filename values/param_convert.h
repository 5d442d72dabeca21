#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "values/params.h"

namespace vesk {

// The conversions between value kinds. Every value class, the system
// variables, the built-in functions and the compiler's operand typing use
// these, so a text reads as the same number everywhere.

// Integer parse: optional leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$" or "0x". Nothing may follow.
// Decimal text must fit in 32 bits; hexadecimal may use all 32 bits
// ("$FFFFFFFF" is -1). Returns false (out untouched) when it does not parse.
bool TryParseInt(std::string_view text, std::int32_t& out);
// The stored-value rule: the parse, or 0 when it fails.
std::int32_t StrToIntOr0(std::string_view text);

// Real parse: optional blanks, sign, digits with an optional "." fraction
// and an optional exponent ("E" or "e", optional sign, digits), optional
// trailing blanks. At least one digit before the exponent.
bool TryParseFloat(std::string_view text, Extended& out);
Extended StrToFloatOr0(std::string_view text);

// Decimal with "-" sign.
std::string IntToText(std::int32_t v);
// General format with 15 significant digits and "." separator; exponent form
// ("1E-5", "1.5E20") when the decimal exponent is below -4 or at least 15.
std::string FloatToText(Extended x);
// Truncation toward zero keeping the low 32 bits of the 64-bit result; a
// value outside the 64-bit range (or not a number) gives the x87 "integer
// indefinite", whose low half is 0.
std::int32_t FloatToInt(Extended x);
// "TRUE" / "FALSE", and the flag read of a text: true only for exactly "TRUE".
const std::string& BoolToText(bool b);
inline bool TextToBool(std::string_view s) { return s == "TRUE"; }

}  // namespace vesk
