#include "gfx/stretch_map.h"

#include <cmath>

namespace vesk::pixel {

bool BuildStretchMap(const TRect& destRect, const TRect& srcRect, const TRect& srcBounds, bool flipV, bool flipH,
                     const TRect& clip, StretchMap& out) {
    if (destRect.IsEmpty() || srcRect.IsEmpty()) return false;
    const TRect d = Intersect(destRect, clip);
    if (d.IsEmpty()) return false;
    const double qx = double(srcRect.Width()) / destRect.Width();
    const double qy = double(srcRect.Height()) / destRect.Height();

    // A cut at the left or top moves the source start by cut * ratio: the
    // whole part moves the source edge, the fraction starts the walk.
    const double sx = (d.Left - destRect.Left) * qx, sy = (d.Top - destRect.Top) * qy;
    const double wx = std::floor(sx), wy = std::floor(sy);
    const std::int64_t fx = std::int64_t((sx - wx) * 65536.0), fy = std::int64_t((sy - wy) * 65536.0);
    const std::int64_t stepX = std::int64_t(qx * 65536.0), stepY = std::int64_t(qy * 65536.0);

    std::int64_t pos;
    if (flipH) pos = (std::int64_t(srcRect.Right) - std::int64_t(wx)) * 65536 - fx - 1;
    else pos = (std::int64_t(srcRect.Left) + std::int64_t(wx)) * 65536 + fx;
    const std::int64_t step = flipH ? -stepX : stepX;
    if (flipV) out.rowStart = (std::int64_t(srcRect.Bottom) - std::int64_t(wy)) * 65536 - 1 - fy;
    else out.rowStart = (std::int64_t(srcRect.Top) + std::int64_t(wy)) * 65536 + fy;
    out.rowStep = flipV ? -stepY : stepY;
    out.valid = Intersect(srcRect, srcBounds);
    if (out.valid.IsEmpty()) return false;

    // Source columns are monotone along the row, so the drawable columns
    // form one run.
    const int n = d.Width();
    int first = 0, last = n;
    auto col = [&](int i) { return (pos + i * step) >> 16; };
    while (first < last && (col(first) < out.valid.Left || col(first) >= out.valid.Right)) ++first;
    while (last > first && (col(last - 1) < out.valid.Left || col(last - 1) >= out.valid.Right)) --last;
    if (first == last) return false;
    out.cols.resize(std::size_t(last - first));
    for (int i = first; i < last; ++i) out.cols[std::size_t(i - first)] = std::int32_t(col(i));
    out.dest = TRect{d.Left + first, d.Top, d.Left + last, d.Bottom};
    return true;
}

}  // namespace vesk::pixel
