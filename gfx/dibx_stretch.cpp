// Nearest-pixel stretched draws (StretchDraw … StretchDrawAddMasked).
#include <algorithm>
#include <memory>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"
#include "gfx/locked_draw.h"
#include "gfx/stretch_map.h"
#include "gfx/stretch_spans.h"

namespace vesk {

namespace pixel {

void StretchSpans(TCustomDIBX& dst, TCustomDIBX& srcIn, TCustomDIBX* maskIn, const TRect& destRect,
                  const TRect& srcRect, bool flipV, bool flipH, Family family, const RowParams& params) {
    if (maskIn && maskIn->BitCount() != 8) return;
    TRect bounds = srcIn.BoundsRect();
    if (maskIn) bounds = Intersect(bounds, maskIn->BoundsRect());
    StretchMap map;
    if (!BuildStretchMap(destRect, srcRect, bounds, flipV, flipH, dst.EffectiveClip(), map)) return;
    LockedDraw draw(dst, srcIn, maskIn, family, params);
    if (!draw) return;
    SpanDrawer& drawer = draw.Drawer();
    const bool hasMask = draw.HasMask();
    const int n = map.dest.Width();
    const bool repeat = drawer.CanRepeatRows();
    int lastRow = -1, lastY = 0;
    for (int j = 0; j < map.dest.Height(); ++j) {
        const int row = map.SourceRow(j);
        if (row < 0) continue;
        const int y = map.dest.Top + j;
        if (repeat && row == lastRow) {
            drawer.RepeatRow(lastY, y, map.dest.Left, n);
            continue;
        }
        const SourceSpan span{row, 0, false, map.cols.data(), false};
        drawer.Span(y, map.dest.Left, n, span, hasMask ? &span : nullptr);
        lastRow = row;
        lastY = y;
    }
}

}  // namespace pixel

using namespace pixel;

void TCustomDIBX::StretchDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                              bool transparent, const TRect& srcRect) {
    if (alpha <= 0) return;
    RowParams p;
    const bool keyed = transparent && src.TransparentColor != -1;
    p.useKey = keyed;
    p.key = std::uint32_t(src.TransparentColor);
    Family f;
    if (alpha >= 255) {
        f = keyed ? Family::KeyCopy : Family::Copy;
    } else {
        f = Family::Alpha;
        p.weight = alpha;
        p.skipEqual = BitCount() == 32;
    }
    StretchSpans(*this, src, nullptr, destRect, srcRect, flipV, flipH, f, p);
}

void TCustomDIBX::StretchDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask,
                                    bool flipV, bool flipH, const TRect& srcRect) {
    if (alpha <= 0) return;
    RowParams p;
    // Alpha 255: the mask alone weighs (255 copies); below, mask 255 gives
    // alpha and other masks (mask * alpha) >> 8.
    p.weight = alpha >= 255 ? -1 : alpha;
    p.mask255Plain = true;
    StretchSpans(*this, src, &mask, destRect, srcRect, flipV, flipH, Family::Masked, p);
}

void TCustomDIBX::StretchDrawAdd(const TRect& destRect, TCustomDIBX& src, int intensity, bool flipV, bool flipH,
                                 bool transparent, const TRect& srcRect) {
    if (intensity <= 0) return;
    RowParams p;
    p.weight = std::min(intensity, 255);
    p.useKey = transparent && src.TransparentColor != -1;
    p.key = std::uint32_t(src.TransparentColor);
    StretchSpans(*this, src, nullptr, destRect, srcRect, flipV, flipH, Family::Add, p);
}

void TCustomDIBX::StretchDrawAddMasked(const TRect& destRect, TCustomDIBX& src, int intensity, TCustomDIBX& mask,
                                       bool flipV, bool flipH, const TRect& srcRect) {
    if (intensity <= 0) return;
    RowParams p;
    p.weight = std::min(intensity, 255);
    p.mask255Plain = true;
    StretchSpans(*this, src, &mask, destRect, srcRect, flipV, flipH, Family::AddMasked, p);
}

}  // namespace vesk
