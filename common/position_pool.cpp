#include "common/position_pool.h"

#include <cstddef>

namespace vesk {

TPositionPool::TPositionPool(int n) : tree_(std::size_t(n > 0 ? n : 0) + 1, 0), remaining_(n > 0 ? n : 0) {
    // Node i covers (i - lowbit(i), i], so every number present gives it
    // lowbit(i).
    for (int i = 1; i <= remaining_; ++i) tree_[std::size_t(i)] = i & -i;
    while (highBit_ * 2 <= remaining_) highBit_ *= 2;
}

int TPositionPool::Take(int k) {
    // The smallest number with k + 1 present numbers up to it.
    int pos = 0, left = k;
    const int size = int(tree_.size()) - 1;
    for (int step = highBit_; step > 0; step >>= 1) {
        const int next = pos + step;
        if (next <= size && tree_[std::size_t(next)] <= left) {
            pos = next;
            left -= tree_[std::size_t(next)];
        }
    }
    for (int i = pos + 1; i <= size; i += i & -i) --tree_[std::size_t(i)];
    --remaining_;
    return pos;
}

}  // namespace vesk
