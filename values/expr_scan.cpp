#include "values/expr_scan.h"

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"

namespace vesk {

int SingleByteAt(std::string_view s, std::size_t pos) {
    if (pos >= s.size() || SjisCharLen(s, pos) != 1) return -1;
    return static_cast<unsigned char>(s[pos]);
}

bool CharIn(std::string_view s, std::size_t pos, std::string_view set) {
    const int c = SingleByteAt(s, pos);
    return c >= 0 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsNameCharAt(std::string_view s, std::size_t pos) {
    const int c = SingleByteAt(s, pos);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlankAt(std::string_view s, std::size_t pos) {
    const int c = SingleByteAt(s, pos);
    return c >= 0 && IsBlankByte(static_cast<unsigned char>(c));
}

std::vector<std::size_t> CharStarts(std::string_view s) {
    std::vector<std::size_t> starts;
    starts.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); i += SjisCharLen(s, i)) starts.push_back(i);
    return starts;
}

std::size_t FindChar(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += SjisCharLen(s, i))
        if (SingleByteAt(s, i) == static_cast<unsigned char>(c)) return i;
    return std::string_view::npos;
}

bool ContainsAnyOf(std::string_view s, std::string_view set) {
    for (std::size_t i = 0; i < s.size(); i += SjisCharLen(s, i))
        if (CharIn(s, i, set)) return true;
    return false;
}

std::string TrimBlanks(std::string_view s) {
    // A trail byte is never a blank, so trimming bytes is safe at both ends.
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlankByte(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && IsBlankByte(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(b, e - b));
}

std::vector<std::pair<std::size_t, std::size_t>> MatchPairs(std::string_view s, char open, char close) {
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    std::vector<std::size_t> stack;  // indices into pairs of the open ones
    for (std::size_t i = 0; i < s.size(); i += SjisCharLen(s, i)) {
        const int c = SingleByteAt(s, i);
        if (c == static_cast<unsigned char>(open)) {
            stack.push_back(pairs.size());
            pairs.emplace_back(i, std::string_view::npos);
        } else if (c == static_cast<unsigned char>(close)) {
            if (stack.empty()) RaiseSyntaxError();
            pairs[stack.back()].second = i;
            stack.pop_back();
        }
    }
    if (!stack.empty()) RaiseSyntaxError();
    return pairs;
}

std::string StripEnclosingParens(std::string s) {
    while (s.size() >= 2 && s.front() == '(' && s.back() == ')') {
        // The last byte is ')' only as a whole character: a trail byte is
        // never 0x29, so the byte tests above are character tests.
        int depth = 1;
        const std::size_t end = s.size() - 1;
        for (std::size_t i = 1; i < end && depth > 0; i += SjisCharLen(s, i)) {
            const int c = SingleByteAt(s, i);
            if (c == '(') ++depth;
            else if (c == ')') --depth;
        }
        if (depth == 0) break;  // the first ')' closes before the end
        s = TrimBlanks(std::string_view(s).substr(1, s.size() - 2));
    }
    return s;
}

void RaiseSyntaxError() { throw EVeskError(Sj("構文エラー")); }

}  // namespace vesk
