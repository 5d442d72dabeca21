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

// The screen rectangle a rotated picture covers: the box the rotating draw
// walks, so that invalidating it leaves no pixel of the picture behind.
// The displayed rectangle itself when the picture is not rotated.
TRect RotatedBox(const TPictureDraw& p);
// The surface pixel the rotating draw shows at screen (x, y): the point
// turned back about the anchor, through the zoom and the flips, in the
// draw's own arithmetic. False where the picture shows nothing.
bool RotatedSourcePixel(const TPictureDraw& p, std::int32_t x, std::int32_t y, std::int32_t& column,
                        std::int32_t& row);

}  // namespace vesk
