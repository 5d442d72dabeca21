#pragma once

#include <array>
#include <cstdint>

#include "transitions/wipe_mask.h"

namespace vesk {

// Dither (kind 11): a 64 x 64 tile whose cells turn over one by one in a
// fixed pseudo-random order, repeated over the whole screen. Flag is not
// used.
class TWipeDither : public TWipeMask {
public:
    static constexpr int kTile = 64;

    using TWipeMask::TWipeMask;
    void Prepare() override;
    bool BuildMask() override;
    int MaskHeight() const override;

private:
    // The cells of the tile in the order they turn: x + y * kTile.
    std::array<std::uint16_t, kTile * kTile> order_{};
};

}  // namespace vesk
