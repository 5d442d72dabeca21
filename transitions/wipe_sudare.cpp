#include "transitions/wipe_sudare.h"

#include "transitions/roll_axis.h"

namespace vesk {

bool TWipeSudareH::Step() {
    if (!BeginStep()) return true;
    const wipe::TRollAxis axis(*this, Vertical());
    const wipe::TRoll roll(axis.size, Elapsed(), Duration);
    TCustomDIBX& src = roll.fromNew ? *New : *Old;
    ClipToTarget();
    if (!Flag) {
        axis.Stretch(*Target, src, roll.k, 1, 0, roll.k + 1);
        if (roll.k + 1 < axis.size) axis.Copy(*Target, src, roll.k + 1, axis.size);
    } else {
        axis.Stretch(*Target, src, roll.rest, 1, roll.rest, axis.size - roll.rest);
        if (roll.k + 1 < axis.size) axis.Copy(*Target, src, 0, roll.rest);
    }
    return false;
}

}  // namespace vesk
