#include "transitions/wipe_grids.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "transitions/wipe_math.h"

namespace vesk {

namespace {

std::int64_t Diagonal(std::int64_t a, std::int64_t b) { return wipe::Round(std::sqrt(double(a * a + b * b))); }

}  // namespace

std::int64_t TWipeGrid::Spread(std::int64_t q, std::int64_t r) const { return 4 * Diagonal(r - 1, q - 1); }

std::int64_t TWipeGrid::Delay(std::int64_t i, std::int64_t j, std::int64_t q, std::int64_t r) const {
    return Flag ? 4 * Diagonal(r - j - 1, q - i - 1) : 4 * Diagonal(j, i);
}

int TWipeGridH::MaskHeight() const { return std::min(std::max(Params[0], 2), Height()); }

std::int64_t TWipeGridH::Spread(std::int64_t q, std::int64_t) const { return 4 * q; }

std::int64_t TWipeGridH::Delay(std::int64_t i, std::int64_t, std::int64_t q, std::int64_t) const {
    return 4 * (Flag ? q - i - 1 : i);
}

std::int64_t TWipeGridV::Spread(std::int64_t, std::int64_t r) const { return 4 * r; }

std::int64_t TWipeGridV::Delay(std::int64_t, std::int64_t j, std::int64_t, std::int64_t r) const {
    return 4 * (Flag ? r - j - 1 : j);
}

bool TWipeGrid::BuildMask() {
    const std::int64_t cell = std::max(Params[0], 2), span = std::max(Params[1], 1);
    const int mw = Mask.Width(), mh = Mask.Height();
    const std::int64_t q = (mw + cell - 1) / cell, r = (mh + cell - 1) / cell;
    const std::int64_t v = wipe::Scale(span + Spread(q, r) - 4, Elapsed(), Duration);
    if (!NewLevel(v)) return false;
    TwoLevel = span < 2;
    FillMask(0);
    for (std::int64_t j = 0; j < r; ++j)
        for (std::int64_t i = 0; i < q; ++i) {
            const std::int64_t h = Delay(i, j, q, r);
            if (v < h) continue;
            const std::int64_t level = std::min<std::int64_t>(255, (v - h) * 255 / span);
            // (v - h) < span keeps the product below 2^62.
            const std::int64_t s = v - h >= span ? cell : cell * (v - h) / span;
            if (level <= 0 || s <= 0) continue;
            const std::int64_t left = i * cell + (cell - s) / 2, top = j * cell + (cell - s) / 2;
            const int x0 = int(std::max<std::int64_t>(left, 0)), x1 = int(std::min<std::int64_t>(left + s, mw));
            const int y0 = int(std::max<std::int64_t>(top, 0)), y1 = int(std::min<std::int64_t>(top + s, mh));
            for (int y = y0; y < y1 && x0 < x1; ++y)
                std::memset(MaskRow(y) + x0, int(level), std::size_t(x1 - x0));
        }
    return true;
}

}  // namespace vesk
