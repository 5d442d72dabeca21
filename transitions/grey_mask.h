#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

class TCustomWipe;

namespace wipe {

// The grey picture of the mask fade, mask white and mask black kinds: one
// level 0..255 per screen pixel, row by row from the top. It is the mask
// picture named by the transition's MaskName, inverted when Flag is set and
// repeated from the top-left corner over the whole screen; without such a
// picture every level is 255.
struct TGreyMask {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Levels;
    // Lowest and highest level of each row, so a step can tell rows that
    // show one picture unchanged.
    std::vector<std::uint8_t> RowMin, RowMax;

    const std::uint8_t* Row(int y) const { return Levels.data() + std::size_t(y) * std::size_t(Width); }
};

// Starts as uniform 255 and then reads the picture, so a picture the
// layered-image reader rejects (it raises EVeskError) leaves a usable
// uniform mask behind.
void LoadGreyMask(const TCustomWipe& wipe, TGreyMask& out);

}  // namespace wipe
}  // namespace vesk
