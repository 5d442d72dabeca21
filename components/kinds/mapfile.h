#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gfx/rect.h"

namespace vesk {

class TStream;

// One named region of a selection image's map, in coordinates relative to
// the image's top-left corner.
struct TMapRegion {
    enum class TShape : std::uint8_t { Rect = 0, Ellipse = 1, Polygon = 2 };
    std::string Name;
    TShape Shape = TShape::Rect;
    // Rectangles and ellipses: left, top, right, bottom, all inclusive.
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> Points;  // polygon vertices

    // Whether pixel (x, y) lies in the region; polygons are filled by the
    // winding rule (pixel centres, like the platform's regions).
    bool Contains(std::int32_t x, std::int32_t y) const;
    // The smallest rectangle holding the region (Right and Bottom exclusive).
    TRect BoundingBox() const;
};

// The map file: a 32-bit region count, then per region its name, a shape
// byte (0 rectangle, 1 ellipse, any other value polygon) and either four
// 32-bit edges or a 32-bit vertex count with (x, y) pairs. Counts are
// checked against the bytes left.
std::vector<TMapRegion> ReadMapFile(TStream& s);
void WriteMapFile(TStream& s, const std::vector<TMapRegion>& regions);

}  // namespace vesk
