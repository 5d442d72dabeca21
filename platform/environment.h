#pragma once

#include <optional>
#include <string>

namespace vesk::platform {

// The process environment and the desktop's per-user folders. Paths are in
// the file system's encoding (UTF-8) and have no trailing separator.
std::optional<std::string> GetEnv(const char* name);

std::string HomeFolder();
std::string XdgDataHome();  // $XDG_DATA_HOME, else ~/.local/share

// $XDG_RUNTIME_DIR when it is set to an absolute path; empty otherwise.
std::string XdgRuntimeDir();

}  // namespace vesk::platform
