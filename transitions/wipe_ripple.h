#pragma once

#include <cstdint>
#include <vector>

#include "transitions/wipe.h"

namespace vesk {

// Ripple (kind 24): the new picture spreads as a disc from the centre with
// a rippled ring at its edge; Params[0] is the height of the ripples (four
// saw teeth across the ring). The tables cover the top-left quarter of the
// screen and the other three quarters mirror it; the middle column or row
// of an odd-sized screen is not written. Screens smaller than 12 pixels
// either way have no ring, and the kind draws nothing on them.
class TWipeRipple : public TCustomWipe {
public:
    // Per pixel of the quarter, row by row: its distance from the centre
    // and the direction to it in 1/65536.
    std::vector<std::uint16_t> RingDistance;
    std::vector<std::int32_t> RingCos, RingSin;
    // The ripple's offset outward at each place across the ring.
    std::vector<std::int32_t> Wave;

    TWipeRipple(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);
    void SetParam(int index, std::int32_t value) override;
    bool Step() override;

private:
    void FillWave(std::int32_t amplitude);
    int Tooth() const { return int(Wave.size()) / 4; }
};

}  // namespace vesk
