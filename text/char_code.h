#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/sjis.h"

namespace vesk {

// Glyph codes: a single-byte character is its byte, a double-byte one
// lead × 256 + trail.

// The code of the character at s[i]; a lead byte at the very end stands alone.
inline std::uint16_t CharCodeAt(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    return SjisCharLen(s, i) == 2 ? std::uint16_t(lead << 8 | static_cast<unsigned char>(s[i + 1])) : lead;
}

// The one or two bytes of a code.
inline std::string CodeText(std::uint16_t code) {
    if (code > 0xFF) return std::string{char(code >> 8), char(code & 0xFF)};
    return std::string(1, char(code));
}

}  // namespace vesk
