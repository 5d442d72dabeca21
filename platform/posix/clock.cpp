#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace vesk::platform {

std::uint32_t MilliTimer() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

TLocalDateTime LocalDateTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    TLocalDateTime t;
    t.Year = local.tm_year + 1900;
    t.Month = local.tm_mon + 1;
    t.Day = local.tm_mday;
    t.WeekDay = local.tm_wday;
    t.Hour = local.tm_hour;
    t.Minute = local.tm_min;
    // A leap second shows as the last second of its minute.
    t.Second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.Millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return t;
}

std::uint32_t MillisecondsSinceMidnight() {
    const TLocalDateTime t = LocalDateTime();
    return static_cast<std::uint32_t>(((t.Hour * 60 + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond);
}

}  // namespace vesk::platform
