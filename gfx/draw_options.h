#pragma once

#include <cstdint>

#include "gfx/dibx.h"

namespace vesk {

// How a picture is put on a surface, for callers that choose among the
// surface's draws by alpha and mask rather than name one: components, text
// pages, transitions and particles. The surface's own operations stay the
// exact primitives; these fronts only pick the one that the options call for.
struct TDrawOptions {
    // 1-254 translucent, 255 opaque, 256-511 additive with strength
    // Alpha - 256; below 1 nothing is drawn.
    std::int32_t Alpha = 255;
    bool FlipV = false, FlipH = false;
    // Skip source pixels equal to the source's colour key. A mask takes the
    // key's place: masked draws ignore it.
    bool Keyed = false;
    // 8-bit per-pixel alpha of the source's geometry, or none.
    TCustomDIBX* Mask = nullptr;
};

// A rotating, scaling draw: the pivot (source pixels) lands on the anchor,
// the angle in 256ths of a turn, the scales in 256ths.
struct TRotation {
    std::int32_t AnchorX = 0, AnchorY = 0;
    std::int32_t PivotX = 0, PivotY = 0;
    std::int32_t Angle = 0;
    std::int32_t ScaleX = 256, ScaleY = 256;
};

// srcRect of src with its top-left corner at (x, y) on dest.
void DrawSurface(TCustomDIBX& dest, std::int32_t x, std::int32_t y, TCustomDIBX& src, const TRect& srcRect,
                 const TDrawOptions& options);
// srcRect of src stretched over destRect.
void StretchSurface(TCustomDIBX& dest, const TRect& destRect, TCustomDIBX& src, const TRect& srcRect,
                    const TDrawOptions& options);
// srcRect of src turned and scaled as rotation says; the rotating draws
// take the additive range themselves.
void RotateSurface(TCustomDIBX& dest, TCustomDIBX& src, const TRect& srcRect, const TRotation& rotation,
                   const TDrawOptions& options);

}  // namespace vesk
