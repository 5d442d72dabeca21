#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TWdGlyph;

// How a character glyph is drawn, with the engine's defaults filled in
// where its decoration leaves them open. Sizes and widths are clamped to
// what the glyph cache draws, so a damaged decoration cannot make a cell
// or a page surface absurdly large.
struct TCharLook {
    std::string FontName;
    std::uint8_t Style = 0;  // links add the underline
    int Size = 0;
    int Border = 0, Shadow = 0;
    int RubyBand = 0;        // the band above the character, 0 without ruby
    std::int32_t BorderColor = 0, ShadowColor = 0;

    int CellWidth() const;
    int CellHeight() const;
};

TCharLook LookOf(const TWdGlyph& g);

// The colour a character shows in now: the hover colour while its link is
// under the mouse, else its own, else the link colour for linked text and
// the default colour for the rest.
std::int32_t TextColourOf(const TWdGlyph& g);

}  // namespace vesk
