#pragma once

#include <cstdint>

namespace vesk {

// The line-break rule characters, by glyph code (a double-byte character
// is lead × 256 + trail). Closing brackets and sentence marks never start
// a row; opening brackets never end one.
bool CannotStartLine(std::uint16_t code);
bool CannotEndLine(std::uint16_t code);

}  // namespace vesk
