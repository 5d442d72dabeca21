#include "app/view.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/quit.h"
#include "platform/headless/headless_platform.h"
#include "platform/locale.h"
#include "platform/platform.h"
#include "tests/app/screen_fakes.h"

namespace vesk {
namespace {

using platform::TPlatformEvent;
using Kind = TPlatformEvent::Kind;

class TFixedClock final : public platform::TClock {
public:
    std::uint32_t Now() override { return now; }
    std::uint32_t now = 5000;
};

class FrameStepTest : public ::testing::Test {
protected:
    ~FrameStepTest() override { QuitRequested = 0; }

    // Records the order of the step's parts.
    TFrameHooks MakeHooks() {
        TFrameHooks h;
        h.Interpreter = [this] {
            log += "I";
            if (quitInStep) QuitRequested = 1;
        };
        h.Update = [this] { log += "U"; };
        h.PerformLoadSave = [this] {
            log += "L";
            return loadNow;
        };
        h.Draw = [this](TScreenManager& s) {
            log += "D";
            s.BackBuffer().SetPixel(0, 0, 0x123456);
            s.AddChangedRect(MakeRect(0, 0, 1, 1));
        };
        h.Title = [] { return Sj("テスト"); };
        h.PauseWhenInactive = [this] { return pause; };
        return h;
    }

    std::string Run(int n) {
        log.clear();
        for (int i = 0; i < n; ++i) {
            step.FrameStep();
            log += "|";
        }
        return log;
    }

    test::TFakeWindow window{4, 4};
    TScreenManager screen{&window, 4, 4, 4, 4};
    TInputState input;
    TFrameTiming timing;
    TFixedClock clock;
    bool quitInStep = false, loadNow = false, pause = true;
    std::string log;
    TFrameHooks hooks = MakeHooks();
    TFormView step{window, screen, input, timing, hooks, clock};
};

TEST_F(FrameStepTest, TheStepsOrderAfterTheSplash) {
    // The splash (which has no film) takes the first frame; the script runs from the next.
    EXPECT_EQ(Run(3), "ULD|IULD|IULD|");
    EXPECT_TRUE(step.SplashDone());
    EXPECT_EQ(timing.FrameCount, 3u);
    EXPECT_EQ(window.picture[0], 0x123456u);
}

TEST_F(FrameStepTest, NothingIsDrawnInTheFrameOfALoad) {
    Run(1);
    loadNow = true;
    EXPECT_EQ(Run(1), "IUL|");
    loadNow = false;
    EXPECT_EQ(Run(1), "IULD|");
}

TEST_F(FrameStepTest, AQuitRequestEndsTheStepAfterTheInterpreter) {
    Run(1);
    quitInStep = true;
    EXPECT_EQ(Run(2), "I|I|");
    EXPECT_EQ(timing.FrameCount, 1u);
}

TEST_F(FrameStepTest, NoProjectNoStep) {
    hooks.HasProject = [] { return false; };
    TFormView v(window, screen, input, timing, hooks, clock);
    v.FrameStep();
    EXPECT_EQ(log, "");
    EXPECT_EQ(timing.FrameCount, 0u);
}

TEST_F(FrameStepTest, TheFrameLatchesTheInputGatheredBefore) {
    TPlatformEvent e;
    e.kind = Kind::KeyDown;
    e.key = 13;
    step.HandleEvent(e);
    EXPECT_FALSE(input.KeyClick(13));
    step.FrameStep();
    EXPECT_TRUE(input.KeyClick(13));
}

TEST(QuitQuestion, TextsByLanguage) {
    EXPECT_EQ(QuitQuestion(Sj("ゲーム"), true), Sj("「ゲーム」を終了しますか？"));
    EXPECT_EQ(QuitQuestion("Game", false), "Do you want to exit Game?");
}

// The close box asks as the toolbar's button does.
TEST_F(FrameStepTest, TheQuitQuestionYesClosesNoRestores) {
    auto owned = std::make_unique<platform::THeadlessPlatform>(
        std::vector<platform::THeadlessAnswer>{{false, platform::MsgResult::No}, {false, platform::MsgResult::Yes}});
    platform::THeadlessPlatform* headless = owned.get();
    auto previous = platform::InstallPlatform(std::move(owned));
    TPlatformEvent closeBox, quit;
    closeBox.kind = Kind::Close;
    quit.kind = Kind::QuitButton;
    step.HandleEvent(closeBox);
    EXPECT_FALSE(step.CloseRequested());
    EXPECT_EQ(QuitRequested.load(), 0);
    step.HandleEvent(quit);
    EXPECT_TRUE(step.CloseRequested());
    ASSERT_EQ(headless->Shown().size(), 2u);
    EXPECT_EQ(headless->Shown()[0].caption, Sj("テスト"));
    EXPECT_EQ(headless->Shown()[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(headless->Shown()[0].icon, platform::MsgIcon::Question);
    EXPECT_EQ(headless->Shown()[0].text, QuitQuestion(Sj("テスト"), platform::SystemLanguageIsJapanese()));
    platform::InstallPlatform(std::move(previous));
}

TEST_F(FrameStepTest, DeactivationPausesTheFrameThreadWhenTheProjectAsks) {
    TPlatformEvent e;
    e.kind = Kind::Deactivate;
    step.HandleEvent(e);
    EXPECT_TRUE(step.Loop().Suspended());
    EXPECT_FALSE(input.Active());
    clock.now = 65000;
    e.kind = Kind::Activate;
    step.HandleEvent(e);
    EXPECT_FALSE(step.Loop().Suspended());
    EXPECT_TRUE(input.Active());
    EXPECT_EQ(timing.LastTick, 65000u);

    pause = false;  // without the flag the game runs on, but input stops
    e.kind = Kind::Deactivate;
    step.HandleEvent(e);
    EXPECT_FALSE(step.Loop().Suspended());
    EXPECT_FALSE(input.Active());
}

TEST_F(FrameStepTest, TheScreenButtonTogglesFullScreen) {
    window.modes = {{4, 4, 32, 60}};
    TScreenManager full(&window, 4, 4, 4, 4);
    TFormView v(window, full, input, timing, hooks, clock);
    TPlatformEvent e;
    e.kind = Kind::ScreenButton;
    v.HandleEvent(e);
    EXPECT_TRUE(full.IsFullScreen());
    v.HandleEvent(e);
    EXPECT_FALSE(full.IsFullScreen());
}

}  // namespace
}  // namespace vesk
