#pragma once

#include <vector>

namespace vesk {

class TWdGlyph;

// Where a line-break unit that starts at glyphs[first] ends (one past its
// last glyph, at most end): what must stay on one row. A line break is a
// unit of its own and ends the unit it is met in. Glyphs join the glyph
// before them while a break between the two is not allowed: both no-break,
// the same ruby, a word of single-byte characters, a blank after a
// non-blank, or a character that must not start a row; a character that
// must not end a row takes the glyph after it along.
int BreakUnitEnd(const std::vector<TWdGlyph*>& glyphs, int first, int end);

// Whether a row may break between h and the glyph f that follows it.
bool BreakAllowedBetween(const TWdGlyph& h, const TWdGlyph& f);

}  // namespace vesk
