// Input reaching a game: scripted input and screenshots of headless runs,
// and the player's own window in an X server of the test's own, with real X
// input (xdotool).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/window.h"
#include "tests/app/test_support.h"
#include "tests/app/wait_until.h"
#include "tests/games/game_runner.h"
#include "tests/platform/xvfb_fixture.h"

namespace vesk::test {

namespace fs = std::filesystem;

namespace {

std::string WriteInput(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    return path;
}

// Width and height from a PNG file's header chunk; {0, 0} when it is none.
std::pair<int, int> PngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[24] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return {0, 0};
    if (head[1] != 'P' || head[2] != 'N' || head[3] != 'G' || std::string(head + 12, head + 16) != "IHDR")
        return {0, 0};
    auto be = [&](int at) { return head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3]; };
    return {be(16), be(20)};
}

}  // namespace

// The pointer moves in frame 3 and the button goes down in frame 5: the
// game's polling sees @LClick in frame 5, where @UpdateCount (frame steps
// finished before this one) is 5, at the position of the last move. Space
// goes down in frame 9 and the game terminates there.
TEST(GameInput, ScriptedInputReachesTheSystemVariablesAndFramesAreWritten) {
    const std::string game = BuildGame("input");
    const std::string input = WriteInput(game + "/input.txt",
                                         "# pointer, click, space\n"
                                         "3 mousemove 100 60\n"
                                         "5 ldown\n"
                                         "6 lup\n"
                                         "9 keydown 32\n"
                                         "10 keyup 32\n");
    const std::string first = game + "/shot-000.png", last = game + "/shot-009.png", never = game + "/shot-050.png";
    const TGameRun r = PlayFolder(game, -1, 16, {}, {},
                                  "--input '" + input + "' --screenshot '0:" + first + "' --screenshot '9:" + last +
                                      "' --screenshot '50:" + never + "'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("x"), "1\t100");
    EXPECT_EQ(r.vars.at("y"), "1\t60");
    EXPECT_EQ(r.vars.at("clickAt"), "1\t5");
    EXPECT_EQ(r.vars.at("spaceAt"), "1\t9");
    EXPECT_EQ(PngSize(first), (std::pair{320, 200}));
    EXPECT_EQ(PngSize(last), (std::pair{320, 200}));
    EXPECT_FALSE(fs::exists(never));  // the game ended in frame 9
}

TEST(GameInput, AScriptedCloseEndsARunThatWouldWaitForever) {
    const std::string game = BuildGame("input");
    const std::string input = WriteInput(game + "/input.txt", "2 mousemove 5 5\n4 close\n8 ldown\n");
    // The frame limit only keeps a broken close from hanging the test.
    const TGameRun r = PlayFolder(game, 1000, 16, {}, {}, "--input '" + input + "'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("clickAt"), "1\t0");
    // Frames 0 to 3 ran; frame 3's commands ran at play clock 4 * 16.
    ASSERT_FALSE(r.trace.empty());
    EXPECT_EQ(r.trace.back().substr(0, 8), "00000040");
}

TEST(GameInput, BadInputFilesAndScreenshotPathsAreReported) {
    const std::string game = BuildGame("input");
    const std::string bad = WriteInput(game + "/bad.txt", "1 ldown\nx lup\n");
    const TGameRun badInput = PlayFolder(game, 3, 16, {}, {}, "--input '" + bad + "'");
    EXPECT_EQ(badInput.status, 2);
    EXPECT_NE(badInput.errors.find("line 2"), std::string::npos) << badInput.errors;

    const TGameRun badShot = PlayFolder(game, 3, 16, {}, {}, "--screenshot '1:/nonexistent/dir/a.png'");
    EXPECT_EQ(badShot.status, 2);
    EXPECT_NE(badShot.errors.find("a.png"), std::string::npos) << badShot.errors;
}

// The real player with a display: the main window opens at the screen size
// plus the toolbar, real clicks and keys reach the game at game coordinates,
// and a run ends after --frames.
class WindowedPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        x_ = std::make_unique<TXvfb>("1024x768x24");
        ASSERT_TRUE(x_->Started()) << x_->error;
        game_ = BuildGame("input");
    }
    std::unique_ptr<TChild> Start(int frames) {
        // SDL keeps memory to the end of the process that is not the
        // player's to free; the leak check would fail every windowed run.
        // SDL also drops a click that comes within a few milliseconds of the
        // focus, and the test's click follows the focus that fast.
        return std::make_unique<TChild>(
            std::string(VESK_BINARY_DIR) + "/veskplay",
            std::vector<std::string>{"--frames", std::to_string(frames), "--dump-vars", game_ + "/vars.txt",
                                     "--trace", game_ + "/trace.txt", game_},
            std::vector<std::string>{"ASAN_OPTIONS=detect_leaks=0", "SDL_MOUSE_FOCUS_CLICKTHROUGH=1"});
    }
    // Until the trace shows the command of start.vks at that line: the
    // trace is written line by line as the game runs.
    bool WaitUntilTraced(int line) {
        const std::string command = "start.vks(" + std::to_string(line) + ")";
        return WaitUntil([&] { return ReadFile(game_ + "/trace.txt").find(command) != std::string::npos; });
    }
    std::map<std::string, std::string> Vars() {
        std::map<std::string, std::string> vars;
        std::ifstream in(game_ + "/vars.txt");
        for (std::string l; std::getline(in, l);) vars[l.substr(0, l.find('\t'))] = l.substr(l.find('\t') + 1);
        return vars;
    }

    std::unique_ptr<TXvfb> x_;
    std::string game_;
};

