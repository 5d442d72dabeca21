#include "common/process_random.h"

namespace vesk {

// SplitMix64: a 64-bit counter passed through a strong mixing function. Every
// seed gives a full-period sequence whose values pass the usual statistical
// tests, which a plain 32-bit congruential generator does not in its low bits.
std::uint64_t TProcessRandom::Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::int32_t TProcessRandom::Below(std::int32_t n) {
    if (n <= 0) return 0;
    // The high 32 bits scaled into [0, n): no modulo bias worth speaking of
    // for the ranges scripts use, and never n itself.
    const std::uint64_t high = Next() >> 32;
    return static_cast<std::int32_t>((high * static_cast<std::uint64_t>(n)) >> 32);
}

double TProcessRandom::Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

TProcessRandom& ProcessRandom() {
    static TProcessRandom generator;
    return generator;
}

}  // namespace vesk
