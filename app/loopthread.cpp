#include "app/loopthread.h"

namespace vesk {

void TLoopTicker::Start(std::uint32_t now) {
    timing_.LastTick = now;
    nextWait_ = 1;
}

bool TLoopTicker::Tick(std::uint32_t now) {
    const std::uint32_t d = now - timing_.LastTick;
    nextWait_ = 1;
    timing_.LastTick = now;
    if (d >= kMaxFrameInterval) return false;
    timing_.PlayClock += d;
    timing_.LastFrameMs = d;
    nextWait_ = static_cast<std::int64_t>(kFramePeriod) - d;
    return true;
}

TLoopThread::TLoopThread(platform::TClock& clock, TFrameTiming& timing, TStep step,
                         std::function<void()> wake)
    : clock_(clock), ticker_(timing), step_(std::move(step)), wake_(std::move(wake)) {}

TLoopThread::~TLoopThread() { Stop(); }

void TLoopThread::Start() {
    if (thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    ticker_.Start(clock_.Now());
    thread_ = std::thread([this] { Run(); });
}

void TLoopThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        suspended_ = false;
        queued_ = false;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void TLoopThread::SetEnabled(bool enabled) {
    std::lock_guard lock(mutex_);
    enabled_ = enabled;
}

void TLoopThread::Suspend() {
    std::lock_guard lock(mutex_);
    suspended_ = true;
    // A step already handed over is not run any more: after Suspend returns
    // no frame step happens until Resume.
    queued_ = false;
    cv_.notify_all();
}

void TLoopThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    cv_.notify_all();
}

bool TLoopThread::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspended_;
}

bool TLoopThread::RunPending() {
    {
        std::lock_guard lock(mutex_);
        if (!queued_) return false;
    }
    step_();
    {
        std::lock_guard lock(mutex_);
        queued_ = false;
    }
    cv_.notify_all();
    return true;
}

void TLoopThread::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        const auto wait = std::chrono::milliseconds(ticker_.NextWait());
        if (cv_.wait_for(lock, wait, [this] { return stop_ || suspended_; })) {
            if (stop_) break;
            cv_.wait(lock, [this] { return stop_ || !suspended_; });
            if (stop_) break;
        }
        const bool run = ticker_.Tick(clock_.Now());
        if (!run || !enabled_) continue;
        // The step runs synchronously on the main thread: hand it over and
        // wait until it has run (or the thread is stopped or suspended).
        queued_ = true;
        if (wake_) {
            lock.unlock();
            wake_();
            lock.lock();
        }
        cv_.wait(lock, [this] { return stop_ || !queued_; });
    }
}

}  // namespace vesk
