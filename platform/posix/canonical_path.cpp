#include "platform/canonical_path.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace vesk::platform {

std::string CanonicalFolder(const std::string& path) {
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char cwd[PATH_MAX];
        const std::string base = getcwd(cwd, sizeof cwd) ? cwd : "/";
        absolute = base + "/" + absolute;
    }
    std::unique_ptr<char, decltype(&std::free)> real(realpath(absolute.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : NormalisePath(absolute);
}

}  // namespace vesk::platform
