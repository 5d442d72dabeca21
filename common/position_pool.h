#pragma once

#include <vector>

namespace vesk {

// The numbers 0 .. n-1 as an ordered list from which entries are taken by
// position: Take(k) removes and answers the k-th of the remaining numbers,
// as deleting from a list would, in O(log n) through a Fenwick tree of
// "still in the list" counts. Random permutations draw from it (the image
// row scrambler, the random block orders of transitions), so pools of a
// million entries stay fast.
class TPositionPool {
public:
    explicit TPositionPool(int n = 0);

    int Remaining() const { return remaining_; }
    // 0 <= k < Remaining().
    int Take(int k);

private:
    std::vector<int> tree_;
    int remaining_;
    int highBit_ = 1;
};

}  // namespace vesk
