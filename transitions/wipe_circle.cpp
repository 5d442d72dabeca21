#include "transitions/wipe_circle.h"

#include <cmath>

#include "transitions/mask_shapes.h"
#include "transitions/wipe_math.h"

namespace vesk {

bool TWipeCircle::BuildMask() {
    const double cx = Mask.Width() / 2, cy = Mask.Height() / 2;
    const double reach = std::sqrt(cx * cx + cy * cy);
    const auto r = std::int32_t(
        wipe::Round(Flag ? reach * (double(Duration) - Elapsed()) / Duration : reach * Progress()));
    if (r == LastRadius) return false;
    LastRadius = r;
    TwoLevel = 1;
    FillMask(Flag ? 255 : 0);
    if (r > 0) wipe::FillDisc(Mask, cx, cy, r, Flag ? 0 : 255);
    return true;
}

}  // namespace vesk
