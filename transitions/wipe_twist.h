#pragma once

#include "transitions/wipe.h"

namespace vesk {

// Twist: every row (kind 27) or column (kind 28) turns over like a slat,
// showing the old picture squeezed, then black, then the new picture
// mirrored out of it; the top rows (left columns) go first, the bottom
// (right) ones with Flag. Lines whose turn has not started keep what the
// target holds.
class TWipeTwistH : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

class TWipeTwistV : public TCustomWipe {
public:
    using TCustomWipe::TCustomWipe;
    bool Step() override;
};

}  // namespace vesk
