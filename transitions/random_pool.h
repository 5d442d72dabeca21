#pragma once

#include <cstdint>
#include <vector>

namespace vesk::wipe {

// The numbers 0 .. n-1 as an ordered list from which entries are taken by
// position: Take(k) removes and answers the k-th of the remaining numbers,
// as deleting from a list would, in O(log n). The random orders of the
// block and falling-chip transitions draw from it, so screens of hundreds
// of thousands of cells stay fast.
class TRandomPool {
public:
    explicit TRandomPool(int n);

    int Remaining() const { return remaining_; }
    // 0 <= k < Remaining().
    int Take(int k);

private:
    std::vector<int> tree_;  // Fenwick tree of "still in the list" counts
    int remaining_;
    int highBit_ = 1;
};

}  // namespace vesk::wipe
