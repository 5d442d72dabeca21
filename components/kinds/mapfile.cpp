#include "components/kinds/mapfile.h"

#include <algorithm>

#include "common/stream_io.h"

namespace vesk {

bool TMapRegion::Contains(std::int32_t x, std::int32_t y) const {
    switch (Shape) {
        case TShape::Rect: return x >= Left && x <= Right && y >= Top && y <= Bottom;
        case TShape::Ellipse: {
            if (x < Left || x > Right || y < Top || y > Bottom) return false;
            // The ellipse inscribed in the inclusive box, tested at the
            // pixel's centre.
            const double rx = (double(Right) - Left + 1) / 2, ry = (double(Bottom) - Top + 1) / 2;
            const double dx = (x + 0.5 - Left - rx) / rx, dy = (y + 0.5 - Top - ry) / ry;
            return dx * dx + dy * dy <= 1.0;
        }
        case TShape::Polygon: {
            // Winding number of the pixel centre; the doubled coordinates keep
            // the centre off every vertex and edge, so no ties arise.
            const std::int64_t px = std::int64_t{x} * 2 + 1, py = std::int64_t{y} * 2 + 1;
            int winding = 0;
            const std::size_t n = Points.size();
            for (std::size_t i = 0; i < n; ++i) {
                const std::int64_t x0 = std::int64_t{Points[i].first} * 2, y0 = std::int64_t{Points[i].second} * 2;
                const std::int64_t x1 = std::int64_t{Points[(i + 1) % n].first} * 2;
                const std::int64_t y1 = std::int64_t{Points[(i + 1) % n].second} * 2;
                // Coordinates span 33 bits here, their products 68: the
                // side test needs 128-bit arithmetic to stay exact.
                using Wide = __int128;
                const Wide side = Wide{x1 - x0} * (py - y0) - Wide{px - x0} * (y1 - y0);
                if (y0 <= py && y1 > py && side > 0) ++winding;
                else if (y0 > py && y1 <= py && side < 0) --winding;
            }
            return winding != 0;
        }
    }
    return false;
}

TRect TMapRegion::BoundingBox() const {
    if (Shape != TShape::Polygon) {
        auto edge = [](std::int32_t v) { return v == INT32_MAX ? v : v + 1; };
        return MakeRect(Left, Top, edge(Right), edge(Bottom));
    }
    if (Points.empty()) return {};
    TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const auto& [x, y] : Points) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x);
        r.Bottom = std::max(r.Bottom, y);
    }
    return r;
}

std::vector<TMapRegion> ReadMapFile(TStream& s) {
    const std::int32_t count = ReadInt32(s);
    CheckCount(s, count, 9);  // the smallest region: empty name, shape, no vertices
    std::vector<TMapRegion> regions(static_cast<std::size_t>(count));
    for (TMapRegion& r : regions) {
        r.Name = ReadString(s);
        const std::uint8_t shape = ReadByte(s);
        if (shape <= 1) {
            r.Shape = shape == 0 ? TMapRegion::TShape::Rect : TMapRegion::TShape::Ellipse;
            r.Left = ReadInt32(s);
            r.Top = ReadInt32(s);
            r.Right = ReadInt32(s);
            r.Bottom = ReadInt32(s);
        } else {
            r.Shape = TMapRegion::TShape::Polygon;
            const std::int32_t n = ReadInt32(s);
            CheckCount(s, n, 8);
            r.Points.resize(static_cast<std::size_t>(n));
            for (auto& [x, y] : r.Points) {
                x = ReadInt32(s);
                y = ReadInt32(s);
            }
        }
    }
    return regions;
}

void WriteMapFile(TStream& s, const std::vector<TMapRegion>& regions) {
    WriteInt32(s, static_cast<std::int32_t>(regions.size()));
    for (const TMapRegion& r : regions) {
        WriteString(s, r.Name);
        WriteByte(s, static_cast<std::uint8_t>(r.Shape));
        if (r.Shape != TMapRegion::TShape::Polygon) {
            for (std::int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) WriteInt32(s, v);
        } else {
            WriteInt32(s, static_cast<std::int32_t>(r.Points.size()));
            for (const auto& [x, y] : r.Points) {
                WriteInt32(s, x);
                WriteInt32(s, y);
            }
        }
    }
}

}  // namespace vesk
