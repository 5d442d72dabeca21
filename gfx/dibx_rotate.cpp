// Rotation with scaling (DrawRotate, DrawRotateMasked): every destination
// pixel of the rotated bounding box is mapped back into the source in 16.16
// fixed point.
#include <algorithm>
#include <memory>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"
#include "gfx/locked_draw.h"
#include "gfx/rotate_geometry.h"

namespace vesk {

namespace {

using namespace pixel;

// The indexes i in [0, n) with a + i*b >= 0, narrowing [lo, hi).
void Narrow(std::int64_t a, std::int64_t b, int& lo, int& hi) {
    if (b == 0) {
        if (a < 0) hi = lo;
        return;
    }
    if (b > 0) {
        // i >= ceil(-a / b)
        const std::int64_t num = -a;
        std::int64_t first = num >= 0 ? (num + b - 1) / b : -((-num) / b);
        if (first > lo) lo = int(std::min<std::int64_t>(first, hi));
    } else {
        // i <= floor(a / -b)
        const std::int64_t nb = -b;
        std::int64_t last = a >= 0 ? a / nb : -((-a + nb - 1) / nb);
        if (last + 1 < hi) hi = int(std::max<std::int64_t>(last + 1, lo));
    }
}

struct RotateSetup {
    TRect box;  // clipped bounding box
    std::int64_t dudx, dvdx, dudy, dvdy;
    std::int64_t u0, v0;  // at the box's top-left pixel
};

bool SetUpRotation(int x, int y, int angle, int pivotY, int pivotX, const TRect& srcRect, int scaleY, int scaleX,
                   const TRect& clip, RotateSetup& r) {
    TRotateGeometry g;
    if (!RotateGeometry(x, y, angle, pivotX, pivotY, srcRect.Width(), srcRect.Height(), scaleX, scaleY, g))
        return false;
    r.box = Intersect(g.Box, clip);
    if (r.box.IsEmpty()) return false;
    r.dudx = g.DuDx;
    r.dvdx = g.DvDx;
    r.dudy = g.DuDy;
    r.dvdy = g.DvDy;
    // Starting from the clipped corner equals stepping over the cut rows
    // and columns.
    r.u0 = g.U(r.box.Left, r.box.Top);
    r.v0 = g.V(r.box.Left, r.box.Top);
    return true;
}

void RotateSpans(TCustomDIBX& dst, TCustomDIBX& srcIn, TCustomDIBX* maskIn, int x, int y, bool flipV, bool flipH,
                 int angle, int pivotY, int pivotX, const TRect& srcRectIn, int scaleY, int scaleX, Family family,
                 const RowParams& params) {
    if (maskIn && maskIn->BitCount() != 8) return;
    RotateSetup r;
    if (!SetUpRotation(x, y, angle, pivotY, pivotX, srcRectIn, scaleY, scaleX, dst.EffectiveClip(), r)) return;
    // Source pixels that do not exist (outside the source or mask surface)
    // are not drawn, like pixels outside SrcRect.
    TRect bounds = srcIn.BoundsRect();
    if (maskIn) bounds = Intersect(bounds, maskIn->BoundsRect());
    const TRect srcRect = srcRectIn;
    LockedDraw draw(dst, srcIn, maskIn, family, params);
    if (!draw) return;
    SpanDrawer& drawer = draw.Drawer();
    const bool hasMask = draw.HasMask();
    const PixelKernels& k = Kernels();
    const int n = r.box.Width();
    std::vector<std::int32_t> index(static_cast<std::size_t>(n)), maskIndex(hasMask ? std::size_t(n) : 0);
    const std::int64_t W = srcRect.Width(), H = srcRect.Height();
    // Columns (rows) relative to SrcRect that exist on the surface.
    const std::int64_t colLo = std::max<std::int64_t>(0, bounds.Left - srcRect.Left);
    const std::int64_t colHi = std::min<std::int64_t>(W, bounds.Right - srcRect.Left);
    const std::int64_t rowLo = std::max<std::int64_t>(0, bounds.Top - srcRect.Top);
    const std::int64_t rowHi = std::min<std::int64_t>(H, bounds.Bottom - srcRect.Top);
    if (colLo >= colHi || rowLo >= rowHi) return;
    // Mirroring maps relative column c to Right - 1 - c; the columns that
    // exist must be found on the mirrored side then.
    const std::int64_t cLo = flipH ? W - colHi : colLo, cHi = flipH ? W - colLo : colHi;
    const std::int64_t rLo = flipV ? H - rowHi : rowLo, rHi = flipV ? H - rowLo : rowHi;
    for (int j = 0; j < r.box.Height(); ++j) {
        const std::int64_t u = r.u0 + j * r.dudy, v = r.v0 + j * r.dvdy;
        int lo = 0, hi = n;
        Narrow(u - cLo * 65536, r.dudx, lo, hi);
        Narrow(v - rLo * 65536, r.dvdx, lo, hi);
        Narrow(cHi * 65536 - 1 - u, -r.dudx, lo, hi);
        Narrow(rHi * 65536 - 1 - v, -r.dvdx, lo, hi);
        if (lo >= hi) continue;
        RotateRow row{u + lo * r.dudx, r.dudx, v + lo * r.dvdx, r.dvdx, srcRect.Left, srcRect.Top,
                      srcRect.Right, srcRect.Bottom, flipH, flipV, drawer.RowStride()};
        k.rotateIndex(index.data(), hi - lo, row);
        SourceSpan span{0, 0, false, index.data(), true};
        SourceSpan maskSpan = span;
        if (hasMask) {
            row.stride = drawer.MaskRowStride();
            k.rotateIndex(maskIndex.data(), hi - lo, row);
            maskSpan.index = maskIndex.data();
        }
        drawer.Span(r.box.Top + j, r.box.Left + lo, hi - lo, span, hasMask ? &maskSpan : nullptr);
    }
}

}  // namespace

void TCustomDIBX::DrawRotate(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, int angle,
                             int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                             int scaleX) {
    if (alpha <= 0 || alpha == 256) return;
    RowParams p;
    const bool keyed = transparent && src.TransparentColor != -1;
    p.useKey = keyed;
    p.key = std::uint32_t(src.TransparentColor);
    Family f;
    if (alpha == 255) {
        f = keyed ? Family::KeyCopy : Family::Copy;
    } else if (alpha < 255) {
        f = Family::Alpha;
        p.weight = alpha;
    } else {
        f = Family::Add;
        p.weight = std::min(alpha - 256, 255);
    }
    RotateSpans(*this, src, nullptr, x, y, flipV, flipH, angle, pivotY, pivotX, srcRect, scaleY, scaleX, f, p);
}

void TCustomDIBX::DrawRotateMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH, int angle,
                                   int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                                   int scaleX) {
    if (alpha <= 0 || alpha == 256) return;
    RowParams p;
    p.mask255Plain = true;
    Family f = Family::Masked;
    if (alpha == 255) {
        p.weight = -1;
    } else if (alpha < 255) {
        p.weight = alpha;
    } else {
        f = Family::AddMasked;
        p.weight = std::min(alpha - 256, 255);
    }
    RotateSpans(*this, src, &mask, x, y, flipV, flipH, angle, pivotY, pivotX, srcRect, scaleY, scaleX, f, p);
}

}  // namespace vesk
