// TDIBXWave: every operation is handed to the target, with each row moved
// by its own offset. Unscaled draws go in bands of rows that share an
// offset; transformed draws go one row at a time under a one-row clip.
#include "gfx/dibx_wave.h"

#include <algorithm>

#include "gfx/clip_scope.h"

namespace vesk {

TDIBXWave::TDIBXWave(TCustomDIBX& target) : target_(&target) {}

int TDIBXWave::BitCount() const { return target_->BitCount(); }
int TDIBXWave::StorageBitCount() const { return target_->StorageBitCount(); }
std::int32_t TDIBXWave::ColorToPixel(std::int32_t colour) const { return target_->ColorToPixel(colour); }

void TDIBXWave::SetSize(int width, int height, int bitCount) {
    TCustomDIBX::SetSize(width, height, bitCount);
    Offsets.resize(std::size_t(std::max(height, 0)), 0);
}

void TDIBXWave::ResetClip() {
    TCustomDIBX::ResetClip();
    target_->ResetClip();
}

void TDIBXWave::AddClip(const TRect& rect) {
    const TRect r{std::max(rect.Left, Left), std::max(rect.Top, Top), std::min(rect.Right, Left + Width()),
                  std::min(rect.Bottom, Top + Height())};
    if (r.IsEmpty()) return;
    ClipRect = ClipRect.Right == 0 ? r
                                   : TRect{std::min(ClipRect.Left, r.Left), std::min(ClipRect.Top, r.Top),
                                           std::max(ClipRect.Right, r.Right), std::max(ClipRect.Bottom, r.Bottom)};
    target_->AddClip(r);
}

namespace {

// Calls band(first, last, offset) for each run of destination rows in
// [y0, y1) that lie on the proxy and share an offset.
template <class F>
void Bands(const TDIBXWave& w, const TCustomDIBX& target, int y0, int y1, F&& band) {
    const TRect clip = target.EffectiveClip();
    const int lo = std::max({y0, w.Top, clip.Top});
    const int hi = std::min<std::int64_t>({std::int64_t(y1), std::int64_t(w.Top) + std::int64_t(w.Offsets.size()),
                                            std::int64_t(clip.Bottom)});
    for (int y = lo; y < hi;) {
        const std::int32_t off = w.Offsets[std::size_t(y - w.Top)];
        int end = y + 1;
        while (end < hi && w.Offsets[std::size_t(end - w.Top)] == off) ++end;
        band(y, end, off);
        y = end;
    }
}

// The rows of srcRect that land on destination rows [first, last) of a
// draw whose top is at y, mirrored like the draw.
TRect BandSource(const TRect& srcRect, int y, int first, int last, bool flipV) {
    TRect s = srcRect;
    if (flipV) {
        s.Top = srcRect.Bottom - (last - y);
        s.Bottom = srcRect.Bottom - (first - y);
    } else {
        s.Top = srcRect.Top + (first - y);
        s.Bottom = srcRect.Top + (last - y);
    }
    return s;
}

// Calls row(y, offset) for every destination row in [y0, y1) that lies on
// the proxy, with the target's clip narrowed to that row; the clip is put
// back afterwards.
template <class F>
void Rows(const TDIBXWave& w, TCustomDIBX& target, int y0, int y1, F&& row) {
    const TRect clip = target.EffectiveClip();
    Bands(w, target, y0, y1, [&](int first, int last, std::int32_t off) {
        for (int y = first; y < last; ++y) {
            pixel::ClipScope scope(target, TRect{clip.Left, y, clip.Right, y + 1});
            row(off);
        }
    });
}

constexpr int kAllRowsLo = -2147483647;
constexpr int kAllRowsHi = 2147483647;

TRect Shift(const TRect& r, int dx) { return TRect{r.Left + dx, r.Top, r.Right + dx, r.Bottom}; }

}  // namespace

void TDIBXWave::Fill(TPixel value) { FillRect(TRect{Left, Top, Left + Width(), Top + Height()}, value); }

void TDIBXWave::FillRect(const TRect& rect, TPixel value) {
    Bands(*this, *target_, rect.Top, rect.Bottom, [&](int a, int b, int off) {
        target_->FillRect(TRect{rect.Left + off, a, rect.Right + off, b}, value);
    });
}

void TDIBXWave::BlendRect(const TRect& rect, TPixel value, int alpha) {
    if (alpha <= 0) return;
    Bands(*this, *target_, rect.Top, rect.Bottom, [&](int a, int b, int off) {
        target_->BlendRect(TRect{rect.Left + off, a, rect.Right + off, b}, value, alpha);
    });
}

void TDIBXWave::AddRect(const TRect& rect, TPixel value) {
    Bands(*this, *target_, rect.Top, rect.Bottom, [&](int a, int b, int off) {
        target_->AddRect(TRect{rect.Left + off, a, rect.Right + off, b}, value);
    });
}

void TDIBXWave::SubRect(const TRect& rect, TPixel value) {
    Bands(*this, *target_, rect.Top, rect.Bottom, [&](int a, int b, int off) {
        target_->SubRect(TRect{rect.Left + off, a, rect.Right + off, b}, value);
    });
}

void TDIBXWave::Assign(TCustomDIBX& src) { Draw(0, 0, false, false, false, src.BoundsRect(), src); }

void TDIBXWave::Draw(int x, int y, bool flipV, bool flipH, bool transparent, const TRect& srcRect, TCustomDIBX& src) {
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->Draw(x + off, a, flipV, flipH, transparent, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawMasked(int x, int y, TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                           TCustomDIBX& src) {
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawMasked(x + off, a, mask, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawAlpha(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, const TRect& srcRect,
                          TCustomDIBX& src) {
    if (alpha <= 0) return;
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawAlpha(x + off, a, alpha, flipV, flipH, transparent, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawAlphaMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH,
                                const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0) return;
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawAlphaMasked(x + off, a, alpha, mask, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawAdd(int x, int y, int intensity, bool flipV, bool flipH, const TRect& srcRect,
                        TCustomDIBX& src) {
    if (intensity <= 0) return;
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawAdd(x + off, a, intensity, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawAddMasked(int x, int y, int intensity, TCustomDIBX& mask, bool flipV, bool flipH,
                              const TRect& srcRect, TCustomDIBX& src) {
    if (intensity <= 0) return;
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawAddMasked(x + off, a, intensity, mask, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawCoverage(int x, int y, int alpha, TPixel colour, bool flipV, bool flipH, const TRect& srcRect,
                             TCustomDIBX& src) {
    if (alpha <= 0) return;
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawCoverage(x + off, a, alpha, colour, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawIndexed4(int x, int y, std::span<const std::uint32_t> colourTable, int alpha, bool flipV,
                             bool flipH, const TRect& srcRect, TCustomDIBX& src) {
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawIndexed4(x + off, a, colourTable, alpha, flipV, flipH, BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawIndexedAdd(int x, int y, std::span<const std::uint32_t> colourTable, int intensity, bool flipV,
                               bool flipH, int minIndex, const TRect& srcRect, TCustomDIBX& src) {
    Bands(*this, *target_, y, y + srcRect.Height(), [&](int a, int b, int off) {
        target_->DrawIndexedAdd(x + off, a, colourTable, intensity, flipV, flipH, minIndex,
                                BandSource(srcRect, y, a, b, flipV), src);
    });
}

void TDIBXWave::DrawRotate(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, int angle, int pivotY,
                           int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY, int scaleX) {
    Rows(*this, *target_, kAllRowsLo, kAllRowsHi, [&](int off) {
        target_->DrawRotate(x + off, y, alpha, flipV, flipH, transparent, angle, pivotY, pivotX, srcRect, src, scaleY,
                            scaleX);
    });
}

void TDIBXWave::DrawRotateMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH, int angle,
                                 int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                                 int scaleX) {
    Rows(*this, *target_, kAllRowsLo, kAllRowsHi, [&](int off) {
        target_->DrawRotateMasked(x + off, y, alpha, mask, flipV, flipH, angle, pivotY, pivotX, srcRect, src, scaleY,
                                  scaleX);
    });
}

void TDIBXWave::StretchDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                            bool transparent, const TRect& srcRect) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->StretchDraw(Shift(destRect, off), src, alpha, flipV, flipH, transparent, srcRect);
    });
}

void TDIBXWave::StretchDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask, bool flipV,
                                  bool flipH, const TRect& srcRect) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->StretchDrawMasked(Shift(destRect, off), src, alpha, mask, flipV, flipH, srcRect);
    });
}

void TDIBXWave::StretchDrawAdd(const TRect& destRect, TCustomDIBX& src, int intensity, bool flipV, bool flipH,
                               bool transparent, const TRect& srcRect) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->StretchDrawAdd(Shift(destRect, off), src, intensity, flipV, flipH, transparent, srcRect);
    });
}

void TDIBXWave::StretchDrawAddMasked(const TRect& destRect, TCustomDIBX& src, int intensity, TCustomDIBX& mask,
                                     bool flipV, bool flipH, const TRect& srcRect) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->StretchDrawAddMasked(Shift(destRect, off), src, intensity, mask, flipV, flipH, srcRect);
    });
}

