#include "components/picturedraw.h"

#include <cmath>
#include <numbers>

namespace vesk {

namespace {

std::int32_t ScaleOf(std::int32_t shown, std::int32_t source) {
    return source > 0 ? static_cast<std::int32_t>(std::int64_t{shown} * 256 / source) : 0;
}

void CopyPart(TCustomDIBX& dest, const TPictureDraw& p, std::int32_t x, std::int32_t y, const TRect& src) {
    TCustomDIBX& s = *p.Surface;
    const bool keyed = s.TransparentColor >= 0;
    if (p.Mask) {
        if (p.Alpha <= 254) dest.DrawAlphaMasked(x, y, p.Alpha, *p.Mask, p.FlipV, p.FlipH, src, s);
        else if (p.Alpha == 255) dest.DrawMasked(x, y, *p.Mask, p.FlipV, p.FlipH, src, s);
        else dest.DrawAddMasked(x, y, p.Alpha - 256, *p.Mask, p.FlipV, p.FlipH, src, s);
    } else {
        if (p.Alpha <= 254) dest.DrawAlpha(x, y, p.Alpha, p.FlipV, p.FlipH, keyed, src, s);
        else if (p.Alpha == 255) dest.Draw(x, y, p.FlipV, p.FlipH, keyed, src, s);
        else dest.DrawAdd(x, y, p.Alpha - 256, p.FlipV, p.FlipH, src, s);
    }
}

}  // namespace

void DrawPicture(TCustomDIBX& dest, const TPictureDraw& p) {
    if (!p.Surface || p.Alpha < 1 || p.Dest.IsEmpty()) return;
    TCustomDIBX& s = *p.Surface;
    const TRect all = s.BoundsRect();
    const bool keyed = s.TransparentColor >= 0;
    if (p.Angle % 256 != 0) {
        const std::int32_t sx = ScaleOf(p.Dest.Width(), s.Width()), sy = ScaleOf(p.Dest.Height(), s.Height());
        if (p.Mask)
            dest.DrawRotateMasked(p.AnchorX, p.AnchorY, p.Alpha, *p.Mask, p.FlipV, p.FlipH, p.Angle, p.PivotY,
                                  p.PivotX, all, s, sy, sx);
        else
            dest.DrawRotate(p.AnchorX, p.AnchorY, p.Alpha, p.FlipV, p.FlipH, keyed, p.Angle, p.PivotY, p.PivotX,
                            all, s, sy, sx);
        return;
    }
    if (p.Dest.Width() == s.Width() && p.Dest.Height() == s.Height()) {
        if (s.DrawRects.empty()) return CopyPart(dest, p, p.Dest.Left, p.Dest.Top, all);
        for (const TRect& r : s.DrawRects) {
            const std::int32_t x = p.FlipH ? p.Dest.Left + s.Width() - r.Right : p.Dest.Left + r.Left;
            const std::int32_t y = p.FlipV ? p.Dest.Top + s.Height() - r.Bottom : p.Dest.Top + r.Top;
            CopyPart(dest, p, x, y, r);
        }
        return;
    }
    if (p.Mask) {
        if (p.Alpha > 255) dest.StretchDrawAddMasked(p.Dest, s, p.Alpha - 256, *p.Mask, p.FlipV, p.FlipH, all);
        else dest.StretchDrawMasked(p.Dest, s, p.Alpha, *p.Mask, p.FlipV, p.FlipH, all);
    } else {
        if (p.Alpha > 255) dest.StretchDrawAdd(p.Dest, s, p.Alpha - 256, p.FlipV, p.FlipH, keyed, all);
        else dest.StretchDraw(p.Dest, s, p.Alpha, p.FlipV, p.FlipH, keyed, all);
    }
}

std::unique_ptr<TDIBX> BrightnessCopy(TDIBX& src, std::int32_t v) {
    auto copy = std::make_unique<TDIBX>(src.Width(), src.Height(), src.BitCount());
    copy->Assign(src);
    const std::int32_t level = std::clamp(v < 0 ? -v : v, 0, 255);
    const auto grey = static_cast<TPixel>(copy->ColorToPixel(level | level << 8 | level << 16));
    auto adjust = [&](TCustomDIBX& s) {
        if (v > 0) s.AddRect(s.BoundsRect(), grey);
        else s.SubRect(s.BoundsRect(), grey);
    };
    copy->TransparentColor = -1;
    if (src.TransparentColor >= 0) {
        TDIBX key(1, 1, src.BitCount());
        key.SetPixel(0, 0, static_cast<TPixel>(src.TransparentColor));
        adjust(key);
        copy->TransparentColor = static_cast<std::int32_t>(key.GetPixel(0, 0));
    }
    adjust(*copy);
    return copy;
}

namespace {

double Radians(std::int32_t angle) { return angle * 2.0 * std::numbers::pi / 256.0; }

}  // namespace

TRect RotatedBounds(const TRect& r, std::int32_t angle, std::int32_t cx, std::int32_t cy) {
    if (angle % 256 == 0) return r;
    const double c = std::cos(Radians(angle)), s = std::sin(Radians(angle));
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (double x : {double(r.Left), double(r.Right)})
        for (double y : {double(r.Top), double(r.Bottom)}) {
            const double dx = x - cx, dy = y - cy;
            const double rx = cx + dx * c - dy * s, ry = cy + dx * s + dy * c;
            minX = std::min(minX, rx), maxX = std::max(maxX, rx);
            minY = std::min(minY, ry), maxY = std::max(maxY, ry);
        }
    auto to32 = [](double v) { return static_cast<std::int32_t>(std::clamp(v, -2e9, 2e9)); };
    return MakeRect(to32(std::floor(minX)), to32(std::floor(minY)), to32(std::ceil(maxX)), to32(std::ceil(maxY)));
}

void RotateBack(std::int32_t& x, std::int32_t& y, std::int32_t angle, std::int32_t cx, std::int32_t cy) {
    if (angle % 256 == 0) return;
    const double c = std::cos(Radians(angle)), s = std::sin(Radians(angle));
    const double dx = x - cx, dy = y - cy;
    x = static_cast<std::int32_t>(std::lround(std::clamp(cx + dx * c + dy * s, -2e9, 2e9)));
    y = static_cast<std::int32_t>(std::lround(std::clamp(cy - dx * s + dy * c, -2e9, 2e9)));
}

}  // namespace vesk
