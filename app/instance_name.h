#pragma once

#include <string>

namespace vesk {

// The name that makes one content folder one running player: the folder
// upper-cased, with a trailing separator, every separator replaced by '-'.
// Both '/' and '\' count as separators, so /home/u/Game and
// /home/u/game/ give -HOME-U-GAME-, and c:\games\demo gives C:-GAMES-DEMO-.
// Only ASCII letters change case: the bytes of other characters stay as the
// file system spells them.
std::string InstanceName(const std::string& folder);

}  // namespace vesk
