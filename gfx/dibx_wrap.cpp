// Wrapped fills: WrapDraw, FrameTile and the scaled tiling (ScaledTileDraw,
// ScaledTileDrawMasked), which repeat the source endlessly in both
// directions.
#include <algorithm>
#include <cmath>
#include <memory>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"
#include "gfx/locked_draw.h"

namespace vesk {

namespace {

using namespace pixel;

int Mod(std::int64_t a, int m) {
    const std::int64_t r = a % m;
    return int(r < 0 ? r + m : r);
}

// Draws rows through a drawer, with a per-column and per-row source
// mapping. Handles locking and self-draws.
template <class Cols, class Rows>
void MappedSpans(TCustomDIBX& dst, TCustomDIBX& srcIn, TCustomDIBX* maskIn, const TRect& area, Family family,
                 const RowParams& params, Cols&& colOf, Rows&& rowOf) {
    LockedDraw draw(dst, srcIn, maskIn, family, params);
    if (!draw) return;
    SpanDrawer& drawer = draw.Drawer();
    const bool hasMask = draw.HasMask();
    const int n = area.Width();
    std::vector<std::int32_t> cols(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) cols[std::size_t(i)] = colOf(i);
    for (int j = 0; j < area.Height(); ++j) {
        const SourceSpan span{rowOf(j), 0, false, cols.data(), false};
        drawer.Span(area.Top + j, area.Left, n, span, hasMask ? &span : nullptr);
    }
}

void WrapRect(TCustomDIBX& dst, const TRect& destRect, TCustomDIBX& src, const TRect& srcRectIn, bool flipV,
              bool flipH, int offsetY, int offsetX) {
    const TRect srcRect = Intersect(srcRectIn, src.BoundsRect());
    if (srcRect.IsEmpty()) return;
    const TRect area = Intersect(destRect, dst.EffectiveClip());
    if (area.IsEmpty()) return;
    const std::int64_t ox = std::int64_t(offsetX) + (area.Left - destRect.Left);
    const std::int64_t oy = std::int64_t(offsetY) + (area.Top - destRect.Top);
    const int W = srcRect.Width(), H = srcRect.Height();
    MappedSpans(
        dst, src, nullptr, area, Family::Copy, RowParams{},
        [&](int i) {
            const int m = Mod(ox + i, W);
            return srcRect.Left + (flipH ? W - 1 - m : m);
        },
        [&](int j) {
            const int m = Mod(oy + j, H);
            return srcRect.Top + (flipV ? H - 1 - m : m);
        });
}

void ScaledTile(TCustomDIBX& dst, const TRect& destRect, TCustomDIBX& src, TCustomDIBX* mask, bool flipV, bool flipH,
                int offsetY, int offsetX, int scaleY, int scaleX, Family family, const RowParams& params) {
    if (scaleX <= 0 || scaleY <= 0) return;
    if (mask && mask->BitCount() != 8) return;
    TRect bounds = src.BoundsRect();
    if (mask) bounds = Intersect(bounds, mask->BoundsRect());
    if (bounds.IsEmpty()) return;
    const TRect area = Intersect(destRect, dst.EffectiveClip());
    if (area.IsEmpty()) return;
    const int W = bounds.Width(), H = bounds.Height();
    const std::int64_t spanU = std::int64_t(W) * 65536, spanV = std::int64_t(H) * 65536;
    // At most one whole source width (height) per destination pixel.
    std::int64_t du = std::min<std::int64_t>(spanU, std::int64_t(65536.0 * 256.0 / scaleX));
    std::int64_t dv = std::min<std::int64_t>(spanV, std::int64_t(65536.0 * 256.0 / scaleY));
    if (flipH) du = -du;
    if (flipV) dv = -dv;
    auto start = [](int offset, int size, int scale) {
        const double tile = size * scale / 256.0;
        double f = std::fmod(offset / tile, 1.0);
        if (f < 0) f += 1.0;
        return std::int64_t(f * size * 65536.0);
    };
    const std::int64_t u0 = start(offsetX, W, scaleX) + (area.Left - destRect.Left) * du;
    const std::int64_t v0 = start(offsetY, H, scaleY) + (area.Top - destRect.Top) * dv;
    auto wrap = [](std::int64_t p, std::int64_t span) {
        const std::int64_t r = p % span;
        return r < 0 ? r + span : r;
    };
    MappedSpans(
        dst, src, mask, area, family, params, [&](int i) { return int(wrap(u0 + i * du, spanU) >> 16); },
        [&](int j) { return int(wrap(v0 + j * dv, spanV) >> 16); });
}

}  // namespace

void TCustomDIBX::WrapDraw(const TRect& destRect, TCustomDIBX& src, bool flipV, bool flipH, int offsetY,
                           int offsetX) {
    WrapRect(*this, destRect, src, src.BoundsRect(), flipV, flipH, offsetY, offsetX);
}

void TCustomDIBX::FrameTile(const TRect& rect, int width, int offsetY, int offsetX, const TRect& srcRect,
                            TCustomDIBX& src) {
    const TRect bands[4] = {
        {rect.Left, rect.Top, rect.Right, rect.Top + width},
        {rect.Left, rect.Bottom - width, rect.Right, rect.Bottom},
        {rect.Left, rect.Top + width, rect.Left + width, rect.Bottom - width},
        {rect.Right - width, rect.Top + width, rect.Right, rect.Bottom - width},
    };
    for (const TRect& b : bands) WrapRect(*this, b, src, srcRect, false, false, offsetY, offsetX);
}

void TCustomDIBX::ScaledTileDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                                 bool transparent, int offsetY, int offsetX, int scaleY, int scaleX) {
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
    ScaledTile(*this, destRect, src, nullptr, flipV, flipH, offsetY, offsetX, scaleY, scaleX, f, p);
}

void TCustomDIBX::ScaledTileDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask,
                                       bool flipV, bool flipH, int offsetY, int offsetX, int scaleY, int scaleX) {
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
    ScaledTile(*this, destRect, src, &mask, flipV, flipH, offsetY, offsetX, scaleY, scaleX, f, p);
}

}  // namespace vesk
