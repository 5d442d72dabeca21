#include <gtest/gtest.h>

#include <ctime>

#include "tests/games/game_runner.h"

namespace vesk::test {

// The date variables read the system's local date and time. The run is
// bracketed by two readings of the C library's clock; when the minute turns
// in between, the game may have seen either one.
TEST(GameClock, DateVariablesShowTheLocalTime) {
    const auto local = [] {
        const std::time_t now = std::time(nullptr);
        std::tm t{};
        localtime_r(&now, &t);
        return t;
    };
    const std::tm before = local();
    const TGameRun r = RunGame("clock");
    const std::tm after = local();
    ASSERT_EQ(r.status, 0);
    const auto matches = [&](const std::tm& t) {
        return r.vars.at("y") == "1\t" + std::to_string(t.tm_year + 1900) &&
               r.vars.at("mo") == "1\t" + std::to_string(t.tm_mon + 1) &&
               r.vars.at("d") == "1\t" + std::to_string(t.tm_mday) &&
               r.vars.at("w") == "1\t" + std::to_string(t.tm_wday + 1) &&
               r.vars.at("h") == "1\t" + std::to_string(t.tm_hour) &&
               r.vars.at("mi") == "1\t" + std::to_string(t.tm_min);
    };
    EXPECT_TRUE(matches(before) || matches(after)) << r.vars.at("y") << " " << r.vars.at("mo") << " "
                                                   << r.vars.at("d") << " " << r.vars.at("h");
}

}  // namespace vesk::test
