#pragma once

#include <cstdint>

namespace vesk::bench {

// Deterministic, varied pixels: a blend that meets equal pixels or a flat
// mask everywhere would measure the skip rules, not the arithmetic.
inline std::uint32_t Noise(std::uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s;
}

}  // namespace vesk::bench
