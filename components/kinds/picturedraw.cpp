#include "components/kinds/picturedraw.h"

#include <algorithm>

#include "components/objects/vcontrol.h"
#include "gfx/draw_options.h"
#include "gfx/rotate_geometry.h"

namespace vesk {

namespace {

std::int32_t ScaleOf(std::int32_t shown, std::int32_t source) {
    return source > 0 ? static_cast<std::int32_t>(std::int64_t{shown} * 256 / source) : 0;
}

}  // namespace

void DrawPicture(TCustomDIBX& dest, const TPictureDraw& p) {
    if (!p.Surface || p.Alpha < 1 || p.Dest.IsEmpty()) return;
    TCustomDIBX& s = *p.Surface;
    const TRect all = s.BoundsRect();
    const TDrawOptions options{.Alpha = p.Alpha, .FlipV = p.FlipV, .FlipH = p.FlipH,
                               .Keyed = s.TransparentColor >= 0, .Mask = p.Mask};
    if (p.Angle % 256 != 0) {
        const TRotation rotation{.AnchorX = p.AnchorX, .AnchorY = p.AnchorY, .PivotX = p.PivotX,
                                 .PivotY = p.PivotY, .Angle = p.Angle, .ScaleX = ScaleOf(p.Dest.Width(), s.Width()),
                                 .ScaleY = ScaleOf(p.Dest.Height(), s.Height())};
        return RotateSurface(dest, s, all, rotation, options);
    }
    if (p.Dest.Width() == s.Width() && p.Dest.Height() == s.Height()) {
        if (s.DrawRects.empty()) return DrawSurface(dest, p.Dest.Left, p.Dest.Top, s, all, options);
        for (const TRect& r : s.DrawRects) {
            const std::int32_t x = p.FlipH ? p.Dest.Left + s.Width() - r.Right : p.Dest.Left + r.Left;
            const std::int32_t y = p.FlipV ? p.Dest.Top + s.Height() - r.Bottom : p.Dest.Top + r.Top;
            DrawSurface(dest, x, y, s, r, options);
        }
        return;
    }
    StretchSurface(dest, p.Dest, s, all, options);
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

// The rotating draw's geometry for the picture, with the scale in 256ths
// taken from the displayed size as DrawPicture passes it.
bool GeometryOf(const TPictureDraw& p, TRotateGeometry& g) {
    const TCustomDIBX& s = *p.Surface;
    return RotateGeometry(p.AnchorX, p.AnchorY, p.Angle, p.PivotX, p.PivotY, s.Width(), s.Height(),
                          ScaleOf(p.Dest.Width(), s.Width()), ScaleOf(p.Dest.Height(), s.Height()), g);
}

bool Rotates(const TPictureDraw& p) { return p.Surface && p.Angle % 256 != 0 && !p.Surface->BoundsRect().IsEmpty(); }

}  // namespace

TRect RotatedBox(const TPictureDraw& p) {
    if (!Rotates(p)) return p.Dest;
    TRotateGeometry g;
    if (!GeometryOf(p, g)) return {};
    auto edge = [](std::int32_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit));
    };
    return MakeRect(edge(g.Box.Left), edge(g.Box.Top), edge(g.Box.Right), edge(g.Box.Bottom));
}

bool RotatedSourcePixel(const TPictureDraw& p, std::int32_t x, std::int32_t y, std::int32_t& column,
                        std::int32_t& row) {
    TRotateGeometry g;
    if (!Rotates(p) || !GeometryOf(p, g)) return false;
    const std::int64_t u = g.U(x, y), v = g.V(x, y);
    if (u < 0 || v < 0) return false;
    const std::int64_t w = p.Surface->Width(), h = p.Surface->Height();
    const std::int64_t col = u >> 16, line = v >> 16;
    if (col >= w || line >= h) return false;
    column = static_cast<std::int32_t>(p.FlipH ? w - 1 - col : col);
    row = static_cast<std::int32_t>(p.FlipV ? h - 1 - line : line);
    return true;
}

}  // namespace vesk
