#pragma once

#include <string>

namespace vesk {

// The parts of a name as the file manager and the archives write it: folders
// separated by "\", walked as Shift-JIS so that a trail byte 0x5C is never
// taken for a separator.

// The name with a trailing "\" added when missing.
std::string WithBackslash(const std::string& name);
// The folder part of a name up to (not including) its last "\"; "" when it
// has none.
std::string NameFolder(const std::string& name);
// The part after the last "\".
std::string NameFile(const std::string& name);
// The extension of a name (".ogg"), "" when none.
std::string NameExtension(const std::string& name);

}  // namespace vesk
