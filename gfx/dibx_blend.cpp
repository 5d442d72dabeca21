// Constant-alpha, masked and coverage blends.
#include <algorithm>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"

namespace vesk {

using namespace pixel;

void TCustomDIBX::DrawAlpha(int x, int y, int alpha, bool flipV, bool flipH, bool transparent,
                            const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0) return;
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Alpha, {}};
    d.params.weight = std::min(alpha, 255);
    // 32-bit stores honour the key only when asked; the others always do.
    const bool keyed = BitCount() == 32 ? transparent : true;
    d.params.useKey = keyed && src.TransparentColor != -1;
    d.params.key = std::uint32_t(src.TransparentColor);
    DrawUnscaled(*this, src, nullptr, d);
}

void TCustomDIBX::DrawMasked(int x, int y, TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                             TCustomDIBX& src) {
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Masked, {}};
    d.params.weight = -1;
    DrawUnscaled(*this, src, &mask, d);
}

void TCustomDIBX::DrawAlphaMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH,
                                  const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0) return;
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Masked, {}};
    d.params.weight = std::min(alpha, 255);
    DrawUnscaled(*this, src, &mask, d);
}

void TCustomDIBX::DrawCoverage(int x, int y, int alpha, TPixel colour, bool flipV, bool flipH,
                               const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0) return;
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Coverage, {}};
    d.params.weight = std::min(alpha, 255);
    d.params.colour = colour;
    DrawCoverageSpans(*this, src, d);
}

}  // namespace vesk
