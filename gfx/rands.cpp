#include "gfx/rands.h"

namespace vesk {

void TQsRandom::Reset(int n) {
    pool_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    for (std::size_t i = 0; i < pool_.size(); ++i) pool_[i] = static_cast<int>(i);
}

int TQsRandom::Next() {
    if (pool_.empty()) return -1;
    const std::uint32_t index = NextValue() % static_cast<std::uint32_t>(pool_.size());
    const int value = pool_[index];
    pool_.erase(pool_.begin() + index);
    return value;
}

}  // namespace vesk