void TDIBXWave::DrawSampledMono(int x, int y, int factor, int alpha, bool flipV, bool flipH, TPixel colour,
                                const TRect& srcRect, TCustomDIBX& src) {
    if (factor <= 0) return;
    Rows(*this, *target_, y, y + srcRect.Height() / factor, [&](int off) {
        target_->DrawSampledMono(x + off, y, factor, alpha, flipV, flipH, colour, srcRect, src);
    });
}

void TDIBXWave::DrawSampledGlyph(int x, int y, int factor, int alpha, bool flipV, bool flipH,
                                 const TGlyphColours& colours, const TRect& srcRect, TCustomDIBX& src) {
    if (factor <= 0) return;
    Rows(*this, *target_, y, y + srcRect.Height() / factor, [&](int off) {
        target_->DrawSampledGlyph(x + off, y, factor, alpha, flipV, flipH, colours, srcRect, src);
    });
}

void TDIBXWave::TileDraw(const TRect& destRect, int gapX, int offsetY, int offsetX, bool transparent,
                         const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDraw(Shift(destRect, off), gapX, offsetY, offsetX, transparent, srcRect, src, gapY);
    });
}

void TDIBXWave::TileDrawAlpha(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha, bool transparent,
                              const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDrawAlpha(Shift(destRect, off), gapX, offsetY, offsetX, alpha, transparent, srcRect, src, gapY);
    });
}

