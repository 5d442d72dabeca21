// Tiling through the unscaled draws (TileDraw … TileDrawAddMasked) and
// through the stretch family (TileStretchDraw, TileStretchDrawMasked).
#include <algorithm>
#include <cmath>

#include "gfx/clip_scope.h"
#include "gfx/dibx.h"

namespace vesk {

namespace {

using namespace pixel;

// One axis of unscaled tiling: the first tile begins at source position
// `first` and runs to the end of the source; the others are whole. Calls
// tile(destPos, srcStart, srcEnd) for every tile that reaches into
// [clipLo, clipHi).
template <class F>
void LayTiles(int destLo, int destHi, int clipLo, int clipHi, int srcLo, int srcHi, int offset, int gap, F&& tile) {
    const int size = srcHi - srcLo;
    if (size <= 0) return;
    const int first = offset >= 0 ? srcLo + offset % size : srcHi - (-(std::int64_t)offset) % size;
    std::int64_t pos = destLo;
    // The first tile: what remains of the source after the start.
    if (pos < destHi && pos + (srcHi - first) > clipLo && pos < clipHi) tile(int(pos), first, srcHi);
    pos += (srcHi - first) + gap;
    // Whole tiles; skip those left of the clip without visiting them.
    const std::int64_t step = std::max<std::int64_t>(1, std::int64_t(size) + gap);
    if (pos + size <= clipLo) pos += ((clipLo - (pos + size)) / step + 1) * step;
    for (; pos < destHi && pos < clipHi; pos += step)
        if (pos + size > clipLo) tile(int(pos), srcLo, srcHi);
}

template <class F>
void TileGrid(TCustomDIBX& dst, const TRect& destRect, int gapX, int offsetY, int offsetX, const TRect& srcRect,
              int gapY, F&& draw) {
    const TRect area = Intersect(destRect, dst.EffectiveClip());
    if (area.IsEmpty() || srcRect.IsEmpty()) return;
    ClipScope scope(dst, area);
    LayTiles(destRect.Top, destRect.Bottom, area.Top, area.Bottom, srcRect.Top, srcRect.Bottom, offsetY, gapY,
             [&](int y, int sTop, int sBottom) {
                 LayTiles(destRect.Left, destRect.Right, area.Left, area.Right, srcRect.Left, srcRect.Right, offsetX,
                          gapX, [&](int x, int sLeft, int sRight) {
                              draw(x, y, TRect{sLeft, sTop, sRight, sBottom});
                          });
             });
}

// Stretched tiling: tiles of the scaled size at origins stepped in 16.16.
template <class F>
void StretchTileGrid(TCustomDIBX& dst, const TRect& destRect, int spacingX, int offsetY, int offsetX,
                     const TRect& srcRect, int scaleY, int scaleX, int spacingY, F&& draw) {
    if (scaleX <= 0 || scaleY <= 0 || srcRect.IsEmpty()) return;
    const TRect area = Intersect(destRect, dst.EffectiveClip());
    if (area.IsEmpty()) return;
    ClipScope scope(dst, area);
    const int tileW = std::max(1, int(std::int64_t(srcRect.Width()) * scaleX / 256));
    const int tileH = std::max(1, int(std::int64_t(srcRect.Height()) * scaleY / 256));
    auto step16 = [](int scale, int spacing) {
        const double px = double(scale) * spacing / 256.0;
        return std::max<std::int64_t>(65536, std::llround(px * 65536.0));
    };
    const std::int64_t sx = step16(scaleX, spacingX), sy = step16(scaleY, spacingY);
    auto start16 = [](int destLo, int offset, std::int64_t step) {
        const double st = step / 65536.0;
        const double q = offset / st;
        const double frac = q - std::trunc(q);
        const double back = offset >= 0 ? frac * st : st + frac * st;
        return std::int64_t(std::llround((destLo - back) * 65536.0));
    };
    auto firstAt = [](std::int64_t start, std::int64_t step, int tile, int clipLo) {
        // Skip origins whose tile ends before the clip.
        const std::int64_t need = (std::int64_t(clipLo) - tile) * 65536 - start;
        return need > 0 ? start + (need / step) * step : start;
    };
    auto px = [](std::int64_t p16) { return int((p16 + 32768) >> 16); };
    for (std::int64_t oy = firstAt(start16(destRect.Top, offsetY, sy), sy, tileH, area.Top);
         px(oy) < destRect.Bottom && px(oy) < area.Bottom; oy += sy)
        for (std::int64_t ox = firstAt(start16(destRect.Left, offsetX, sx), sx, tileW, area.Left);
             px(ox) < destRect.Right && px(ox) < area.Right; ox += sx)
            draw(TRect{px(ox), px(oy), px(ox) + tileW, px(oy) + tileH});
}

}  // namespace

void TCustomDIBX::TileDraw(const TRect& destRect, int gapX, int offsetY, int offsetX, bool transparent,
                           const TRect& srcRect, TCustomDIBX& src, int gapY) {
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { Draw(x, y, false, false, transparent, s, src); });
}

void TCustomDIBX::TileDrawAlpha(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                                bool transparent, const TRect& srcRect, TCustomDIBX& src, int gapY) {
    if (alpha <= 0) return;
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { DrawAlpha(x, y, alpha, false, false, transparent, s, src); });
}

void TCustomDIBX::TileDrawAdd(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                              const TRect& srcRect, TCustomDIBX& src, int gapY) {
    if (intensity <= 0) return;
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { DrawAdd(x, y, intensity, false, false, s, src); });
}

void TCustomDIBX::TileDrawMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, TCustomDIBX& mask,
                                 const TRect& srcRect, TCustomDIBX& src, int gapY) {
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { DrawMasked(x, y, mask, false, false, s, src); });
}

void TCustomDIBX::TileDrawAlphaMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                                      TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) {
    if (alpha <= 0) return;
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { DrawAlphaMasked(x, y, alpha, mask, false, false, s, src); });
}

void TCustomDIBX::TileDrawAddMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                                    TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) {
    if (intensity <= 0) return;
    TileGrid(*this, destRect, gapX, offsetY, offsetX, srcRect, gapY,
             [&](int x, int y, const TRect& s) { DrawAddMasked(x, y, intensity, mask, false, false, s, src); });
}

void TCustomDIBX::TileStretchDraw(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                                  bool flipV, bool flipH, bool transparent, const TRect& srcRect, TCustomDIBX& src,
                                  int scaleY, int scaleX, int spacingY) {
    if (alpha <= 0) return;
    StretchTileGrid(*this, destRect, spacingX, offsetY, offsetX, srcRect, scaleY, scaleX, spacingY,
                    [&](const TRect& tile) {
                        if (alpha > 255) StretchDrawAdd(tile, src, alpha - 256, flipV, flipH, transparent, srcRect);
                        else StretchDraw(tile, src, alpha, flipV, flipH, transparent, srcRect);
                    });
}

void TCustomDIBX::TileStretchDrawMasked(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                                        TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                                        TCustomDIBX& src, int scaleY, int scaleX, int spacingY) {
    if (alpha <= 0) return;
    StretchTileGrid(*this, destRect, spacingX, offsetY, offsetX, srcRect, scaleY, scaleX, spacingY,
                    [&](const TRect& tile) {
                        if (alpha > 255) StretchDrawAddMasked(tile, src, alpha - 256, mask, flipV, flipH, srcRect);
                        else StretchDrawMasked(tile, src, alpha, mask, flipV, flipH, srcRect);
                    });
}

}  // namespace vesk
