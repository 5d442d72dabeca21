#pragma once

#include "transitions/wipe_mask.h"

namespace vesk {

// The bases of the curtains: both parameters are stored as at least 1.
class TWipeOrderHMask : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    void SetParam(int index, std::int32_t value) override;
};

class TWipeOrderVMask : public TWipeOrderHMask {
public:
    using TWipeOrderHMask::TWipeOrderHMask;
};

// Curtains: the lines are taken in blocks of Params[0]; each block opens
// line by line and starts 16 progress units after the one before it, which
// gives a staircase front; each line fades over Params[1] units. Flag starts
// from the other edge.

// Columns from the left (kind 4); one mask row serves every screen row.
class TWipeCurtainH : public TWipeOrderHMask {
public:
    using TWipeOrderHMask::TWipeOrderHMask;
    bool BuildMask() override;
    int MaskHeight() const override;
};

// Rows from the top (kind 5).
class TWipeCurtainV : public TWipeOrderVMask {
public:
    using TWipeOrderVMask::TWipeOrderVMask;
    bool BuildMask() override;
};

}  // namespace vesk
