#pragma once

#include <cmath>
#include <cstdint>

namespace vesk::wipe {

// span * position / duration, truncated toward zero, for 0 <= position <
// duration: exact for every span a parameter can make, where the plain
// product could pass 64 bits.
inline std::int64_t Scale(std::int64_t span, std::int32_t position, std::int32_t duration) {
    const bool negative = span < 0;
    const std::uint64_t s = negative ? 0 - std::uint64_t(span) : std::uint64_t(span);
    const std::uint64_t p = std::uint64_t(position), d = std::uint64_t(duration);
    const std::uint64_t r = (s / d) * p + (s % d) * p / d;
    return negative ? -std::int64_t(r) : std::int64_t(r);
}

// The nearest integer, halves to even.
inline std::int64_t Round(double v) { return std::int64_t(std::nearbyint(v)); }

// The mask value of a pixel whose turn starts at delay e, for the progress
// value v, fading in over `span` units: 0 before its turn, then rising to
// 255.
inline std::uint8_t Ramp(std::int64_t v, std::int64_t e, std::int64_t span) {
    if (v < e) return 0;
    const std::int64_t r = (v - e) * 255 / span;
    return std::uint8_t(r < 255 ? r : 255);
}

}  // namespace vesk::wipe
