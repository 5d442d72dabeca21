#pragma once

#include <cstdint>

#include "gfx/dibx.h"

namespace vesk::wipe {

// Filled shapes for the masks of the angle and circle transitions. A pixel
// belongs to a shape when its centre (x + 0.5, y + 0.5) lies inside it;
// (cx, cy) is a point between pixels. Angles are in radians and grow
// clockwise on screen, since y grows downward; 0 points to the right.

// The sector of the disc of radius r around (cx, cy) from angle `from` to
// from + sweep (sweep in 0 .. 2 pi; 2 pi or more is the whole disc).
void FillPie(TDIBX& mask, double cx, double cy, double r, double from, double sweep, std::uint8_t value);

// The disc of radius r around (cx, cy).
void FillDisc(TDIBX& mask, double cx, double cy, double r, std::uint8_t value);

}  // namespace vesk::wipe
