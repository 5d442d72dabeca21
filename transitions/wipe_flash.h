#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Through white (kind 12) or black (kind 13): the old picture brightens to
// white (darkens to black), then the new one comes out of it.
class TWipeWhite : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;

protected:
    virtual bool Darkens() const { return false; }
};

class TWipeBlack : public TWipeWhite {
public:
    using TWipeWhite::TWipeWhite;

protected:
    bool Darkens() const override { return true; }
};

// Flash (kind 14): the new picture starts white and settles.
class TWipeFlash : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
