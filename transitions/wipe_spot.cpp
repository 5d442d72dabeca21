#include "transitions/wipe_spot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/colour_tables.h"
#include "transitions/grey_rows.h"
#include "transitions/locked_frames.h"
#include "transitions/wipe_math.h"

namespace vesk {

TWipeSpot::TWipeSpot(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw) : TCustomWipe(target, old, nw) {
    BuildDistances();
}

void TWipeSpot::SetFlag(std::uint8_t flag) {
    const bool changed = flag != Flag;
    TCustomWipe::SetFlag(flag);
    if (changed) BuildDistances();
}

void TWipeSpot::BuildDistances() {
    const int w = std::max(Width(), 0), h = std::max(Height(), 0), cx = w / 2, cy = h / 2;
    const auto reach = std::int32_t(wipe::Round(std::sqrt(double(cx) * cx + double(cy) * cy)));
    Span = reach + 512;
    Distances.resize(std::size_t(w) * std::size_t(h));
    rowMin_.assign(std::size_t(h), 0);
    rowMax_.assign(std::size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        std::int32_t* row = Distances.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            const double dx = x - cx, dy = y - cy;
            const auto d = std::int32_t(wipe::Round(std::sqrt(dy * dy + dx * dx)));
            row[x] = Flag ? reach - d : d;
        }
        if (w == 0) continue;
        const auto [lo, hi] = std::minmax_element(row, row + w);
        rowMin_[std::size_t(y)] = *lo;
        rowMax_[std::size_t(y)] = *hi;
    }
}

bool TWipeSpot::Step() {
    if (!BeginStep()) return true;
    const auto b = int(wipe::Scale(Span, Elapsed(), Duration));
    const wipe::TLockedFrames frames(*this);
    if (!frames) return false;
    const int w = Width();
    const bool is32 = BitCount() == 32;
    const std::size_t rowBytes = std::size_t(w) * (is32 ? 4 : 2);
    const wipe::Fields16 f(*Target);
    const std::uint16_t* grey16 = ColourTables().GreyPixels16.data();
    for (int y = 0; y < Height(); ++y) {
        const std::int32_t* dist = Distances.data() + std::size_t(y) * std::size_t(w);
        // The ring has not reached any pixel of the row, or has passed all.
        if (b < rowMin_[std::size_t(y)])
            std::memcpy(frames.Target<std::uint8_t>(y), frames.Old<std::uint8_t>(y), rowBytes);
        else if (b >= rowMax_[std::size_t(y)] + 512)
            std::memcpy(frames.Target<std::uint8_t>(y), frames.New<std::uint8_t>(y), rowBytes);
        else if (is32)
            wipe::SpotRow(frames.Target<std::uint32_t>(y), frames.Old<std::uint32_t>(y), frames.New<std::uint32_t>(y),
                          dist, w, b);
        else
            wipe::SpotRow(frames.Target<std::uint16_t>(y), frames.Old<std::uint16_t>(y), frames.New<std::uint16_t>(y),
                          dist, w, b, f, grey16);
    }
    return false;
}

}  // namespace vesk
