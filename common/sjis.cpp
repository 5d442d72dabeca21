#include "common/sjis.h"

namespace vesk {

std::size_t SjisCharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += SjisCharLen(s, i)) ++n;
    return n;
}

std::size_t SjisByteOffset(std::string_view s, std::size_t charIndex) {
    std::size_t i = 0;
    while (i < s.size() && charIndex > 0) {
        i += SjisCharLen(s, i);
        --charIndex;
    }
    return i;
}

namespace {

template <typename Map>
std::string MapAscii(std::string_view s, Map map) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t len = SjisCharLen(out, i);
        if (len == 1) out[i] = map(out[i]);
        i += len;
    }
    return out;
}

}  // namespace

std::string SjisLower(std::string_view s) {
    return MapAscii(s, [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
}

std::string SjisUpper(std::string_view s) {
    return MapAscii(s, [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; });
}

bool SjisSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    return SjisLower(a) == SjisLower(b);
}

}  // namespace vesk
