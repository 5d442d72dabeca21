#include "common/rands.h"

namespace vesk {

void TQsRandom::Reset(int n) {
    remaining_ = n > 0 ? n : 0;
    tree_.assign(static_cast<std::size_t>(remaining_) + 1, 0);
    // Every value present: node i covers (i - lowbit(i), i], so it counts
    // lowbit(i) entries.
    for (int i = 1; i <= remaining_; ++i) tree_[static_cast<std::size_t>(i)] = i & -i;
    highBit_ = 1;
    while (highBit_ * 2 <= remaining_) highBit_ *= 2;
}

int TQsRandom::Next() {
    if (remaining_ == 0) return -1;
    const std::uint32_t index = NextValue() % static_cast<std::uint32_t>(remaining_);
    // Find the smallest value v with (index + 1) present values in [0, v].
    int pos = 0;
    int left = static_cast<int>(index);
    const int size = static_cast<int>(tree_.size()) - 1;
    for (int step = highBit_; step > 0; step >>= 1) {
        const int next = pos + step;
        if (next <= size && tree_[static_cast<std::size_t>(next)] <= left) {
            pos = next;
            left -= tree_[static_cast<std::size_t>(next)];
        }
    }
    for (int i = pos + 1; i <= size; i += i & -i) --tree_[static_cast<std::size_t>(i)];
    --remaining_;
    return pos;
}

}  // namespace vesk
