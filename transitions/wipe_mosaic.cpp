#include "transitions/wipe_mosaic.h"

#include <algorithm>

#include "transitions/wipe_math.h"

namespace vesk {

TWipeMosaic::TWipeMosaic(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw)
    : TCustomWipe(target, old, nw), Work(target.Width(), target.Height(), target.BitCount()) {}

bool TWipeMosaic::Step() {
    if (!BeginStep()) return true;
    const auto b = int(wipe::Scale(1023, Elapsed(), Duration));
    // The reduction factor in 256ths: 263 down to 24 over the first half,
    // back up to 263 over the second.
    const int f = b <= 511 ? 263 - ((b / 2) * 15) / 16 : (((b - 512) / 2) * 15) / 16 + 24;
    const TRect cells{0, 0, std::max(((Width() / 4) * f) >> 8, 1), std::max(((Height() / 4) * f) >> 8, 1)};
    auto shrink = [&](TCustomDIBX& from, int alpha) {
        Work.StretchDraw(cells, from, alpha, false, false, false, from.BoundsRect());
    };
    shrink(b >= 768 ? *New : *Old, 255);
    if (b >= 256 && b <= 511) shrink(*New, (b - 256) / 4);
    else if (b >= 512 && b <= 767) shrink(*New, (b - 256) / 2);
    ClipToTarget();
    Target->StretchDraw(Target->BoundsRect(), Work, 255, false, false, false, cells);
    return false;
}

}  // namespace vesk
