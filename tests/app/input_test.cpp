#include <gtest/gtest.h>

#include "app/input_script.h"
#include "components/registry/input_state.h"
#include "common/error.h"

namespace vesk {
namespace {

using platform::TPlatformEvent;
using Kind = TPlatformEvent::Kind;
using Button = TPlatformEvent::Button;

TPlatformEvent Key(Kind kind, int vk, bool repeat = false) {
    TPlatformEvent e;
    e.kind = kind;
    e.key = vk;
    e.repeat = repeat;
    return e;
}

TEST(InputState, KeyEdgesHoldAndRepeatByTheFrameClock) {
    TInputState in;
    in.Apply(Key(Kind::KeyDown, 13));
    in.Apply(Key(Kind::KeyDown, 13, true));  // the system's auto-repeat: ignored
    in.BeginFrame(16);
    EXPECT_TRUE(in.KeyPush(13));
    EXPECT_TRUE(in.KeyClick(13));
    EXPECT_TRUE(in.KeyRepeat(13));  // down counts as the first repeat
    EXPECT_EQ(in.WentDown(), std::vector<int>{13});
    EXPECT_EQ(in.Repeated(), std::vector<int>{13});

    // 300 ms after the down: 16 ms frames, the countdown reaches 0 after 19
    // frames (304 ms), then every 50 ms (4 frames = 64 ms, once per 50 ms).
    int repeatsAt = -1;
    for (int f = 1; f <= 19; ++f) {
        in.BeginFrame(16);
        EXPECT_FALSE(in.KeyClick(13));
        if (in.KeyRepeat(13)) repeatsAt = f;
    }
    EXPECT_EQ(repeatsAt, 19);
    // Countdown now 300 - 304 + 50 = 46: the next repeat 3 frames on (48 ms).
    for (int f = 1; f <= 3; ++f) {
        in.BeginFrame(16);
        EXPECT_EQ(in.KeyRepeat(13), f == 3) << f;
    }
    in.Apply(Key(Kind::KeyUp, 13));
    EXPECT_TRUE(in.WentUp().empty());  // only after the next frame begins
    in.BeginFrame(16);
    EXPECT_FALSE(in.KeyPush(13));
    EXPECT_FALSE(in.KeyRepeat(13));
    EXPECT_EQ(in.WentUp(), std::vector<int>{13});
}

TEST(InputState, ATapBetweenTwoFramesIsStillAPress) {
    TInputState in;
    in.KeyDown(32);
    in.KeyUp(32);
    in.KeyDown(32);
    in.KeyUp(32);
    in.BeginFrame(15);
    EXPECT_TRUE(in.KeyClick(32));
    EXPECT_FALSE(in.KeyPush(32));
    EXPECT_EQ(in.WentDown(), std::vector<int>{32});
    in.BeginFrame(15);
    EXPECT_FALSE(in.KeyClick(32));
}

TEST(InputState, MouseButtonsWheelAndInactiveWindow) {
    TInputState in;
    TPlatformEvent down;
    down.kind = Kind::MouseDown;
    down.button = Button::Left;
    down.x = 100;
    down.y = 50;
    in.Apply(down);
    EXPECT_TRUE(in.LPush());
    EXPECT_FALSE(in.LClick());  // latched only at the frame
    in.BeginFrame(15);
    EXPECT_TRUE(in.LClick());
    EXPECT_EQ(in.MouseX(), 100);
    EXPECT_EQ(in.MouseY(), 50);
    in.MouseDown(Button::Right);  // the other button's hold is cleared
    EXPECT_TRUE(in.RPush());
    EXPECT_FALSE(in.LPush());
    in.Wheel(true);
    in.BeginFrame(15);
    EXPECT_FALSE(in.LClick());
    EXPECT_TRUE(in.RClick());
    EXPECT_TRUE(in.WheelDown() && in.KeyPush(256) && in.KeyClick(256) && in.KeyRepeat(256));
    EXPECT_FALSE(in.WheelUp() || in.KeyPush(257));
    in.MouseUp();
    EXPECT_FALSE(in.RPush());

    in.KeyDown(65);
    in.SetActive(false);  // held keys are let go with the window
    EXPECT_FALSE(in.KeyPush(65));
    in.KeyDown(66);
    in.MouseDown(Button::Left);
    in.Wheel(false);
    in.BeginFrame(15);
    EXPECT_FALSE(in.KeyClick(66) || in.LPush() || in.LClick() || in.WheelUp());
    EXPECT_TRUE(in.KeyClick(65));  // it did go down before the window went away
    in.SetActive(true);
    in.KeyDown(66);
    in.BeginFrame(15);
    EXPECT_TRUE(in.KeyClick(66));
}

TEST(InputState, OutOfRangeKeysAreNotKeys) {
    TInputState in;
    in.KeyDown(0);
    in.KeyDown(256);
    in.KeyDown(-5);
    in.BeginFrame(15);
    EXPECT_TRUE(in.WentDown().empty());
    EXPECT_FALSE(in.KeyPush(0) || in.KeyPush(258) || in.KeyPush(-1));
}

TEST(InputScript, EveryEventKind) {
    const auto events = ParseInputScript(
        "# a comment\n"
        "\n"
        "5 keydown 13   # Enter\n"
        "2 mousemove 320 -4\n"
        "2 ldown\n"
        "3 lup\n"
        "3 rdown\n"
        "3 rup\n"
        "4 wheel -2\n"
        "4 wheel 1\n"
        "6 keyup 13\r\n"
        "9 close\n");
    struct TWant {
        int frame;
        Kind kind;
        Button button = Button::None;
        int x = 0, y = 0, key = 0;
    };
    const TWant want[] = {
        {2, Kind::MouseMove, Button::None, 320, -4},
        {2, Kind::MouseDown, Button::Left},
        {3, Kind::MouseUp, Button::Left},
        {3, Kind::MouseDown, Button::Right},
        {3, Kind::MouseUp, Button::Right},
        {4, Kind::WheelDown},
        {4, Kind::WheelDown},
        {4, Kind::WheelUp},
        {5, Kind::KeyDown, Button::None, 0, 0, 13},
        {6, Kind::KeyUp, Button::None, 0, 0, 13},
        {9, Kind::Close},
    };
    ASSERT_EQ(events.size(), std::size(want));
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].Frame, want[i].frame);
        EXPECT_EQ(events[i].Event.kind, want[i].kind);
        EXPECT_EQ(events[i].Event.button, want[i].button);
        EXPECT_EQ(events[i].Event.x, want[i].x);
        EXPECT_EQ(events[i].Event.y, want[i].y);
        EXPECT_EQ(events[i].Event.key, want[i].key);
    }
}

