#include "platform/canonical_path.h"

#include <vector>

namespace vesk::platform {

std::string NormalisePath(const std::string& absolutePath) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= absolutePath.size()) {
        std::size_t slash = absolutePath.find('/', i);
        if (slash == std::string::npos) slash = absolutePath.size();
        const std::string part = absolutePath.substr(i, slash - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
}

}  // namespace vesk::platform
