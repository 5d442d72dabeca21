#include "transitions/wipe_flash.h"

#include "gfx/dibx.h"
#include "transitions/grey.h"
#include "transitions/wipe_math.h"

namespace vesk {

bool TWipeWhite::Step() {
    if (!BeginStep()) return true;
    const auto a = int(wipe::Scale(511, Elapsed(), Duration));
    ClipToTarget();
    Target->Assign(a >= 256 ? *New : *Old);
    wipe::Tint(*Target, a >= 256 ? 511 - a : a, Darkens());
    return false;
}

bool TWipeFlash::Step() {
    if (!BeginStep()) return true;
    const auto b = int(wipe::Scale(255, Elapsed(), Duration));
    ClipToTarget();
    Target->Assign(*New);
    wipe::Tint(*Target, 255 - b, false);
    return false;
}

}  // namespace vesk
