#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Bamboo blinds: the old picture is rolled up into a smear of one column
// (kind 16) or row (kind 17), and the new picture unrolls from it. Without
// Flag the roll runs toward the left (top) edge, with it toward the right
// (bottom).
class TWipeSudareH : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;

protected:
    virtual bool Vertical() const { return false; }
};

class TWipeSudareV : public TWipeSudareH {
public:
    using TWipeSudareH::TWipeSudareH;

protected:
    bool Vertical() const override { return true; }
};

}  // namespace vesk
