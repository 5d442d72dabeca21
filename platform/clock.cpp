#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace vesk::platform {

std::uint32_t MilliTimer() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t MillisecondsSinceMidnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return static_cast<std::uint32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) *
                                          1000 +
                                      now.tv_nsec / 1000000);
}

}  // namespace vesk::platform