TEST(InputScript, DamagedLinesAreErrorsNamingTheLine) {
    const char* bad[] = {
        "x ldown",          "-1 ldown",         "1",
        "1 jump",           "1 mousemove 5",    "1 mousemove 5 y",
        "1 keydown 0",      "1 keydown 256",    "1 keydown",
        "1 wheel 0",        "1 wheel 1000",     "1 ldown now",
        "99999999999 lup",  "1 mousemove 1 2 3", "1 keyup 13x",
    };
    for (const char* line : bad) {
        SCOPED_TRACE(line);
        try {
            ParseInputScript(std::string("0 lup\n") + line + "\n");
            ADD_FAILURE() << "accepted";
        } catch (const EVeskError& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(ReadInputScript("/nonexistent/input.txt"), EVeskError);
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

TEST(InputFeed, EventsReachTheStateAtTheirFrame) {
    TInputFeed feed(ParseInputScript("1 mousemove 7 8\n1 ldown\n3 keydown 65\n4 close\n"));
    TInputState in;
    EXPECT_FALSE(feed.Feed(0, in));
    EXPECT_FALSE(in.LPush());
    EXPECT_FALSE(feed.Feed(1, in));
    EXPECT_TRUE(in.LPush());
    EXPECT_EQ(in.MouseX(), 7);
    EXPECT_FALSE(feed.Feed(3, in));
    EXPECT_TRUE(in.KeyPush(65));
    EXPECT_TRUE(feed.Pending());
    EXPECT_TRUE(feed.Feed(10, in));  // a skipped frame's events still arrive
    EXPECT_FALSE(feed.Pending());
}

}  // namespace
}  // namespace vesk
