#include "app/instance_name.h"

namespace vesk {

std::string InstanceName(const std::string& folder) {
    std::string name;
    name.reserve(folder.size() + 1);
    for (char c : folder) {
        if (c == '/' || c == '\\') {
            name += '-';
        } else if (c >= 'a' && c <= 'z') {
            name += static_cast<char>(c - 'a' + 'A');
        } else {
            name += c;
        }
    }
    if (name.empty() || name.back() != '-') name += '-';
    return name;
}

}  // namespace vesk
