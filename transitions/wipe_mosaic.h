#pragma once

#include "gfx/dibx.h"
#include "transitions/wipe.h"

namespace vesk {

// Mosaic (kind 15): the picture breaks into blocks that grow from about 4
// pixels to about a fifteenth of the screen's width and shrink back, while
// the old picture changes into the new one over the middle half.
class TWipeMosaic : public TCustomWipe {
public:
    // The reduced picture, in its top-left corner.
    TDIBX Work;

    TWipeMosaic(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);
    bool Step() override;
};

}  // namespace vesk
