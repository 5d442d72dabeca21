#pragma once

#include <cstdint>
#include <memory>

#include "gfx/dibx.h"

namespace vesk {

// How an image component puts one picture on the screen: where its
// displayed rectangle lies, its alpha (1-254 translucent, 255 opaque,
// 256-511 additive), rotation about the anchor and mirroring.
struct TPictureDraw {
    TCustomDIBX* Surface = nullptr;
    TCustomDIBX* Mask = nullptr;  // 8-bit, the surface's geometry
    TRect Dest;                   // the displayed rectangle
    std::int32_t Alpha = 255;
    std::int32_t Angle = 0;       // 256ths of a turn
    std::int32_t AnchorX = 0, AnchorY = 0;  // screen point the pivot lands on
    std::int32_t PivotX = 0, PivotY = 0;    // source pixel rotated about
    bool FlipH = false, FlipV = false;
};

// Rotated (angle not 0), copied (displayed size equal to the surface's;
// each of the surface's DrawRects on its own when it has some) or
// stretched, masked when there is a mask.
void DrawPicture(TCustomDIBX& dest, const TPictureDraw& p);

// A copy of src with brightness v applied: grey v added (v > 0) or
// subtracted (v < 0) everywhere; the colour key goes through the same
// change, so the pixels that were transparent stay transparent.
std::unique_ptr<TDIBX> BrightnessCopy(TDIBX& src, std::int32_t v);

// The bounding rectangle of the displayed rectangle rotated by angle about
// (cx, cy).
TRect RotatedBounds(const TRect& r, std::int32_t angle, std::int32_t cx, std::int32_t cy);
// (x, y) turned by -angle about (cx, cy), rounded to the nearest pixel.
void RotateBack(std::int32_t& x, std::int32_t& y, std::int32_t angle, std::int32_t cx, std::int32_t cy);

}  // namespace vesk
