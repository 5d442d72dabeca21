#include "gfx/draw_options.h"

namespace vesk {

void DrawSurface(TCustomDIBX& dest, std::int32_t x, std::int32_t y, TCustomDIBX& src, const TRect& srcRect,
                 const TDrawOptions& o) {
    if (o.Alpha < 1) return;
    if (o.Mask) {
        if (o.Alpha <= 254) dest.DrawAlphaMasked(x, y, o.Alpha, *o.Mask, o.FlipV, o.FlipH, srcRect, src);
        else if (o.Alpha == 255) dest.DrawMasked(x, y, *o.Mask, o.FlipV, o.FlipH, srcRect, src);
        else dest.DrawAddMasked(x, y, o.Alpha - 256, *o.Mask, o.FlipV, o.FlipH, srcRect, src);
    } else {
        if (o.Alpha <= 254) dest.DrawAlpha(x, y, o.Alpha, o.FlipV, o.FlipH, o.Keyed, srcRect, src);
        else if (o.Alpha == 255) dest.Draw(x, y, o.FlipV, o.FlipH, o.Keyed, srcRect, src);
        else dest.DrawAdd(x, y, o.Alpha - 256, o.FlipV, o.FlipH, srcRect, src);
    }
}

void StretchSurface(TCustomDIBX& dest, const TRect& destRect, TCustomDIBX& src, const TRect& srcRect,
                    const TDrawOptions& o) {
    if (o.Alpha < 1) return;
    if (o.Mask) {
        if (o.Alpha > 255) dest.StretchDrawAddMasked(destRect, src, o.Alpha - 256, *o.Mask, o.FlipV, o.FlipH, srcRect);
        else dest.StretchDrawMasked(destRect, src, o.Alpha, *o.Mask, o.FlipV, o.FlipH, srcRect);
    } else {
        if (o.Alpha > 255) dest.StretchDrawAdd(destRect, src, o.Alpha - 256, o.FlipV, o.FlipH, o.Keyed, srcRect);
        else dest.StretchDraw(destRect, src, o.Alpha, o.FlipV, o.FlipH, o.Keyed, srcRect);
    }
}

void RotateSurface(TCustomDIBX& dest, TCustomDIBX& src, const TRect& srcRect, const TRotation& r,
                   const TDrawOptions& o) {
    if (o.Alpha < 1) return;
    if (o.Mask)
        dest.DrawRotateMasked(r.AnchorX, r.AnchorY, o.Alpha, *o.Mask, o.FlipV, o.FlipH, r.Angle, r.PivotY,
                              r.PivotX, srcRect, src, r.ScaleY, r.ScaleX);
    else
        dest.DrawRotate(r.AnchorX, r.AnchorY, o.Alpha, o.FlipV, o.FlipH, o.Keyed, r.Angle, r.PivotY, r.PivotX,
                        srcRect, src, r.ScaleY, r.ScaleX);
}

}  // namespace vesk
