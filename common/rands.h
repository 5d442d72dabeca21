#pragma once

#include <cstdint>

#include "common/position_pool.h"

namespace vesk {

// The linear congruential generator of the stored formats: state' =
// state * 5 + seed (32-bit, wrapping). NextValue yields the key stream that
// scrambles archive directories; Reset and Next draw a permutation of
// 0 .. n-1 without repetition, which scrambles image rows and blocks.
class TQsRandom {
public:
    explicit TQsRandom(std::int32_t seed) : seed_(seed) {}

    std::uint32_t NextValue() {
        state_ = state_ * 5u + static_cast<std::uint32_t>(seed_);
        return state_;
    }

    void Reset(int n);
    // The next element of the permutation; -1 once the pool is empty.
    int Next();
    int PoolSize() const { return pool_.Remaining(); }

    std::int32_t Seed() const { return seed_; }
    std::uint32_t State() const { return state_; }

private:
    std::int32_t seed_;
    std::uint32_t state_ = 0;
    // The values not drawn yet; Next removes the entry at position state
    // mod size.
    TPositionPool pool_;
};

}  // namespace vesk
