#pragma once

#include "transitions/wipe_mask.h"

namespace vesk {

// The transitions that reveal the new picture in sectors of the circle
// around the screen's centre that reaches its corners. Params[0] is a
// direction in degrees, 0 at twelve o'clock and growing clockwise; it is
// stored as given.

// A clock hand sweeping a full turn from direction Params[0] (kind 31);
// Flag sweeps counter-clockwise.
class TWipeClockhand : public TWipeMask {
public:
    double StartAngle = 0, LastAngle = 0;  // radians on screen

    using TWipeMask::TWipeMask;
    void SetParam(int index, std::int32_t value) override;
    bool BuildMask() override;
};

// A fan opening symmetrically about direction Params[0] until it closes
// the circle (kind 34). Flag is not used.
class TWipeFan : public TWipeMask {
public:
    double Centre = 0, LastAngle = 0;

    using TWipeMask::TWipeMask;
    void SetParam(int index, std::int32_t value) override;
    bool BuildMask() override;
};

// Two opposite fans opening at half the speed (kind 35).
class TWipeWFan : public TWipeFan {
public:
    using TWipeFan::TWipeFan;
    bool BuildMask() override;
};

}  // namespace vesk
