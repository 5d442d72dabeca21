#pragma once

#include <memory>

#include "gfx/dibx.h"
#include "gfx/draw_span.h"

namespace vesk::pixel {

// One unscaled draw (Draw … DrawAddMasked and DrawCoverage): SrcRect of src
// lands at (x, y) of dst, mirrored as asked, clipped to dst's effective
// clip; mask, when given, is walked in step with the source. With
// sourceIsMask the surface src is itself the 8-bit coverage and no colour
// source is read.
struct UnscaledDraw {
    int x = 0, y = 0;
    TRect srcRect;
    bool flipV = false, flipH = false;
    Family family = Family::Copy;
    RowParams params;
};

void DrawUnscaled(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const UnscaledDraw& draw);

// A copy of the whole surface, for draws whose source is their destination:
// overlapping rows must never read pixels the draw has already written.
std::unique_ptr<TDIBX> CopyOfSurface(TCustomDIBX& src);

// Coverage draws read src as the mask and draw params.colour.
void DrawCoverageSpans(TCustomDIBX& dst, TCustomDIBX& coverage, const UnscaledDraw& draw);

}  // namespace vesk::pixel
