// The built player in a window of an X server of the test's own (Xvfb):
// scripted input driving a windowed run, the game clock standing still
// while the window is inactive when the project asks for it, and switching
// to full screen and back through the player's keys and toolbar button.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "platform/window.h"
#include "tests/app/process_support.h"
#include "tests/app/test_support.h"
#include "tests/platform/xvfb_fixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// Watches the keys once a frame: 1, 2 and 3 note whether the display is
// full screen then; a click notes where and in which frame; space notes
// how far the game clock and the system timer went since the first frame
// and ends the game.
const char* const kPage = R"(VarNew x kind: int init: -1
VarNew y kind: int init: -1
VarNew clickAt kind: int init: 0
VarNew spaceAt kind: int init: 0
VarNew full1 kind: int init: -1
VarNew full2 kind: int init: -1
VarNew full3 kind: int init: -1
VarNew clockStart kind: int init: 0
VarNew pcStart kind: int init: 0
VarNew clockSpan kind: int init: 0
VarNew pcSpan kind: int init: 0
Calc clockStart = @TickCount
Calc pcStart = @PCTickCount
Label loop
Wait time: 1
Jump :click if: @LClick
Jump :one if: @KeyClick[49]
Jump :two if: @KeyClick[50]
Jump :three if: @KeyClick[51]
Jump :loop if: @KeyClick[32] == FALSE
Calc clockSpan = @TickCount - clockStart
Calc pcSpan = @PCTickCount - pcStart
Calc spaceAt = @UpdateCount
Terminate
Label click
Calc x = @MouseX
Calc y = @MouseY
Calc clickAt = @UpdateCount
Jump :loop
Label one
Calc full1 = @FullScr
Jump :loop
Label two
Calc full2 = @FullScr
Jump :loop
Label three
Calc full3 = @FullScr
Jump :loop
)";

