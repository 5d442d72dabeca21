#pragma once

#include <cstdint>

#include "gfx/dibx.h"

namespace vesk::pixel {

// Per-channel arithmetic for the draws that combine more than two colours
// (supersampled glyphs). 32-bit stores have four byte channels; every other
// store uses its three masked fields.
template <class F>
std::uint32_t PerChannel(const TCustomDIBX& dst, F&& f) {
    if (dst.BitCount() == 32) {
        std::uint32_t r = 0;
        for (int k = 0; k < 4; ++k) r |= std::uint32_t(f(std::uint64_t(0xFFu) << (8 * k)));
        return r;
    }
    return std::uint32_t(f(dst.RedMask()) | f(dst.GreenMask()) | f(dst.BlueMask()));
}

inline int Log2(int v) {
    int r = 0;
    while ((1 << (r + 1)) <= v) ++r;
    return r;
}

inline bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

}  // namespace vesk::pixel
