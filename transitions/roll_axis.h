#pragma once

#include "gfx/dibx.h"
#include "transitions/wipe.h"
#include "transitions/wipe_math.h"

namespace vesk::wipe {

// The axis along which the bamboo-blind and rubber kinds roll: columns for
// their H kinds, rows for their V kinds.
struct TRollAxis {
    bool vertical;
    int size;    // pixels along the axis
    int across;  // pixels across it

    TRollAxis(const TCustomWipe& w, bool isVertical)
        : vertical(isVertical), size(isVertical ? w.Height() : w.Width()),
          across(isVertical ? w.Width() : w.Height()) {}

    // The lines from .. to - 1 along the axis, across the whole screen.
    TRect Band(int from, int to) const { return vertical ? TRect{0, from, across, to} : TRect{from, 0, to, across}; }

    // Stretches src's lines from .. from + length - 1 over the target's
    // lines to .. to + toLength - 1, as the stretched draw does.
    void Stretch(TCustomDIBX& target, TCustomDIBX& src, int from, int length, int to, int toLength) const;
    // Copies src's lines from .. to - 1 to the same place.
    void Copy(TCustomDIBX& target, TCustomDIBX& src, int from, int to) const {
        const TRect band = Band(from, to);
        target.Draw(band.Left, band.Top, false, false, false, band, src);
    }
};

// Where a roll stands: the old picture rolls up into its line k over the
// first half, then the new one unrolls from its line k.
struct TRoll {
    int k;         // the line the picture is rolled into
    bool fromNew;  // the source is the new picture
    int rest;      // size - k - 1, the line from the far edge

    TRoll(int size, std::int32_t elapsed, std::int32_t duration) {
        k = int(Scale(2 * std::int64_t(size) - 1, elapsed, duration));
        fromNew = k >= size;
        if (fromNew) k = 2 * size - k - 1;
        rest = size - k - 1;
    }
};

}  // namespace vesk::wipe
