#include "gfx/rotate_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vesk {

bool RotateGeometry(int x, int y, int angle, int pivotX, int pivotY, int w, int h, int scaleX, int scaleY,
                    TRotateGeometry& g) {
    if (scaleX <= 0 || scaleY <= 0 || w <= 0 || h <= 0) return false;
    const double theta = angle * 2.0 * std::numbers::pi / 256.0;
    const double sx = scaleX / 256.0, sy = scaleY / 256.0;
    const double c = std::cos(theta), s = std::sin(theta);
    const double px[2] = {-pivotX * sx, w * sx - pivotX * sx - 1};
    const double py[2] = {-pivotY * sy, h * sy - pivotY * sy - 1};
    double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
    for (double cx : px)
        for (double cy : py) {
            const double mx = x + cx * c - cy * s, my = y + cx * s + cy * c;
            minX = std::min(minX, mx), maxX = std::max(maxX, mx);
            minY = std::min(minY, my), maxY = std::max(maxY, my);
        }
    auto toInt = [](double v) { return std::int32_t(std::clamp(std::trunc(v), -2147483647.0, 2147483647.0)); };
    g.Box = TRect{toInt(minX), toInt(minY), toInt(maxX + 1), toInt(maxY + 1)};
    g.DuDx = std::int64_t(65536.0 * c / sx);
    g.DvDx = std::int64_t(-65536.0 * s / sy);
    g.DuDy = std::int64_t(65536.0 * s / sx);
    g.DvDy = std::int64_t(65536.0 * c / sy);
    g.X = x;
    g.Y = y;
    g.PivotX = pivotX;
    g.PivotY = pivotY;
    return true;
}

}  // namespace vesk