class WindowedPlayerProcess : public ::testing::Test {
protected:
    // The game built into a folder of its own, for a screen of that size.
    void Build(int width, int height, bool pause) {
        if (!x_) x_ = std::make_unique<test::TXvfb>(screen_);
        ASSERT_TRUE(x_->Started()) << x_->error;
        test::WriteFile(src_ / "vesk.vkp.txt", "title: windowed\nscreen: " + std::to_string(width) + " " +
                                                   std::to_string(height) + "\nfullscreen: " + std::to_string(width) +
                                                   " " + std::to_string(height) + "\nstart: start.vks\npause: " +
                                                   (pause ? "1" : "0") + "\n");
        test::WriteFile(src_ / "start.vks.txt", kPage);
        test::TChild tool(std::string(VESK_BINARY_DIR) + "/vesk", {"build", src_.Path(), "-o", game_.Path()});
        ASSERT_EQ(tool.Wait(), 0) << tool.out << tool.err;
    }
    void Start(const std::vector<std::string>& extra = {}) {
        fs::remove(game_ / "vars.txt");
        fs::remove(game_ / "trace.txt");
        std::vector<std::string> args{"--frames", "20000", "--dump-vars", game_ / "vars.txt", "--trace",
                                      game_ / "trace.txt"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(game_.Path());
        // SDL keeps memory to the end of the process that is not the
        // player's to free; the leak check would fail every windowed run.
        // The test's display is an X server: no other video driver is tried.
        player_ = std::make_unique<test::TChild>(
            std::string(VESK_BINARY_DIR) + "/veskplay", args,
            std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0", "SDL_VIDEODRIVER=x11"});
        // Up to a minute: a sanitised player on a busy machine is slow.
        for (int i = 0; i < 3000 && id_.empty(); ++i) {
            id_ = test::Shell("xdotool search --onlyvisible --name '^windowed$' 2>/dev/null | head -n1");
            if (id_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (id_.empty()) {
            // What there is instead, for the message.
            const std::string windows = test::Shell("xdotool search --name '' getwindowname %@ 2>&1 | head -n 20");
            player_->WaitForError("\x01", 2000);
            FAIL() << "the window never appeared on " << x_->display << "; windows there: " << windows
                   << "\nthe server said: " << x_->Said()
                   << "\noutput: " << player_->out << "\nerrors: " << player_->err;
        }
    }
    // Polls cond every 20 ms for up to 30 s: a busy machine is slow, not wrong.
    static bool Until(const std::function<bool()>& cond) {
        for (int i = 0; i < 1500; ++i) {
            if (cond()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return cond();
    }
    int TraceLines() const {
        std::istringstream in(test::ReadFile(game_ / "trace.txt"));
        int n = 0;
        for (std::string l; std::getline(in, l);) ++n;
        return n;
    }
    // Frames are running: the trace (written line by line) has begun.
    bool Running() const {
        return Until([&] { return TraceLines() > 0; });
    }
    // Two more frames have run: what was sent before has been seen. (The
    // waiting loop traces at least six commands a frame.)
    bool TwoFrames() const {
        const int from = TraceLines();
        return Until([&] { return TraceLines() >= from + 12; });
    }
    // A key, then the frames that see it.
    void KeySeen(const std::string& key) {
        Key(key);
        ASSERT_TRUE(TwoFrames());
    }
    // Waits for the focus to arrive, but not for ever.
    void Focus(const std::string& window) {
        test::Shell("timeout 10 xdotool windowfocus --sync " + window + " 2>/dev/null");
    }
    // X keys go to the window with the keyboard: the game's, given it first.
    void Key(const std::string& key) {
        Focus(id_);
        test::Shell("xdotool key " + key);
    }
    std::string Geometry() const {
        return test::Shell("xdotool getwindowgeometry " + id_ + " | grep Geometry | tr -d ' '");
    }
    bool GeometryBecomes(const std::string& want) const {
        return Until([&] { return Geometry() == "Geometry:" + want; });
    }
    // The run's end: the variables it dumped, their values without the kind.
    std::map<std::string, std::string> Vars() {
        EXPECT_EQ(player_->Wait(), 0) << player_->err;
        EXPECT_EQ(player_->err.find("headless"), std::string::npos) << player_->err;
        std::map<std::string, std::string> vars;
        std::istringstream in(test::ReadFile(game_ / "vars.txt"));
        for (std::string l; std::getline(in, l);) {
            const std::size_t tab = l.find('\t'), value = l.find('\t', tab + 1);
            vars[l.substr(0, tab)] = value == std::string::npos ? "" : l.substr(value + 1);
        }
        return vars;
    }
    std::map<std::string, std::string> Finish() {
        Key("space");
        return Vars();
    }

    std::string screen_ = "1024x768x24";
    std::unique_ptr<test::TXvfb> x_;
    test::TTempDir src_, game_;
    std::unique_ptr<test::TChild> player_;
    std::string id_;
};

// The scripted input reaches a windowed game at the frames it names,
// exactly as in a run without a window.
TEST_F(WindowedPlayerProcess, ScriptedInputDrivesTheWindowedGame) {
    ASSERT_NO_FATAL_FAILURE(Build(320, 200, false));
    test::WriteFile(game_ / "input.txt", "3 mousemove 100 60\n5 ldown\n6 lup\n9 keydown 50\n10 keyup 50\n"
                                         "12 keydown 32\n13 keyup 32\n");
    ASSERT_NO_FATAL_FAILURE(Start({"--input", game_ / "input.txt"}));
    const auto vars = Vars();
    EXPECT_EQ(vars.at("x"), "100");
    EXPECT_EQ(vars.at("y"), "60");
    EXPECT_EQ(vars.at("clickAt"), "5");
    EXPECT_EQ(vars.at("full2"), "0");
    EXPECT_EQ(vars.at("spaceAt"), "12");
}

// With pausing asked for, the frame thread stops while the window is
// inactive: the game clock leaves out the inactive time that the system
// timer counts. Without it the game clock runs on.
TEST_F(WindowedPlayerProcess, TheGameClockStandsStillWhileInactiveOnlyWhenTheProjectAsks) {
    for (const bool pause : {true, false}) {
        SCOPED_TRACE(pause ? "pause: 1" : "pause: 0");
        ASSERT_NO_FATAL_FAILURE(Build(320, 200, pause));
        ASSERT_NO_FATAL_FAILURE(Start());
        Focus(id_);
        ASSERT_TRUE(Running());
        // The root window takes the keyboard: the game's window is inactive
        // for the time measured (a time, so it cannot be polled for).
        Focus(test::Shell("xdotool search --maxdepth 0 --name '' 2>/dev/null | head -n1"));
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
        Focus(id_);
        const auto vars = Finish();
        const int clock = std::stoi(vars.at("clockSpan")), pc = std::stoi(vars.at("pcSpan"));
        if (pause)
            EXPECT_GE(pc - clock, 1200) << "clock " << clock << ", timer " << pc;
        else
            EXPECT_LT(pc - clock, 1200) << "clock " << clock << ", timer " << pc;
        id_.clear();
    }
}

// F11, Alt+Enter and the toolbar's "画面切替" each switch (in full screen
// the toolbar shows from the top row); the game sees @FullScr, and the
// window comes back with its size and toolbar.
TEST_F(WindowedPlayerProcess, FullScreenThroughTheKeysAndTheToolbarButton) {
    ASSERT_NO_FATAL_FAILURE(Build(320, 200, false));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string windowed = "320x" + std::to_string(200 + platform::kDockHeight);
    Focus(id_);
    ASSERT_TRUE(Running());
    ASSERT_TRUE(GeometryBecomes(windowed)) << Geometry();

    // The button's middle: client (88, 11). (Without a window manager the X
    // window keeps its size in full screen, so the game's @FullScr tells.)
    test::Shell("xdotool mousemove --window " + id_ + " 88 11 click 1");
    ASSERT_TRUE(TwoFrames());
    KeySeen("1");
    // In full screen the toolbar shows while the pointer comes from the top row.
    test::Shell("xdotool mousemove --window " + id_ + " 88 0");
    test::Shell("xdotool mousemove --window " + id_ + " 88 11 click 1");
    EXPECT_TRUE(GeometryBecomes(windowed)) << Geometry();
    ASSERT_TRUE(TwoFrames());
    KeySeen("2");
    KeySeen("F11");
    KeySeen("3");
    Key("alt+Return");
    ASSERT_TRUE(TwoFrames());
    EXPECT_EQ(Geometry(), "Geometry:" + windowed);
    const auto vars = Finish();
    EXPECT_EQ(vars.at("full1"), "1");
    EXPECT_EQ(vars.at("full2"), "0");
    EXPECT_EQ(vars.at("full3"), "1");
}

// A display smaller than the game has no mode for it: the switch is
// refused and the window stays as it was, toolbar and all.
TEST_F(WindowedPlayerProcess, WithoutAModeForTheGameTheWindowStaysWindowed) {
    screen_ = "640x480x24";
    ASSERT_NO_FATAL_FAILURE(Build(800, 600, false));
    ASSERT_NO_FATAL_FAILURE(Start());
    Focus(id_);
    ASSERT_TRUE(Running());
    const std::string windowed = "800x" + std::to_string(600 + platform::kDockHeight);
    ASSERT_TRUE(GeometryBecomes(windowed)) << Geometry();
    KeySeen("F11");
    KeySeen("1");
    EXPECT_EQ(Geometry(), "Geometry:" + windowed);
    const auto vars = Finish();
    EXPECT_EQ(vars.at("full1"), "0");  // asked after the refused switch
}

}  // namespace
}  // namespace vesk
