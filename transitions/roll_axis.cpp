#include "transitions/roll_axis.h"

#include "gfx/pixel_rows.h"
#include "transitions/stretch_walk.h"

namespace vesk::wipe {

namespace {

template <class P>
void StretchColumns(const pixel::LockedSurface& d, const pixel::LockedSurface& s, int rows, const TStretchWalk& walk,
                    int to, int toLength) {
    for (int y = 0; y < rows; ++y)
        StretchRow(reinterpret_cast<P*>(d.Row(y)) + to, reinterpret_cast<const P*>(s.Row(y)), walk, toLength);
}

}  // namespace

// Rows stretch with one call of the stretched draw, which copies repeated
// rows whole. Columns are walked here row by row: the draw's per-column
// index table and span calls cost more than the pixels of these short
// stretches.
void TRollAxis::Stretch(TCustomDIBX& target, TCustomDIBX& src, int from, int length, int to, int toLength) const {
    if (vertical) {
        target.StretchDraw(Band(to, to + toLength), src, 255, false, false, false, Band(from, from + length));
        return;
    }
    if (length <= 0 || toLength <= 0) return;
    const pixel::LockedSurface d(target), s(src);
    if (!d || !s) return;
    const TStretchWalk walk(from, length, toLength);
    if (d.Bpp() == 32) StretchColumns<std::uint32_t>(d, s, across, walk, to, toLength);
    else StretchColumns<std::uint16_t>(d, s, across, walk, to, toLength);
}

}  // namespace vesk::wipe
