#pragma once

#include <cstdint>

namespace vesk {

// The process-wide random generator: the script built-in Random, the random
// block and falling-chip transitions and the particles all draw from it. The
// player seeds it once at start-up from the time of day, so every run plays
// differently while a seeded run can be repeated.
class TProcessRandom {
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    // A uniform integer 0 <= r < n; 0 when n <= 0.
    std::int32_t Below(std::int32_t n);
    // A uniform real 0 <= r < 1.
    double Unit();

private:
    std::uint64_t Next();

    std::uint64_t state_ = 0;
};

// The one generator of the process (not synchronised: drawn from the main
// thread only).
TProcessRandom& ProcessRandom();

}  // namespace vesk
