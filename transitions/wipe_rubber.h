#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Rubber: a strip of the picture is stretched like rubber over the rest of
// the screen, thinnest at the midpoint, across columns (kind 32) or rows
// (kind 33). The strip rolls as the bamboo blind's does; Flag rolls toward
// the far edge.
class TWipeRubberH : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;

protected:
    virtual bool Vertical() const { return false; }
};

class TWipeRubberV : public TWipeRubberH {
public:
    using TWipeRubberH::TWipeRubberH;

protected:
    bool Vertical() const override { return true; }
};

}  // namespace vesk
