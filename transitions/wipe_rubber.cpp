#include "transitions/wipe_rubber.h"

#include <algorithm>
#include <cmath>

#include "transitions/roll_axis.h"

namespace vesk {

bool TWipeRubberH::Step() {
    if (!BeginStep()) return true;
    const wipe::TRollAxis axis(*this, Vertical());
    const wipe::TRoll roll(axis.size, Elapsed(), Duration);
    TCustomDIBX& src = roll.fromNew ? *New : *Old;
    const int w = roll.k + 1;
    // 1 at both ends of the transition, 0 at its midpoint.
    const double half = Duration / 2.0, q = std::abs(Elapsed() - half) / half;
    ClipToTarget();
    if (!Flag) {
        const int n = int(std::max<std::int64_t>(1, wipe::Round(q * roll.k / 2)));
        const int start = std::max(0, roll.k - n);
        axis.Stretch(*Target, src, start, n, 0, w);
        if (w < axis.size) axis.Copy(*Target, src, w, axis.size);
    } else {
        const int n = int(std::max<std::int64_t>(1, wipe::Round(q * w / 2)));
        axis.Stretch(*Target, src, roll.rest, n, roll.rest, axis.size - roll.rest);
        if (w < axis.size) axis.Copy(*Target, src, 0, roll.rest);
    }
    return false;
}

}  // namespace vesk
