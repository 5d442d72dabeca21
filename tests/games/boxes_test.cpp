#include <gtest/gtest.h>

#include "tests/games/game_runner.h"

namespace vesk::test {

// Frames are 16 ms. Frame 1 creates the boxes and ends with the first Flip
// (no duration: it finishes at once and, carrying Continue 0, ends the
// frame). Frame 2 runs the cabinets and starts the second Flip (100 ms),
// which takes a pass in frames 2, 3 and 4 as no transition runs; the
// command after it runs in frame 5.
TEST(GameBoxes, PropertySetsFlipAndCabinets) {
    const TGameRun r = RunGame("boxes", 20);
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("x"), "1\t10");
    EXPECT_EQ(r.vars.at("w"), "1\t100");
    EXPECT_EQ(r.vars.at("c"), "1\t-1");  // a present colour without a value
    EXPECT_EQ(r.vars.at("p"), "4\tpanel");
    EXPECT_EQ(r.vars.at("n"), "4\t\x01" "BASE0");  // a parent naming nothing: the active base
    EXPECT_EQ(r.vars.at("p2"), "4\t\x01" "BASE1");
    EXPECT_EQ(r.vars.at("q"), "4\tcab");
    EXPECT_EQ(r.vars.at("e"), "4\tnone");          // no empty cabinet was left
    EXPECT_EQ(r.vars.at("q2"), "4\t\x01" "BASE0");
    EXPECT_EQ(r.vars.at("k"), "4\tkept");          // the emptied cabinet is gone
    EXPECT_EQ(r.vars.at("t1"), "1\t32");
    EXPECT_EQ(r.vars.at("t2"), "1\t80");
    EXPECT_EQ(r.vars.at("r"), "4\t\x01" "BASE1");  // left behind on the base now hidden
}

}  // namespace vesk::test
