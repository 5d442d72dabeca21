#include "transitions/wipe_fade.h"

#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

bool TWipeFade::Step() {
    if (!BeginStep()) return true;
    const double rest = (double(Duration) - Elapsed() - 1) / Duration;
    ClipToTarget();
    Target->Assign(*Old);
    Target->DrawAlpha(int(wipe::Round(Params[0] * rest)), int(wipe::Round(Params[1] * rest)),
                      int(wipe::Scale(256, Elapsed(), Duration)), false, false, false, New->BoundsRect(), *New);
    return false;
}

}  // namespace vesk
