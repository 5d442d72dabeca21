#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

// Character-level scanning of expression source text for the compiler.
// Source text is Shift-JIS: every scan walks whole characters, so the trail
// byte of a double-byte character (0x5C, 0x5B, 0x7C, letters, ...) is never
// taken for a backslash, bracket, operator or name character. Positions are
// byte offsets of character starts.

// Blanks are the bytes up to and including the space, as trimming treats them.
constexpr bool IsBlankByte(unsigned char c) { return c <= 0x20; }

// The byte of the character starting at pos when it is a single-byte
// character, otherwise -1 (a double-byte character matches no set).
int SingleByteAt(std::string_view s, std::size_t pos);

// Whether the character at pos is a single byte out of set.
bool CharIn(std::string_view s, std::size_t pos, std::string_view set);
// ASCII letter, digit or underscore: the characters of function names.
bool IsNameCharAt(std::string_view s, std::size_t pos);
bool IsBlankAt(std::string_view s, std::size_t pos);

// Offsets of every character start, in order.
std::vector<std::size_t> CharStarts(std::string_view s);

// Offset of the first character c at or after from (a character start), or
// npos.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0);

// Whether any character of s is one of set.
bool ContainsAnyOf(std::string_view s, std::string_view set);

// Removes blanks from both ends.
std::string TrimBlanks(std::string_view s);

// Every open character with its matching close character, in the order of
// the open characters. A close without an open, or an open left unclosed,
// raises "構文エラー".
std::vector<std::pair<std::size_t, std::size_t>> MatchPairs(std::string_view s, char open, char close);

// Drops parentheses that enclose the whole text, as often as they do:
// "((a)+(b))" becomes "(a)+(b)", which is not enclosed as a whole.
std::string StripEnclosingParens(std::string s);

// Raises the compiler's syntax error "構文エラー".
[[noreturn]] void RaiseSyntaxError();

}  // namespace vesk
