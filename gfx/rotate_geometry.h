#pragma once

#include <cstdint>

#include "gfx/rect.h"

namespace vesk {

// Where the rotating draw puts a picture of w × h pixels scaled by scaleX,
// scaleY (256ths) and turned by angle (256ths of a turn), the source pixel
// (pivotX, pivotY) landing on the screen point (x, y): the screen box it
// walks and its inverse mapping in 16.16 fixed point. The draw itself and
// the components that hit-test and invalidate rotated pictures share it, so
// they agree on every pixel.
struct TRotateGeometry {
    TRect Box;  // every screen pixel the draw may touch (before clipping)
    std::int64_t DuDx = 0, DvDx = 0, DuDy = 0, DvDy = 0;
    std::int32_t X = 0, Y = 0, PivotX = 0, PivotY = 0;

    // The 16.16 source position shown at screen (px, py), relative to the
    // source rectangle's corner.
    std::int64_t U(std::int64_t px, std::int64_t py) const {
        return std::int64_t{PivotX} * 65536 + (px - X) * DuDx + (py - Y) * DuDy;
    }
    std::int64_t V(std::int64_t px, std::int64_t py) const {
        return std::int64_t{PivotY} * 65536 + (px - X) * DvDx + (py - Y) * DvDy;
    }
};

// False when nothing can be drawn: a scale of 0 or less, or an empty source.
bool RotateGeometry(int x, int y, int angle, int pivotX, int pivotY, int w, int h, int scaleX, int scaleY,
                    TRotateGeometry& g);

}  // namespace vesk
