#include <gtest/gtest.h>

#include "tests/games/game_runner.h"

namespace vesk::test {

TEST(GameFlow, EveryControlFlowCommandAndCallsWithResults) {
    const TGameRun r = PlayGame("flow");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.vars.at("score"), "1\t7");     // project global
    EXPECT_EQ(r.vars.at("x"), "1\t2");
    EXPECT_EQ(r.vars.at("path"), "4\tb|de");   // Elseif block only, If false falls through, jumps
    EXPECT_EQ(r.vars.at("sum"), "1\t12");      // 0+1+2+4+5: Continue at 3, Break at 6
    EXPECT_EQ(r.vars.at("i"), "1\t6");
    EXPECT_EQ(r.vars.at("r1"), "1\t42");       // result into an existing variable
    EXPECT_EQ(r.vars.at("fresh"), "4\t10");    // a new variable declared from the result's text
    EXPECT_EQ(r.vars.at("r3"), "4\t100");      // Break leaves the loop, then a Break outside returns
    EXPECT_EQ(r.vars.at("exited"), "3\tTRUE"); // the exit page ran at close
    EXPECT_EQ(r.vars.count("after"), 0u);
}

}  // namespace vesk::test
