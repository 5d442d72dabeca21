#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Shrink (kind 22): the old picture shrinks toward the centre while it
// fades out and turns by Params[0] 256ths of a turn in all; Flag turns the
// other way.
class TWipeSmall : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

// Grow (kind 23): the new picture grows from the centre while it fades in
// and turns back to upright.
class TWipeBig : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
