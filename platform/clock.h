#pragma once

#include <cstdint>

namespace vesk::platform {

// The player's millisecond timer: monotonic, wrapping at 2^32 like every
// 32-bit time value of the engine (intervals are taken as differences).
std::uint32_t MilliTimer();

// Milliseconds since local midnight of the current time of day, the seed of
// the script random generator.
std::uint32_t MillisecondsSinceMidnight();

// The current local date and time of the system.
struct TLocalDateTime {
    int Year = 1970, Month = 1, Day = 1;  // month 1-12, day 1-31
    int WeekDay = 4;                      // 0 = Sunday … 6 = Saturday
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};
TLocalDateTime LocalDateTime();

}  // namespace vesk::platform

namespace vesk::platform {

// A source of the millisecond timer that the frame loop measures with, so
// tests can drive its clock rules with their own time.
class TClock {
public:
    virtual ~TClock() = default;
    virtual std::uint32_t Now() = 0;
};

// The system's millisecond timer.
class TSystemClock final : public TClock {
public:
    std::uint32_t Now() override { return MilliTimer(); }
};

}  // namespace vesk::platform
