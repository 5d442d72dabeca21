#pragma once

#include <string>

namespace vesk::platform {

// The one spelling of a folder that names it: absolute, with links
// resolved when it exists, and in any case without ".", ".." or doubled
// separators. Two ways of naming the same folder give the same result.
std::string CanonicalFolder(const std::string& path);

// Lexical part of the above: an absolute path without ".", "..", doubled
// or trailing separators ("/" stays "/").
std::string NormalisePath(const std::string& absolutePath);

}  // namespace vesk::platform
