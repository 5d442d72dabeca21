#include "common/rands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vesk;

TEST(QsRandom, KeyStreamIsFiveXPlusSeed) {
    TQsRandom r(7);
    EXPECT_EQ(r.NextValue(), 7u);
    EXPECT_EQ(r.NextValue(), 42u);
    TQsRandom wrap(-1);
    EXPECT_EQ(wrap.NextValue(), 0xFFFFFFFFu);
    EXPECT_EQ(wrap.NextValue(), 0xFFFFFFFFu * 5u + 0xFFFFFFFFu);
}

TEST(QsRandom, NextDrawsAPermutation) {
    TQsRandom zero(0);
    zero.Reset(5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(zero.Next(), i);  // seed 0: identity
    EXPECT_EQ(zero.Next(), -1);

    TQsRandom r(12341);
    r.Reset(100);
    std::vector<int> seen;
    for (int i = 0; i < 100; ++i) seen.push_back(r.Next());
    // First draw: state 12341, index 12341 mod 100.
    EXPECT_EQ(seen[0], 41);
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
}

TEST(QsRandom, NextMatchesRemovalFromAnOrderedList) {
    // The pool is an ordered list from which the entry at state mod size is
    // removed; replay that directly and compare draw for draw.
    for (const std::int32_t seed : {1, 7, -5, 123456789}) {
        for (const int n : {1, 2, 3, 17, 64, 1000}) {
            TQsRandom r(seed);
            r.Reset(n);
            std::vector<int> pool(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i) pool[static_cast<std::size_t>(i)] = i;
            std::uint32_t state = 0;
            for (int i = 0; i < n; ++i) {
                state = state * 5u + static_cast<std::uint32_t>(seed);
                const std::size_t at = state % pool.size();
                ASSERT_EQ(r.Next(), pool[at]) << "seed " << seed << " n " << n << " draw " << i;
                pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(at));
            }
            EXPECT_EQ(r.PoolSize(), 0);
            EXPECT_EQ(r.Next(), -1);
        }
    }
}
