#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Zoom (kind 30): the view zooms into the point (Params[0], Params[1]) of
// the old picture and out of the same point of the new one.
class TWipeZoomin : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
