#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Scrolls: the old picture is pushed out to the left (kind 6) or upward
// (kind 7) and the new one follows it in; Flag reverses the direction.
class TWipeScrollH : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

class TWipeScrollV : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
