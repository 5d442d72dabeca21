#pragma once

#include "transitions/grey_mask.h"
#include "transitions/wipe.h"

namespace vesk {

// Mask white (kind 20) and mask black (kind 21): led by the mask picture
// (inverted with Flag), each pixel flares up to white (darkens to black),
// turns into the new picture at the peak and settles; the bright parts of
// the picture go first. Without a picture the whole screen goes at once.
class TWipeShadowWhite : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    void Prepare() override;
    bool Step() override;

protected:
    virtual bool Darkens() const { return false; }

private:
    wipe::TGreyMask grey_;
};

class TWipeShadowBlack : public TWipeShadowWhite {
public:
    using TWipeShadowWhite::TWipeShadowWhite;

protected:
    bool Darkens() const override { return true; }
};

}  // namespace vesk
