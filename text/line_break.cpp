#include "text/line_break.h"

#include "text/line_break_chars.h"
#include "text/wd_glyph.h"

namespace vesk {

namespace {

constexpr std::uint16_t kBlank = 0x20;

bool IsChar(const TWdGlyph& g) { return g.ClassCode() == WD_CHAR; }
bool IsLineBreak(const TWdGlyph& g) { return g.ClassCode() == WD_RETURN; }
bool IsBlank(const TWdGlyph& g) { return IsChar(g) && g.Code() == kBlank; }

// Glyphs that change the layout's state rather than take a place on a row;
// nothing joins them into a unit.
bool IsLayoutOperation(const TWdGlyph& g) {
    const std::uint8_t c = g.ClassCode();
    return c == WD_ALIGN || c == WD_INDENT || c == WD_UNDENT;
}

}  // namespace

bool BreakAllowedBetween(const TWdGlyph& h, const TWdGlyph& f) {
    if (h.NoBreak() && f.NoBreak()) return false;
    const std::string ruby = f.Ruby();
    if (!ruby.empty() && ruby == h.Ruby()) return false;
    if (IsChar(h) && h.Code() > kBlank && h.Code() <= 0xFF && IsChar(f) && f.Code() > kBlank && f.Code() <= 0xFF)
        return false;
    if (IsBlank(f) && !IsBlank(h)) return false;
    if (IsChar(f) && CannotStartLine(f.Code())) return false;
    return true;
}

int BreakUnitEnd(const std::vector<TWdGlyph*>& glyphs, int first, int end) {
    if (first >= end) return end;
    const TWdGlyph& g = *glyphs[std::size_t(first)];
    if (IsLineBreak(g) || IsLayoutOperation(g)) return first + 1;
    int last = first;
    // An opening bracket never ends a row: the glyph after it comes along
    // whatever the rules between the two say.
    if (IsChar(g) && CannotEndLine(g.Code()) && last + 1 < end) {
        const TWdGlyph& next = *glyphs[std::size_t(last + 1)];
        if (!IsLineBreak(next) && !IsLayoutOperation(next)) ++last;
    }
    while (last + 1 < end) {
        const TWdGlyph& f = *glyphs[std::size_t(last + 1)];
        if (IsLayoutOperation(f)) break;
        if (IsLineBreak(f)) return last + 2;
        if (BreakAllowedBetween(*glyphs[std::size_t(last)], f)) break;
        ++last;
    }
    return last + 1;
}

}  // namespace vesk
