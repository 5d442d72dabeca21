#include "transitions/wipe_fade.h"

#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

bool TWipeFade::Step() {
    if (!BeginStep()) return true;
    const double rest = (double(Duration) - Elapsed() - 1) / Duration;
    const std::int64_t x = wipe::Round(Params[0] * rest), y = wipe::Round(Params[1] * rest);
    ClipToTarget();
    Target->Assign(*Old);
    // An offset that puts the new picture wholly off the screen draws
    // nothing of it; it is not handed on, where it could pass the range of
    // the draw's coordinates.
    if (x <= -Width() || x >= Width() || y <= -Height() || y >= Height()) return false;
    Target->DrawAlpha(int(x), int(y), int(wipe::Scale(256, Elapsed(), Duration)), false, false, false,
                      New->BoundsRect(), *New);
    return false;
}

}  // namespace vesk
