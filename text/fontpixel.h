#pragma once

#include <cstdint>
#include <string>

#include "gfx/dibx.h"
#include "gfx/rect.h"

namespace vesk {

// Borders and shadows wider than this are drawn this wide: the border is
// drawn once per offset of its square, so a damaged width must not make a
// glyph take minutes.
inline constexpr int kMaxOutlineWidth = 16;

// One cached glyph: the coverage bitmap of a character's black box in one
// font, height and style, with what is needed to place it in a cell.
struct TFontPixel {
    // Coverage 0 … 255 of the black box; 0 × 0 for a blank or failed glyph.
    TDIBX Coverage;
    std::uint16_t Code = 0;  // a single byte, or lead × 256 + trail
    std::string FontName;    // the face name asked for
    std::int32_t Height = 0; // the cell height in pixels
    std::uint8_t Style = 0;  // FS_BOLD, FS_ITALIC, FS_UNDERLINE, FS_STRIKEOUT
    std::int32_t Quality = 0;
    std::int32_t LeftBearing = 0;  // max(0, the black box's left edge from the pen)
    std::int32_t TopOffset = 0;    // where the black box starts below the cell top
    std::int32_t UnderlineSize = 0;
    std::int32_t StrikeTop = 0, StrikeSize = 0;
    // Room right of the black box to the advance; for a blank its width.
    std::int32_t RightGap = 0;
    // The character's A, B and C widths (left bearing, black box, right
    // bearing up to the advance), which centre narrow glyphs in their cell.
    std::int32_t CharA = 0, CharB = 0, CharC = 0;

    TFontPixel() { Coverage.SetSize(0, 0, 8); }

    bool IsEmpty() const { return Coverage.Width() <= 0 || Coverage.Height() <= 0; }

    // Draws the glyph into a page: colour (15, 16 or 32 bits) and its 8-bit
    // alpha surface of the same size, inside cell, with an optional border
    // of borderWidth and a drop shadow shadowWidth to the lower right, and
    // the underline and strike-out of the style. Colours are native pixels
    // of colour. nextDiffers and previousDiffers tell whether the outline
    // settings of the neighbours on the line differ, so the bands of equal
    // neighbours join. Returns the rectangle drawn over (empty for an empty
    // glyph); writes stay inside colour's clip.
    TRect DrawTo(TCustomDIBX& colour, TCustomDIBX& alpha, bool clearFirst, TPixel shadowColour, TPixel borderColour,
                 TPixel textColour, bool nextDiffers, bool previousDiffers, int shadowWidth, int borderWidth,
                 const TRect& cell) const;

private:
    int CentringOffset(int cellWidth) const;
};

}  // namespace vesk
