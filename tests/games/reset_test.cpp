#include <gtest/gtest.h>

#include "tests/games/game_runner.h"

namespace vesk::test {

// Locals at depths 1, 2 and 3 each see their own x (3, 2, 1 in return
// order); PCReset with all abandons the calls and their variables; the
// event page's PCReset without all redirects the main flow to "done" and
// goes on itself; Reset deletes the non-status variables and restarts;
// Terminate ends the game and the exit page runs.
TEST(GameReset, LocalsPCResetBothFormsResetTerminateAndTheExitPage) {
    const TGameRun r = RunGame("reset", 50, 16, "3 btn ev.vks\n");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.vars.at("log"), "4\ts321aEeDLX");
    EXPECT_EQ(r.vars.count("g"), 0u);     // Reset deleted it
    EXPECT_EQ(r.vars.count("x"), 0u);     // locals went with their calls
    EXPECT_EQ(r.vars.count("keep"), 0u);  // so did the auto variable
}

}  // namespace vesk::test