void TDIBXWave::TileDrawAdd(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                            const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDrawAdd(Shift(destRect, off), gapX, offsetY, offsetX, intensity, srcRect, src, gapY);
    });
}

void TDIBXWave::TileDrawMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, TCustomDIBX& mask,
                               const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDrawMasked(Shift(destRect, off), gapX, offsetY, offsetX, mask, srcRect, src, gapY);
    });
}

void TDIBXWave::TileDrawAlphaMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                                    TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDrawAlphaMasked(Shift(destRect, off), gapX, offsetY, offsetX, alpha, mask, srcRect, src, gapY);
    });
}

void TDIBXWave::TileDrawAddMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                                  TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileDrawAddMasked(Shift(destRect, off), gapX, offsetY, offsetX, intensity, mask, srcRect, src, gapY);
    });
}

void TDIBXWave::TileStretchDraw(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha, bool flipV,
                                bool flipH, bool transparent, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                                int scaleX, int spacingY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileStretchDraw(Shift(destRect, off), spacingX, offsetY, offsetX, alpha, flipV, flipH, transparent,
                                 srcRect, src, scaleY, scaleX, spacingY);
    });
}

void TDIBXWave::TileStretchDrawMasked(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                                      TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                                      TCustomDIBX& src, int scaleY, int scaleX, int spacingY) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->TileStretchDrawMasked(Shift(destRect, off), spacingX, offsetY, offsetX, alpha, mask, flipV, flipH,
                                       srcRect, src, scaleY, scaleX, spacingY);
    });
}

void TDIBXWave::FrameTile(const TRect& rect, int width, int offsetY, int offsetX, const TRect& srcRect,
                          TCustomDIBX& src) {
    Rows(*this, *target_, rect.Top, rect.Bottom, [&](int off) {
        target_->FrameTile(Shift(rect, off), width, offsetY, offsetX, srcRect, src);
    });
}

void TDIBXWave::StretchDrawIndexedAdd(const TRect& destRect, TCustomDIBX& src,
                                      std::span<const std::uint32_t> colourTable, int intensity, bool flipV,
                                      bool flipH, int minIndex, const TRect& srcRect) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->StretchDrawIndexedAdd(Shift(destRect, off), src, colourTable, intensity, flipV, flipH, minIndex,
                                       srcRect);
    });
}

void TDIBXWave::ScaledTileDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                               bool transparent, int offsetY, int offsetX, int scaleY, int scaleX) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->ScaledTileDraw(Shift(destRect, off), src, alpha, flipV, flipH, transparent, offsetY, offsetX, scaleY,
                                scaleX);
    });
}

void TDIBXWave::ScaledTileDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask,
                                     bool flipV, bool flipH, int offsetY, int offsetX, int scaleY, int scaleX) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->ScaledTileDrawMasked(Shift(destRect, off), src, alpha, mask, flipV, flipH, offsetY, offsetX, scaleY,
                                      scaleX);
    });
}

void TDIBXWave::WrapDraw(const TRect& destRect, TCustomDIBX& src, bool flipV, bool flipH, int offsetY, int offsetX) {
    Rows(*this, *target_, destRect.Top, destRect.Bottom, [&](int off) {
        target_->WrapDraw(Shift(destRect, off), src, flipV, flipH, offsetY, offsetX);
    });
}

}  // namespace vesk
