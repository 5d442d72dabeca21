#include "app/loopthread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vesk {
namespace {

struct TTickCase {
    std::uint32_t now;
    bool runs;
    std::uint32_t playClock, lastFrame, nextWait;
};

TEST(LoopTicker, ClockRulesOverASequenceOfWakeUps) {
    TFrameTiming timing;
    TLoopTicker ticker(timing);
    ticker.Start(1000);
    EXPECT_EQ(ticker.NextWait(), 1u);
    const TTickCase cases[] = {
        {1015, true, 15, 15, 1},    // a full period: no wait left, at least 1
        {1020, true, 20, 5, 10},    // early: wait out the rest of the period
        {1320, false, 20, 5, 1},    // exactly 300 ms: a gap, nothing counted
        {1619, true, 319, 299, 1},  // 299 ms still counts
        {1620, true, 320, 1, 14},
        {61620, false, 320, 1, 1},  // a minute inactive: no step
        {61632, true, 332, 12, 3},  // the next tick counts again
    };
    for (const TTickCase& c : cases) {
        SCOPED_TRACE(c.now);
        EXPECT_EQ(ticker.Tick(c.now), c.runs);
        EXPECT_EQ(timing.PlayClock, c.playClock);
        EXPECT_EQ(timing.LastFrameMs, c.lastFrame);
        EXPECT_EQ(timing.LastTick, c.now);
        EXPECT_EQ(ticker.NextWait(), c.nextWait);
    }
}

TEST(LoopTicker, IntervalsAcrossTheTimerWrap) {
    TFrameTiming timing;
    TLoopTicker ticker(timing);
    ticker.Start(0xFFFFFFF0u);
    EXPECT_TRUE(ticker.Tick(5));  // 16 + 5 = 21 ms later
    EXPECT_EQ(timing.PlayClock, 21u);
    EXPECT_EQ(timing.LastFrameMs, 21u);
}

// Each reading of the clock is 10 ms after the previous one, plus whatever
// the test adds as a jump.
class TSteppingClock final : public platform::TClock {
public:
    std::uint32_t Now() override { return now_ += 10 + jump_.exchange(0); }
    void Jump(std::uint32_t ms) { jump_ = ms; }

private:
    std::atomic<std::uint32_t> now_{0}, jump_{0};
};

class LoopThreadTest : public ::testing::Test {
protected:
    // Runs the main thread's side until count steps have run in all.
    bool RunSteps(int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (steps < count) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (!loop.RunPending()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    // The frame thread waits while the step runs, so inside the step the
    // clock shows exactly the intervals of the steps so far.
    void Step() {
        ++steps;
        if (timing.PlayClock != static_cast<std::uint32_t>(10 * steps) || timing.LastFrameMs != 10) ++wrong;
        EXPECT_EQ(std::this_thread::get_id(), mainThread);
    }

    TSteppingClock clock;
    TFrameTiming timing;
    int steps = 0, wrong = 0;
    std::thread::id mainThread = std::this_thread::get_id();
    TLoopThread loop{clock, timing, [this] { Step(); }};
};

TEST_F(LoopThreadTest, StepsRunOnTheMainThreadWithTheClockOfTheirIntervals) {
    loop.SetEnabled(true);
    loop.Start();
    ASSERT_TRUE(RunSteps(20));
    loop.Stop();
    EXPECT_EQ(wrong, 0);
}

TEST_F(LoopThreadTest, ASuspensionAddsNothingToThePlayClock) {
    loop.SetEnabled(true);
    loop.Start();
    ASSERT_TRUE(RunSteps(5));
    loop.Suspend();
    EXPECT_TRUE(loop.Suspended());
    clock.Jump(60000);
    for (int i = 0; i < 30; ++i) {
        EXPECT_FALSE(loop.RunPending());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(steps, 5);
    loop.Resume();
    ASSERT_TRUE(RunSteps(10));
    loop.Stop();
    EXPECT_EQ(wrong, 0);  // the minute's jump never reached the play clock
}

TEST_F(LoopThreadTest, DisabledStepsDoNotRunButTheClockGoesOn) {
    loop.Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (timing.PlayClock < 50 && std::chrono::steady_clock::now() < deadline) {
        EXPECT_FALSE(loop.RunPending());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    loop.Stop();
    EXPECT_GE(timing.PlayClock, 50u);
    EXPECT_EQ(steps, 0);
}

TEST_F(LoopThreadTest, StopWhileAStepWaitsForTheMainThread) {
    loop.SetEnabled(true);
    loop.Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (timing.PlayClock == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loop.Stop();  // must not wait for the step that nobody runs
    EXPECT_FALSE(loop.RunPending());
    EXPECT_EQ(steps, 0);
}

}  // namespace
}  // namespace vesk
