#include "gfx/draw_clip.h"

#include <algorithm>

namespace vesk::pixel {

bool ClipUnscaled(int x, int y, const TRect& src, bool flipV, bool flipH, const TRect& clip, ClippedDraw& out) {
    if (src.IsEmpty()) return false;
    const TRect full{x, y, x + src.Width(), y + src.Height()};
    const TRect d = Intersect(full, clip);
    if (d.IsEmpty()) return false;
    const int cutL = d.Left - full.Left, cutR = full.Right - d.Right;
    const int cutT = d.Top - full.Top, cutB = full.Bottom - d.Bottom;
    TRect s = src;
    s.Left += flipH ? cutR : cutL;
    s.Right -= flipH ? cutL : cutR;
    s.Top += flipV ? cutB : cutT;
    s.Bottom -= flipV ? cutT : cutB;
    out = ClippedDraw{d, s};
    return true;
}

void CropSource(TRect& src, int& x, int& y, const TRect& bounds, bool flipV, bool flipH) {
    const int cutL = std::max(bounds.Left - src.Left, 0), cutR = std::max(src.Right - bounds.Right, 0);
    const int cutT = std::max(bounds.Top - src.Top, 0), cutB = std::max(src.Bottom - bounds.Bottom, 0);
    src.Left += cutL;
    src.Right -= cutR;
    src.Top += cutT;
    src.Bottom -= cutB;
    x += flipH ? cutR : cutL;
    y += flipV ? cutB : cutT;
}

}  // namespace vesk::pixel
