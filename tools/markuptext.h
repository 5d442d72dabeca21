#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vesk::tool {

// The stored glyph list of message markup (Shift-JIS lines), parsed by the
// player's own text engine. Raises the engine's error for markup it refuses.
std::string MarkupToStoredList(const std::vector<std::string>& lines);

// Markup lines whose stored glyph list is exactly stored, or nullopt when
// no markup gives those bytes (a damaged list, one of an older version, a
// decoration no tag can express).
std::optional<std::vector<std::string>> StoredListToMarkup(const std::string& stored);

}  // namespace vesk::tool
