#include <gtest/gtest.h>

#include "tests/games/game_runner.h"

namespace vesk::test {

// Frames are 16 ms. The first Wait takes its first frame and then as many
// frames as it takes 16 ms steps to add up to 100 (7), so it ends in frame
// 7 (clock 128) although an event page ran in frame 1: its remaining time
// was saved with the interrupted flow and restored on return.
TEST(GameEvents, WaitSurvivesEventsHoldKeepsThemPendingAndEventsNest) {
    const std::string events =
        "1 btn ev.vkx:go 42\n"
        "10 btn ev.vkx:late\n"
        "100 slow ev.vkx:slow\n"
        "101 quick ev.vkx:quick\n";
    const TGameRun r = PlayGame("events", 120, 16, events);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.vars.at("log"), "4\tsE42btnwFhA1BA2");
    EXPECT_EQ(r.vars.at("tw"), "1\t128");
    // The hold-events Wait (1000 ms) began in frame 7 and ends after 63
    // further frames, in frame 70 (clock 1136); the event posted in frame 10
    // stayed pending until then and started as soon as the Wait had ended,
    // before the command after it.
    EXPECT_EQ(r.vars.at("th"), "1\t1136");
    EXPECT_EQ(r.vars.at("t2"), "1\t1136");
}

TEST(GameEvents, TraceMarksEventPagesAndEachCommandOnce) {
    const TGameRun r = RunGame("events", 3, 16, "1 btn ev.vkx:go 7\n");
    ASSERT_EQ(r.status, 0);
    const std::vector<std::string> expected = {
        "00000010 : start.vks(1)",        "00000010 : start.vks(2)", "00000010 : start.vks(3)",
        // The event page starts at its label command.
        "00000020 : <Event>ev.vks(1)",    "00000020 : ev.vks(1)",    "00000020 : ev.vks(2)",
        "00000020 : ev.vks(3)",
        "00000020 : start.vks(3)",
    };
    EXPECT_EQ(r.trace, expected);
}

}  // namespace vesk::test