TEST_F(WindowedPlayer, ARunEndsAfterTheFrames) {
    auto player = Start(30);
    EXPECT_EQ(player->Wait(), 0) << player->err;
    EXPECT_EQ(player->err.find("headless"), std::string::npos) << player->err;
    EXPECT_EQ(Vars().at("clickAt"), "1\t0");  // ran, closed, dumped; no click came
}

// The window stays until the game sees the key, so the test finds it however
// slow the machine is.
TEST_F(WindowedPlayer, OpensAtTheScreenSizePlusToolbarAndRealClicksAndKeysReachTheGame) {
    auto player = Start(3000);
    const std::string id = WaitForWindow("input");
    if (id.empty()) player->Terminate();  // what it said, for the message
    ASSERT_FALSE(id.empty()) << "the window never appeared; output: " << player->out << "\nerrors: " << player->err;
    EXPECT_EQ(Shell("xdotool getwindowgeometry " + id + " | grep Geometry"),
              "  Geometry: 320x" + std::to_string(200 + platform::kDockHeight));
    // Input is latched as a frame begins, and the game's first frame does
    // not look at it: once its poll for the click (line 11) has run, what
    // comes reaches a frame that does.
    ASSERT_TRUE(WaitUntilTraced(11)) << "the game never polled for the click";
    Shell("timeout 10 xdotool windowfocus --sync " + id);
    // Client (100, 60 + toolbar) is game position (100, 60). The player
    // takes the events in the order they were sent, however fast.
    Shell("xdotool mousemove --window " + id + " 100 " + std::to_string(60 + platform::kDockHeight) +
          " mousedown 1 mouseup 1");
    // The game looks for the key only in the frames after the one that saw
    // the click (it notes the click on line 14): a key that came with the
    // click would go unseen.
    ASSERT_TRUE(WaitUntilTraced(14)) << "the game never saw the click";
    Shell("xdotool key space");
    EXPECT_EQ(player->Wait(), 0) << player->err;
    const auto vars = Vars();
    EXPECT_EQ(vars.at("x"), "1\t100");
    EXPECT_EQ(vars.at("y"), "1\t60");
    const int clickAt = std::stoi(vars.at("clickAt").substr(2)), spaceAt = std::stoi(vars.at("spaceAt").substr(2));
    EXPECT_GT(clickAt, 0);
    EXPECT_GT(spaceAt, clickAt);
    EXPECT_LT(spaceAt, 3000);  // the game's Terminate ended it, not the frame limit
}

}  // namespace vesk::test
