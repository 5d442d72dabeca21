#pragma once

#include <cstdint>
#include <vector>

#include "gfx/rect.h"

namespace vesk::pixel {

// The nearest-pixel mapping of a stretched draw: SrcRect spread over
// DestRect, clipped. cols[i] is the source column of destination column
// dest.Left + i; SourceRow(j) the source row of destination row
// dest.Top + j, or -1 when it falls outside SrcRect (the row is left as it
// is). Columns whose source lies outside SrcRect or the source surface are
// cut from dest, so every column of the map is drawable.
struct StretchMap {
    TRect dest;
    std::vector<std::int32_t> cols;
    std::int64_t rowStart = 0;  // 16.16
    std::int64_t rowStep = 0;
    TRect valid;  // SrcRect within the source surface

    int SourceRow(int j) const {
        const std::int64_t r = (rowStart + j * rowStep) >> 16;
        return r >= valid.Top && r < valid.Bottom ? int(r) : -1;
    }
};

// False when nothing is drawn (empty rectangles, nothing left after the clip).
bool BuildStretchMap(const TRect& destRect, const TRect& srcRect, const TRect& srcBounds, bool flipV, bool flipH,
                     const TRect& clip, StretchMap& out);

}  // namespace vesk::pixel
