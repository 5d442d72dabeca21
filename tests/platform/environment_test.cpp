#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/locale.h"

namespace vesk::platform {
namespace {

// Sets environment variables for one test and puts the old values back.
class TEnvScope {
public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name)) saved_[name] = GetEnv(name);
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~TEnvScope() {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(Locale, JapaneseByTheFirstVariableThatIsSet) {
    struct Case {
        const char *all, *messages, *lang;
        bool japanese;
    } cases[] = {
        {nullptr, nullptr, "ja_JP.UTF-8", true},
        {nullptr, nullptr, "en_US.UTF-8", false},
        {"C", nullptr, "ja_JP.UTF-8", false},
        {"", "ja_JP.eucJP", "en_GB", true},
        {nullptr, nullptr, nullptr, false},
    };
    for (const auto& c : cases) {
        TEnvScope env;
        env.Set("LC_ALL", c.all);
        env.Set("LC_MESSAGES", c.messages);
        env.Set("LANG", c.lang);
        EXPECT_EQ(SystemLanguageIsJapanese(), c.japanese) << (c.lang ? c.lang : "-");
    }
}

TEST(Environment, XdgFoldersOnlyWhenAbsolute) {
    TEnvScope env;
    env.Set("HOME", "/home/u");
    env.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(XdgDataHome(), "/home/u/.local/share");
    env.Set("XDG_DATA_HOME", "/data/u/");
    EXPECT_EQ(XdgDataHome(), "/data/u");
    env.Set("XDG_RUNTIME_DIR", "run");
    EXPECT_EQ(XdgRuntimeDir(), "");
    env.Set("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(XdgRuntimeDir(), "/run/user/1000");
}

// The timer's milliseconds are measured against the system's steady clock
// read around them, however long a busy machine takes over the sleep.
TEST(Clock, MillisecondsMoveForwardAndTheDayStaysADay) {
    using std::chrono::steady_clock;
    const steady_clock::time_point before = steady_clock::now();
    const std::uint32_t a = MilliTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const std::uint32_t elapsed = MilliTimer() - a;  // wraps like the engine's own sums
    const auto measured = std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - before);
    EXPECT_GE(elapsed, 30u);
    // Whole milliseconds on both sides: each may round down once.
    EXPECT_LE(elapsed, measured.count() + 1);
    EXPECT_LT(MillisecondsSinceMidnight(), 24u * 60 * 60 * 1000);
}

// The local time follows the zone: compared with the C library's own
// broken-down UTC time of the same moment, in zones on either side of it.
TEST(Clock, LocalDateTimeIsTheCalendarTimeOfTheZone) {
    TEnvScope env;
    for (const auto& [zone, shift] : {std::pair{"UTC0", 0}, std::pair{"JST-9", 9}, std::pair{"HST10", -10}}) {
        env.Set("TZ", zone);
        tzset();
        TLocalDateTime t;
        std::tm utc{};
        for (;;) {  // read again when the second turned in between
            const std::time_t before = std::time(nullptr);
            t = LocalDateTime();
            if (std::time(nullptr) != before) continue;
            const std::time_t shifted = before + shift * 3600;
            gmtime_r(&shifted, &utc);
            break;
        }
        EXPECT_EQ(t.Year, utc.tm_year + 1900) << zone;
        EXPECT_EQ(t.Month, utc.tm_mon + 1) << zone;
        EXPECT_EQ(t.Day, utc.tm_mday) << zone;
        EXPECT_EQ(t.WeekDay, utc.tm_wday) << zone;
        EXPECT_EQ(t.Hour, utc.tm_hour) << zone;
        EXPECT_EQ(t.Minute, utc.tm_min) << zone;
        EXPECT_EQ(t.Second, utc.tm_sec) << zone;
        EXPECT_GE(t.Millisecond, 0);
        EXPECT_LT(t.Millisecond, 1000);
    }
    env.Set("TZ", nullptr);
    tzset();
}

}  // namespace
}  // namespace vesk::platform
