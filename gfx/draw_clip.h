#pragma once

#include "gfx/rect.h"

namespace vesk::pixel {

// The clipped destination of an unscaled draw and the source rectangle
// that lands on it.
struct ClippedDraw {
    TRect dest;
    TRect src;
};

// Clips the destination (x, y) + size of src against clip. Each edge cut
// away moves the matching source edge by the same amount, mirrored when the
// draw is mirrored: with FlipH a cut at the left shortens the source from
// the right. Returns false when nothing is left.
bool ClipUnscaled(int x, int y, const TRect& src, bool flipV, bool flipH, const TRect& clip, ClippedDraw& out);

// Narrows src to bounds (the source or mask surface), moving the
// destination position so that the remaining pixels land where they would
// have landed. Pixels outside a surface do not exist and are not drawn.
void CropSource(TRect& src, int& x, int& y, const TRect& bounds, bool flipV, bool flipH);

}  // namespace vesk::pixel
