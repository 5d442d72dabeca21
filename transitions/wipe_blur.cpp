#include "transitions/wipe_blur.h"

#include <algorithm>

#include "transitions/box_blur.h"
#include "transitions/grey.h"
#include "transitions/wipe_math.h"

namespace vesk {

TWipeBlurWhite::TWipeBlurWhite(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw)
    : TCustomWipe(target, old, nw) {
    const int r = std::min(target.Width(), target.Height()) / 20;
    wipe::BoxBlur(old, r, Blurred[0]);
    wipe::BoxBlur(nw, r, Blurred[1]);
}

bool TWipeBlurWhite::Step() {
    if (!BeginStep()) return true;
    const auto b = int(wipe::Scale(639, Elapsed(), Duration));
    ClipToTarget();
    auto fade = [&](TCustomDIBX& sharp, TDIBX& blurred, int alpha) {
        Target->Assign(sharp);
        Target->DrawAlpha(0, 0, alpha, false, false, false, blurred.BoundsRect(), blurred);
    };
    if (b < 256) {
        fade(*Old, Blurred[0], b);
    } else if (b < 384) {
        Target->Assign(Blurred[b < 320 ? 0 : 1]);
        wipe::Tint(*Target, b < 320 ? (b - 256) * 4 : (383 - b) * 4, Darkens());
    } else {
        fade(*New, Blurred[1], 639 - b);
    }
    return false;
}

}  // namespace vesk
