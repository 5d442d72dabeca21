#pragma once

#include <array>

#include "gfx/dibx.h"
#include "transitions/wipe.h"

namespace vesk {

// Blur through white (kind 25) or black (kind 26): the old picture blurs,
// brightens (darkens), and the blurred new picture comes out of it and
// sharpens. Both blurred pictures are made once, when the transition is.
class TWipeBlurWhite : public TCustomWipe {
public:
    // The blurred old and new pictures.
    std::array<TDIBX, 2> Blurred;

    TWipeBlurWhite(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);
    bool Step() override;

protected:
    virtual bool Darkens() const { return false; }
};

class TWipeBlurBlack : public TWipeBlurWhite {
public:
    using TWipeBlurWhite::TWipeBlurWhite;

protected:
    bool Darkens() const override { return true; }
};

}  // namespace vesk
