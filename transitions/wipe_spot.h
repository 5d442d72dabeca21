#pragma once

#include <cstdint>
#include <vector>

#include "transitions/wipe.h"

namespace vesk {

// Spotlight (kind 18): a bright ring spreads from the centre (from the
// corners with Flag); each pixel flares up to white, turns into the new
// picture at the peak and fades back.
class TWipeSpot : public TCustomWipe {
public:
    // Per pixel, row by row: its distance from the centre (with Flag: the
    // centre's distance from a corner minus it).
    std::vector<std::int32_t> Distances;
    std::int32_t Span = 0;

    TWipeSpot(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);
    void SetFlag(std::uint8_t flag) override;
    bool Step() override;

private:
    void BuildDistances();

    // The smallest and largest distance of each row, so that rows the ring
    // has not reached or has left behind are copied whole.
    std::vector<std::int32_t> rowMin_, rowMax_;
};

}  // namespace vesk
