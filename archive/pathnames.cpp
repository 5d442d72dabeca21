#include "archive/pathnames.h"

#include "common/sjis.h"

namespace vesk {

namespace {

// Position of the last "\" of a name, walking Shift-JIS characters so that
// a trail byte 0x5C is not taken for one; npos when there is none.
std::size_t LastBackslash(const std::string& name) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < name.size(); i += SjisCharLen(name, i))
        if (name[i] == '\\') last = i;
    return last;
}

}  // namespace

std::string WithBackslash(const std::string& name) {
    if (name.empty()) return "\\";
    const std::size_t last = LastBackslash(name);
    return last != std::string::npos && last == name.size() - 1 ? name : name + "\\";
}

std::string NameFolder(const std::string& name) {
    const std::size_t last = LastBackslash(name);
    return last == std::string::npos ? "" : name.substr(0, last);
}

std::string NameFile(const std::string& name) {
    const std::size_t last = LastBackslash(name);
    return last == std::string::npos ? name : name.substr(last + 1);
}

std::string NameExtension(const std::string& name) {
    const std::string file = NameFile(name);
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < file.size(); i += SjisCharLen(file, i))
        if (file[i] == '.') dot = i;
    return dot == std::string::npos ? "" : file.substr(dot);
}

}  // namespace vesk
