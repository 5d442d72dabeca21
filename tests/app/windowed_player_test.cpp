// The built player in a window of an X server of the test's own (Xvfb):
// scripted input driving a windowed run, the game clock standing still
// while the window is inactive when the project asks for it, and switching
// to full screen and back through the player's keys and toolbar button.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/window.h"
#include "tests/app/process_support.h"
#include "tests/app/test_support.h"
#include "tests/app/wait_until.h"
#include "tests/platform/xvfb_fixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// Watches the keys once a frame: 1 to 4 note whether the display is full
// screen then; a click notes where and in which frame; space notes
// how far the game clock and the system timer went since the first frame
// and ends the game.
const char* const kPage = R"(VarNew x kind: int init: -1
VarNew y kind: int init: -1
VarNew clickAt kind: int init: 0
VarNew spaceAt kind: int init: 0
VarNew full1 kind: int init: -1
VarNew full2 kind: int init: -1
VarNew full3 kind: int init: -1
VarNew full4 kind: int init: -1
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
Jump :four if: @KeyClick[52]
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
Label four
Calc full4 = @FullScr
Jump :loop
)";

// The line of kPage that holds command: the trace names a command by it.
int LineOf(const std::string& command) {
    std::istringstream in(kPage);
    int n = 0;
    for (std::string l; std::getline(in, l);) {
        ++n;
        if (l == command) return n;
    }
    return 0;
}

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
        // SDL drops a click that comes within a few milliseconds of the
        // focus, and the test's clicks follow the focus that fast.
        player_ = std::make_unique<test::TChild>(
            std::string(VESK_BINARY_DIR) + "/veskplay", args,
            std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0", "SDL_VIDEODRIVER=x11",
                                     "SDL_MOUSE_FOCUS_CLICKTHROUGH=1"});
        id_ = test::WaitForWindow("windowed");
        if (id_.empty()) {
            // What there is instead, for the message.
            const std::string windows = test::Shell("xdotool search --name '' getwindowname %@ 2>&1 | head -n 20");
            player_->Terminate();
            FAIL() << "the window never appeared on " << x_->display << "; windows there: " << windows
                   << "\nthe server said: " << x_->Said()
                   << "\noutput: " << player_->out << "\nerrors: " << player_->err;
        }
    }
    // The trace, written line by line as the game runs.
    std::string Trace() const { return test::ReadFile(game_ / "trace.txt"); }
    // Frames are running: the trace has begun.
    bool Running() const {
        return test::WaitUntil([&] { return !Trace().empty(); });
    }
    // Until the game has run command (a line of kPage).
    bool Traced(const std::string& command) const {
        const std::string traced = "start.vks(" + std::to_string(LineOf(command)) + ")";
        return test::WaitUntil([&] { return Trace().find(traced) != std::string::npos; });
    }
    // The play clock of the last command traced, in milliseconds.
    long TracedClock() const {
        const std::string trace = Trace();
        const std::size_t end = trace.rfind('\n');
        if (end == std::string::npos) return 0;
        const std::size_t begin = trace.rfind('\n', end - 1);
        return std::stol(trace.substr(begin == std::string::npos ? 0 : begin + 1, 8), nullptr, 16);
    }
    // Sends a key and waits for the command the game runs when it sees it.
    // The player handles input in the order it came, so everything sent
    // before the key has been handled by then, and the next key reaches the
    // game in a frame of its own.
    void KeySeen(const std::string& key, const std::string& command) {
        Key(key);
        ASSERT_TRUE(Traced(command)) << "the game never saw " << key;
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
        return test::WaitUntil([&] { return Geometry() == "Geometry:" + want; });
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
        // A game that never sees the key would run on to its frame limit.
        if (!Traced("Terminate")) {
            ADD_FAILURE() << "the game never saw the space key";
            player_->Terminate();
        }
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
    using std::chrono::steady_clock;
    // How long the window stays inactive, measured as the player shows it;
    // the game clock is to leave out all of it but the frames at its ends.
    constexpr std::chrono::milliseconds inactive{1500};
    constexpr int leftOut = 1200;
    for (const bool pause : {true, false}) {
        SCOPED_TRACE(pause ? "pause: 1" : "pause: 0");
        ASSERT_NO_FATAL_FAILURE(Build(320, 200, pause));
        ASSERT_NO_FATAL_FAILURE(Start());
        Focus(id_);
        ASSERT_TRUE(Running());
        // The root window takes the keyboard: the game's window is inactive.
        Focus(test::Shell("xdotool search --maxdepth 0 --name '' 2>/dev/null | head -n1"));
        if (pause) {
            // Paused, the game traces nothing: until it has traced nothing
            // for the time, however long the player took to stop.
            const fs::path trace = game_ / "trace.txt";
            std::uintmax_t size = fs::file_size(trace);
            steady_clock::time_point grew = steady_clock::now();
            ASSERT_TRUE(test::WaitUntil([&] {
                if (const std::uintmax_t now = fs::file_size(trace); now != size) {
                    size = now;
                    grew = steady_clock::now();
                }
                return steady_clock::now() - grew >= inactive;
            })) << "the frames went on while the window was inactive";
        } else {
            // Running on, the game traces its play clock: until that has
            // gone on by the time.
            const long from = TracedClock();
            ASSERT_TRUE(test::WaitUntil([&] { return TracedClock() - from >= inactive.count(); }))
                << "the game clock stood still at " << TracedClock();
        }
        Focus(id_);
        const auto vars = Finish();
        const int clock = std::stoi(vars.at("clockSpan")), pc = std::stoi(vars.at("pcSpan"));
        if (pause)
            EXPECT_GE(pc - clock, leftOut) << "clock " << clock << ", timer " << pc;
        else
            EXPECT_LT(pc - clock, leftOut) << "clock " << clock << ", timer " << pc;
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
    KeySeen("1", "Calc full1 = @FullScr");
    // In full screen the toolbar shows while the pointer comes from the top row.
    test::Shell("xdotool mousemove --window " + id_ + " 88 0 mousemove --window " + id_ + " 88 11 click 1");
    KeySeen("2", "Calc full2 = @FullScr");
    EXPECT_TRUE(GeometryBecomes(windowed)) << Geometry();
    Key("F11");
    KeySeen("3", "Calc full3 = @FullScr");
    Key("alt+Return");
    KeySeen("4", "Calc full4 = @FullScr");
    EXPECT_TRUE(GeometryBecomes(windowed)) << Geometry();
    const auto vars = Finish();
    EXPECT_EQ(vars.at("full1"), "1");
    EXPECT_EQ(vars.at("full2"), "0");
    EXPECT_EQ(vars.at("full3"), "1");
    EXPECT_EQ(vars.at("full4"), "0");
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
    Key("F11");
    KeySeen("1", "Calc full1 = @FullScr");
    EXPECT_EQ(Geometry(), "Geometry:" + windowed);
    const auto vars = Finish();
    EXPECT_EQ(vars.at("full1"), "0");  // asked after the refused switch
}

}  // namespace
}  // namespace vesk
