#pragma once

#include <cstdint>

#include "transitions/wipe_pixels.h"

namespace vesk::wipe {

// One row of a mask transition: every pixel is the old one where the mask
// is 0, the new one where it is 255, and otherwise the blend of new over old
// weighted by the mask value. With twoLevel the mask holds only 0 and 255 and
// the blend is never needed. Long runs of 0 or 255 are copied whole.
void ComposeRow(std::uint32_t* d, const std::uint32_t* o, const std::uint32_t* n, const std::uint8_t* m, int w,
                bool twoLevel);
void ComposeRow(std::uint16_t* d, const std::uint16_t* o, const std::uint16_t* n, const std::uint8_t* m, int w,
                bool twoLevel, const Fields16& f);

}  // namespace vesk::wipe
