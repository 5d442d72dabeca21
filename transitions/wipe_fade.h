#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Fade (kind 1): a cross-fade from the old picture to the new one. With
// parameters other than (0, 0) the new picture also slides in from the
// offset (Params[0], Params[1]).
class TWipeFade : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
