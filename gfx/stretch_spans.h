#pragma once

#include "gfx/dibx.h"
#include "gfx/draw_span.h"

namespace vesk::pixel {

// Draws SrcRect of src stretched over destRect (clipped) through one span
// family; mask, when given, is sampled at the same source pixels.
void StretchSpans(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const TRect& destRect,
                  const TRect& srcRect, bool flipV, bool flipH, Family family, const RowParams& params);

}  // namespace vesk::pixel
