// SDL message boxes shown in a real X server (Xvfb) and answered with the
// keyboard through xdotool, as a user would answer them.

#include "platform/sdl/sdl_platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/app/wait_until.h"
#include "tests/platform/xvfb_fixture.h"

namespace vesk::platform {
namespace {

// Runs a command and returns its standard output, trimmed. The output goes
// through a file, not a pipe: SDL shows its box in a forked child, and a
// child that inherits a pipe's write end keeps the reader waiting forever.
std::string Shell(const std::string& command) {
    char path[] = "/tmp/vesk-shell-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "";
    close(fd);
    std::string out;
    if (std::system((command + " > " + path + " 2>/dev/null").c_str()) != -1) {
        if (std::FILE* f = std::fopen(path, "r")) {
            char buf[256];
            while (std::fgets(buf, sizeof buf, f)) out += buf;
            std::fclose(f);
        }
    }
    std::remove(path);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

class SdlMessageBox : public ::testing::Test {
protected:
    void SetUp() override {
        x_ = std::make_unique<test::TXvfb>("640x480x24");
        ASSERT_TRUE(x_->Started()) << x_->error;
    }
    void TearDown() override { x_.reset(); }

    // Shows the box and, once it is on the screen, gives it the keyboard and
    // presses key until it closes: a key that comes before the box takes
    // input is lost, so one press is not enough on a busy machine. A box that
    // never closes is taken from the screen, so the test fails instead of
    // hanging.
    MsgResult Answer(const std::string& caption, MsgButtons buttons, const char* key) {
        std::atomic<bool> closed{false};
        std::thread presser([&] {
            // Listed by class: searching by name misses SDL's box windows.
            const std::string find = "for w in $(xdotool search --onlyvisible --class '' 2>/dev/null); do "
                                     "[ \"$(xdotool getwindowname $w)\" = '" + caption +
                                     "' ] && echo $w; done | head -n1";
            std::string box;
            const bool answered = test::WaitUntil([&] {
                if (closed) return true;
                box = Shell(find);
                if (!box.empty()) Shell("timeout 5 xdotool windowfocus --sync " + box + " key --clearmodifiers " + key);
                return closed.load();
            });
            if (!answered && !box.empty()) Shell("xdotool windowkill " + box);
        });
        TSdlPlatform sdl;
        const MsgResult r = sdl.MessageBox("text", caption, buttons, MsgIcon::Question);
        closed = true;
        presser.join();
        return r;
    }

    std::unique_ptr<test::TXvfb> x_;
};

TEST_F(SdlMessageBox, EnterTakesTheFirstButtonEscapeTheSecond) {
    EXPECT_EQ(Answer("box-ok", MsgButtons::Ok, "Return"), MsgResult::Ok);
    EXPECT_EQ(Answer("box-okcancel", MsgButtons::OkCancel, "Escape"), MsgResult::Cancel);
    EXPECT_EQ(Answer("box-yesno-enter", MsgButtons::YesNo, "Return"), MsgResult::Yes);
    EXPECT_EQ(Answer("box-yesno-escape", MsgButtons::YesNo, "Escape"), MsgResult::No);
}

TEST(SdlMessageBoxFallback, WithoutADisplayTheBoxGoesToStandardError) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::vector<THeadlessAnswer> answers;
    ASSERT_TRUE(ParseHeadlessAnswers("no", answers));
    TSdlPlatform sdl(answers);
    EXPECT_FALSE(sdl.Interactive());
    EXPECT_EQ(sdl.MessageBox("t", "c", MsgButtons::YesNo, MsgIcon::Warning), MsgResult::No);
    unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
}  // namespace vesk::platform
