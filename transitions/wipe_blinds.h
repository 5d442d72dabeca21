#pragma once

#include "transitions/wipe_mask.h"

namespace vesk {

// Blinds: the screen is cut into strips Params[0] pixels wide; inside every
// strip the lines turn over one after another, two progress units apart,
// each fading over Params[1] units. Flag reverses the order inside the
// strips.

// Vertical strips, columns turning (kind 2): one mask row serves every
// screen row.
class TWipeBlindH : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    bool BuildMask() override;
    int MaskHeight() const override;
};

// Horizontal strips, rows turning (kind 3): one mask row per row of a
// strip, repeated down the screen.
class TWipeBlindV : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    bool BuildMask() override;
    int MaskHeight() const override;
};

}  // namespace vesk
