#include "common/process_random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

using namespace vesk;

namespace {

std::vector<std::int32_t> Draws(std::uint32_t seed, std::int32_t n, int count) {
    TProcessRandom r;
    r.Seed(seed);
    std::vector<std::int32_t> out;
    for (int i = 0; i < count; ++i) out.push_back(r.Below(n));
    return out;
}

}  // namespace

TEST(ProcessRandom, ASeedRepeatsItsSequenceAndSeedsDiffer) {
    EXPECT_EQ(Draws(12345, 1000, 50), Draws(12345, 1000, 50));
    EXPECT_NE(Draws(12345, 1000, 50), Draws(12346, 1000, 50));
    // Seed 0 is a seed like any other, not a stuck generator.
    const auto zero = Draws(0, 1000, 50);
    EXPECT_NE(zero, std::vector<std::int32_t>(50, zero[0]));
}

TEST(ProcessRandom, BelowStaysInRangeAndIsUniform) {
    for (std::int32_t n : {0, -7, 1}) EXPECT_EQ(Draws(1, n, 100), std::vector<std::int32_t>(100, 0)) << n;
    TProcessRandom r;
    r.Seed(99);
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t v = r.Below(0x7FFFFFFF);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 0x7FFFFFFF);
    }
    // Six faces, 60,000 throws: each face within 5 % of its share (a
    // deviation of more than 5 standard deviations), and every face seen.
    std::array<int, 6> faces{};
    for (int i = 0; i < 60000; ++i) {
        const std::int32_t v = r.Below(6);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 6);
        ++faces[static_cast<std::size_t>(v)];
    }
    for (int count : faces) EXPECT_NEAR(count, 10000, 500);
}

TEST(ProcessRandom, UnitIsInTheHalfOpenInterval) {
    TProcessRandom r;
    r.Seed(7);
    double sum = 0;
    for (int i = 0; i < 20000; ++i) {
        const double u = r.Unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        sum += u;
    }
    EXPECT_NEAR(sum / 20000, 0.5, 0.01);
}
