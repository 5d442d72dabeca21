#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/clock.h"

namespace vesk {

// The process-wide timing values of the frame loop, written by the frame
// thread and read by the main thread: plain 32-bit values in milliseconds.
struct TFrameTiming {
    std::atomic<std::uint32_t> PlayClock{0};    // sum of every accepted frame interval
    std::atomic<std::uint32_t> LastFrameMs{0};  // the last accepted interval
    std::atomic<std::uint32_t> LastTick{0};     // time of the last tick
    std::atomic<std::uint32_t> FrameCount{0};   // frame steps run (the step counts itself)
};

// An interval this long or longer (the machine slept, the game was paused)
// adds nothing to the play clock and runs no step.
inline constexpr std::uint32_t kMaxFrameInterval = 300;
// The frame thread aims at one tick this often.
inline constexpr std::uint32_t kFramePeriod = 15;

// The frame thread's rule for one wake-up, apart from the thread, so the
// clock rules can be driven by any sequence of times.
class TLoopTicker {
public:
    explicit TLoopTicker(TFrameTiming& timing) : timing_(timing) {}

    // The thread starts: now is the last tick; the first wait is 1 ms.
    void Start(std::uint32_t now);
    // A wake-up at now; true when the frame step is to run. Times wrap at
    // 2^32, intervals are differences.
    bool Tick(std::uint32_t now);
    // Milliseconds to wait before the next wake-up, at least 1.
    std::uint32_t NextWait() const { return nextWait_ < 1 ? 1 : static_cast<std::uint32_t>(nextWait_); }

private:
    TFrameTiming& timing_;
    std::int64_t nextWait_ = 1;
};

// The frame thread: it only measures time and has the main thread run the
// frame step, waiting until the step has run. The main thread's loop calls
// RunPending whenever the wake callback tells it a step is waiting.
class TLoopThread {
public:
    using TStep = std::function<void()>;

    // clock and timing must outlive the thread; wake is called on the frame
    // thread after a step was queued (e.g. to post an event to the main
    // loop) and may be empty when the main loop polls.
    TLoopThread(platform::TClock& clock, TFrameTiming& timing, TStep step, std::function<void()> wake = {});
    ~TLoopThread();
    TLoopThread(const TLoopThread&) = delete;
    TLoopThread& operator=(const TLoopThread&) = delete;

    void Start();
    // Told to stop, resumed when suspended, woken and awaited. A step queued
    // for the main thread is dropped.
    void Stop();
    // The start flag: the step runs only while enabled.
    void SetEnabled(bool enabled);
    // While suspended no ticks happen, so the play clock stands still and
    // the first tick after Resume sees a long interval.
    void Suspend();
    void Resume();
    bool Suspended() const;

    // Main thread: runs the queued frame step, if any; true when one ran.
    bool RunPending();

private:
    void Run();

    platform::TClock& clock_;
    TLoopTicker ticker_;
    TStep step_;
    std::function<void()> wake_;

    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool stop_ = false;
    bool suspended_ = false;
    bool enabled_ = false;
    bool queued_ = false;  // a step waits for the main thread
    std::thread thread_;
};

}  // namespace vesk
