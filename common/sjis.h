#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// Text inside the engine is Shift-JIS (code page 932). A character is one
// byte, or a lead byte with its trail byte.
constexpr bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Byte length of the character starting at s[i]; 1 for a lead byte at the
// very end (a broken pair counts as a single byte).
inline std::size_t SjisCharLen(std::string_view s, std::size_t i) {
    return (IsSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// Number of characters, counting each lead/trail pair once.
std::size_t SjisCharCount(std::string_view s);

// Byte offset of the character with the given 0-based index, or s.size().
std::size_t SjisByteOffset(std::string_view s, std::size_t charIndex);

// Lower-/upper-case the ASCII letters of a Shift-JIS string, leaving every
// double-byte character untouched (a trail byte may look like a letter).
std::string SjisLower(std::string_view s);
std::string SjisUpper(std::string_view s);

// Case-insensitive comparison with the same rules as SjisLower.
bool SjisSameText(std::string_view a, std::string_view b);

}  // namespace vesk
