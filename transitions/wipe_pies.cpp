#include "transitions/wipe_pies.h"

#include <cmath>
#include <numbers>

#include "transitions/mask_shapes.h"

namespace vesk {

namespace {

constexpr double kPi = std::numbers::pi;

// Degrees from twelve o'clock to a screen angle from three o'clock.
double Direction(std::int32_t degrees) { return double(degrees) / 360 * 2 * kPi - kPi / 2; }

// A sector of the circle around the mask's centre that reaches its corners.
void Sector(TDIBX& mask, double from, double sweep) {
    const double cx = mask.Width() / 2, cy = mask.Height() / 2;
    wipe::FillPie(mask, cx, cy, std::sqrt(cx * cx + cy * cy), from, sweep, 255);
}

}  // namespace

void TWipeClockhand::SetParam(int index, std::int32_t value) {
    TCustomWipe::SetParam(index, value);
    if (index == 0) StartAngle = LastAngle = Direction(value);
}

bool TWipeClockhand::BuildMask() {
    const double sweep = Progress() * 2 * kPi;
    const double alpha = Flag ? StartAngle - sweep : StartAngle + sweep;
    if (alpha == LastAngle) return false;
    LastAngle = alpha;
    TwoLevel = 1;
    FillMask(0);
    Sector(Mask, Flag ? alpha : StartAngle, sweep);
    return true;
}

void TWipeFan::SetParam(int index, std::int32_t value) {
    TCustomWipe::SetParam(index, value);
    if (index == 0) Centre = LastAngle = Direction(value);
}

bool TWipeFan::BuildMask() {
    const double half = Progress() * kPi;
    if (Centre + half == LastAngle) return false;
    LastAngle = Centre + half;
    TwoLevel = 1;
    FillMask(0);
    Sector(Mask, Centre - half, 2 * half);
    return true;
}

bool TWipeWFan::BuildMask() {
    const double half = Progress() * kPi / 2;
    if (Centre + half == LastAngle) return false;
    LastAngle = Centre + half;
    TwoLevel = 1;
    FillMask(0);
    Sector(Mask, Centre - half, 2 * half);
    Sector(Mask, Centre + kPi - half, 2 * half);
    return true;
}

}  // namespace vesk
