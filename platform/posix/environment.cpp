#include "platform/environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vesk::platform {

namespace {

// Only absolute values count: a relative XDG path would silently depend on
// the working folder.
std::string AbsoluteEnv(const char* name) {
    const auto v = GetEnv(name);
    if (!v || v->empty() || (*v)[0] != '/') return {};
    std::string s = *v;
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

}  // namespace

std::optional<std::string> GetEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::string(v);
}

std::string HomeFolder() {
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string XdgDataHome() {
    std::string data = AbsoluteEnv("XDG_DATA_HOME");
    if (!data.empty()) return data;
    std::string home = HomeFolder();
    return (home == "/" ? "" : home) + "/.local/share";
}

std::string XdgRuntimeDir() { return AbsoluteEnv("XDG_RUNTIME_DIR"); }

}  // namespace vesk::platform
