#include "text/line_break_chars.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/sjis.h"
#include "text/char_code.h"

namespace vesk {

namespace {

std::vector<std::uint16_t> Codes(const std::string& sjis) {
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < sjis.size(); i += SjisCharLen(sjis, i)) out.push_back(CharCodeAt(sjis, i));
    return out;
}

bool Contains(const std::vector<std::uint16_t>& codes, std::uint16_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

bool CannotStartLine(std::uint16_t code) {
    static const std::vector<std::uint16_t> codes = Codes(Sj("。、｣」』)）､｡!?！？】"));
    return Contains(codes, code);
}

bool CannotEndLine(std::uint16_t code) {
    static const std::vector<std::uint16_t> codes = Codes(Sj("｢「『（([<【"));
    return Contains(codes, code);
}

}  // namespace vesk
