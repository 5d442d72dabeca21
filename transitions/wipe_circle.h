#pragma once

#include <cstdint>

#include "transitions/wipe_mask.h"

namespace vesk {

// Circle (kind 36): the new picture appears in a circle growing from the
// screen's centre until it reaches the corners; with Flag the old picture
// shrinks into a circle instead.
class TWipeCircle : public TWipeMask {
public:
    std::int32_t LastRadius = 0;

    using TWipeMask::TWipeMask;
    bool BuildMask() override;
};

}  // namespace vesk
