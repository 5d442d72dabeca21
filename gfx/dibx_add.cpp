// Additive draws.
#include <algorithm>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"

namespace vesk {

using namespace pixel;

void TCustomDIBX::DrawAdd(int x, int y, int intensity, bool flipV, bool flipH, const TRect& srcRect,
                          TCustomDIBX& src) {
    if (intensity <= 0) return;
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Add, {}};
    d.params.weight = std::min(intensity, 255);
    // The key is always honoured: there is no flag for it.
    d.params.useKey = src.TransparentColor != -1;
    d.params.key = std::uint32_t(src.TransparentColor);
    // 8-bit stores (levels, masks) add raw bytes.
    d.params.rawAdd8 = BitCount() == 8;
    DrawUnscaled(*this, src, nullptr, d);
}

void TCustomDIBX::DrawAddMasked(int x, int y, int intensity, TCustomDIBX& mask, bool flipV, bool flipH,
                                const TRect& srcRect, TCustomDIBX& src) {
    if (intensity <= 0) return;
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::AddMasked, {}};
    d.params.weight = std::min(intensity, 255);
    DrawUnscaled(*this, src, &mask, d);
}

}  // namespace vesk
