#include "platform/files.h"

#include "common/cp932.h"
#include "common/sjis.h"

// The parts of the file services that only work on strings: virtual names
// and native path text, the same on every system.
namespace vesk::platform {

// ASCII letters folded; UTF-8 multibyte sequences never contain ASCII bytes,
// so this is safe on native names.
bool SameNativeText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool IsSafeName(std::string_view sjisName) {
    if (sjisName.empty()) return false;
    if (sjisName[0] == '\\' || sjisName[0] == '/') return false;
    for (std::size_t i = 0; i < sjisName.size(); i += SjisCharLen(sjisName, i)) {
        if (sjisName[i] == '\0' || sjisName[i] == ':') return false;
    }
    const std::vector<std::string> parts = SplitName(sjisName);
    if (parts.empty()) return false;
    for (const std::string& p : parts)
        if (p == "..") return false;
    return true;
}

std::vector<std::string> SplitName(std::string_view sjisName) {
    std::vector<std::string> parts;
    std::string cur;
    for (std::size_t i = 0; i < sjisName.size();) {
        const std::size_t len = SjisCharLen(sjisName, i);
        if (len == 1 && (sjisName[i] == '\\' || sjisName[i] == '/')) {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.append(sjisName.substr(i, len));
        }
        i += len;
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string FolderOf(const std::string& path) {
    const std::size_t p = path.rfind('/');
    return p == std::string::npos ? "" : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t p = path.rfind('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t p = name.rfind('.');
    return p == std::string::npos || p == 0 ? "" : name.substr(p);
}

std::string ChangeExtension(const std::string& path, const std::string& ext) {
    const std::string old = ExtensionOf(path);
    return path.substr(0, path.size() - old.size()) + ext;
}

std::string SjisToNativePath(std::string_view sjis) {
    std::string slashed(sjis);
    for (std::size_t i = 0; i < slashed.size(); i += SjisCharLen(slashed, i))
        if (slashed[i] == '\\') slashed[i] = '/';
    return SjisToUtf8(slashed);
}

}  // namespace vesk::platform
