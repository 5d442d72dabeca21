#pragma once

#include <string>
#include <string_view>

namespace vesk {

// Conversions at the edges of the engine: file names on disk, fonts, logs
// and the authoring tool's UTF-8 sources. Bytes that cannot be converted
// become '?' so a conversion never fails.
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

// A Shift-JIS string from a UTF-8 literal in our own sources, converted once
// and kept: messages and labels are written readably in the code.
const std::string& Sj(const char* utf8Literal);

}  // namespace vesk
