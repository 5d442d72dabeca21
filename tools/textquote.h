#pragma once

#include <cstddef>
#include <string>

namespace vesk::tool {

// Shift-JIS text as a double-quoted UTF-8 literal of the text form: \" and
// \\ escaped, control bytes and anything that would not survive the trip to
// UTF-8 and back as \xNN.
std::string QuoteSjis(const std::string& sjis);
// Reads a literal starting at text[pos] (the opening quote) and returns its
// Shift-JIS bytes; pos ends after the closing quote. Raises on an unclosed
// literal or a bad escape.
std::string UnquoteToSjis(const std::string& utf8, std::size_t& pos);
// Whether the Shift-JIS text survives conversion to UTF-8 and back.
bool SjisRoundTrips(const std::string& sjis);

}  // namespace vesk::tool
