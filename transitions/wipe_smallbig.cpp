#include "transitions/wipe_smallbig.h"

#include <algorithm>
#include <limits>

#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// Draws `picture` turned by `turn` (a fraction of Params[0], negated with
// Flag) and scaled and faded to `level`/255 around the screen's centre over
// `under`, which fills the target first.
void Turned(TCustomWipe& w, TCustomDIBX& under, TCustomDIBX& picture, double level, double turn) {
    const auto s = int(wipe::Round(level * 255));
    std::int64_t angle = wipe::Round(w.Params[0] * turn);
    if (w.Flag) angle = -angle;
    angle = std::clamp<std::int64_t>(angle, -std::numeric_limits<std::int32_t>::max(),
                                     std::numeric_limits<std::int32_t>::max());
    w.Target->AddClip(w.Target->BoundsRect());
    w.Target->Assign(under);
    w.Target->DrawRotate(w.Width() / 2, w.Height() / 2, s, false, false, false, int(angle), picture.Height() / 2,
                         picture.Width() / 2, picture.BoundsRect(), picture, s, s);
}

}  // namespace

bool TWipeSmall::Step() {
    if (!BeginStep()) return true;
    Turned(*this, *New, *Old, (double(Duration) - Elapsed() - 1) / Duration, Progress());
    return false;
}

bool TWipeBig::Step() {
    if (!BeginStep()) return true;
    Turned(*this, *Old, *New, Progress(), (double(Duration) - Elapsed() - 1) / Duration);
    return false;
}

}  // namespace vesk
