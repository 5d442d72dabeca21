#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vesk::test {

// How long a test waits for something that must happen: a player built with
// the sanitizers on a machine busy with other work is slow, not wrong.
inline constexpr std::chrono::milliseconds kPatience{30000};

// Checks done() every few milliseconds until it holds or timeout has passed,
// and answers whether it held. A test waits for what it needs to see rather
// than for a time that an idle machine happens to need, so it is quick when
// the machine is and gives up with a message instead of hanging.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = kPatience) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace vesk::test
