// The reveal step, driven by the milliseconds each test passes: waits and
// the speed factor, the fade, events, the page's window, the caret and the
// animation of revealed images.
#include <gtest/gtest.h>

#include <algorithm>

#include "text/wd_img.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::TPageFixture;

namespace {

// Runs one step per entry of dts; answers each step's revealed text.
std::vector<std::string> Steps(TWdPage& page, const std::vector<int>& dts) {
    std::vector<std::string> out;
    for (const int dt : dts) out.push_back(SjisToUtf8(page.Reveal(dt).Text));
    return out;
}

struct TTimingCase {
    const char* Name;
    const char* Markup;
    int Speed;
    std::vector<int> Dts;
    std::vector<std::string> Texts;
};

// The first step after creation is skipped; the first glyph then shows at
// once, whatever time passed.
const TTimingCase kTimingCases[] = {
    {"waits_as_written", "<WAIT VALUE=10>あいう", 256, {16, 16, 4, 6, 25}, {"", "あ", "", "い", "う"}},
    {"double_speed_factor_doubles_waits", "<WAIT VALUE=10>あいう", 512, {16, 16, 10, 10, 20}, {"", "あ", "", "い", "う"}},
    {"half_speed_factor_halves_waits", "<WAIT VALUE=10>あいう", 128, {16, 16, 5, 5}, {"", "あ", "い", "う"}},
    {"negative_speed_shows_everything", "<WAIT VALUE=10>あいう", -1, {16, 16}, {"", "あいう"}},
    {"negative_wait_ignores_the_factor", "<WAIT VALUE=-7>あいう", 512, {16, 16, 7, 7}, {"", "あ", "い", "う"}},
    {"negative_wait_with_negative_factor_is_no_wait", "<WAIT VALUE=-7>あいう", -1, {16, 16}, {"", "あいう"}},
    {"long_step_reveals_several", "<WAIT VALUE=10>あいうえ", 256, {16, 16, 30}, {"", "あ", "いうえ"}},
    {"images_reveal_as_a_star", "あ<IMG SRC=pic>い", 256, {16, 16}, {"", "あ*い"}},
    {"line_breaks_reveal_no_text", "あ<BR>い", 256, {16, 16}, {"", "あい"}},
};

class RevealTiming : public testing::TestWithParam<TTimingCase> {};

TEST_P(RevealTiming, RevealsByTheWaits) {
    const TTimingCase& c = GetParam();
    TPageFixture f;
    f.pictures.Specs["pic"] = {};
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    f.engine.SpeedFactor = c.Speed;
    f.Lay(c.Markup);
    EXPECT_EQ(Steps(f.Page(), c.Dts), c.Texts);
}

INSTANTIATE_TEST_SUITE_P(Cases, RevealTiming, testing::ValuesIn(kTimingCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Reveal, EndOfTypingIsReportedOnce) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    f.Lay("<WAIT VALUE=10>あい");
    TWdPage& page = f.Page();
    EXPECT_FALSE(page.Reveal(16).Ended);
    EXPECT_FALSE(page.Reveal(16).Ended);
    EXPECT_TRUE(page.StillTyping());
    EXPECT_TRUE(page.Reveal(10).Ended);
    EXPECT_FALSE(page.StillTyping());
    EXPECT_FALSE(page.Reveal(10).Ended);
    EXPECT_TRUE(page.EndReported());
    page.ResetReveal();
    EXPECT_FALSE(page.EndReported());
    EXPECT_EQ(page.RevealRow(), 0);
}

TEST(Reveal, GlyphsFadeInOverTheFadeTime) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 100;
    f.engine.OriginX = 100;
    f.engine.OriginY = 50;
    f.Lay("あ");
    TWdPage& page = f.Page();
    TWdGlyph& a = f.engine.Glyph(0);
    struct {
        int Dt, Alpha;
        bool Ended;
    } const steps[] = {{16, 255, false},  // skipped: nothing is revealed yet
                       {16, 0, false},    // revealed; the first step counts no time
                       {50, 128, false},  // 50 × 256 / 100
                       {30, 204, false},  // 30 × 256 / 100 = 76, remainder 80 kept
                       {20, 255, true}};  // (80 + 5120) / 100 = 52: full, leaves the list
    for (const auto& s : steps) {
        f.engine.TakeDirtyRects();
        EXPECT_EQ(page.Reveal(s.Dt).Ended, s.Ended) << s.Dt;
        EXPECT_EQ(a.Alpha(), s.Alpha) << s.Dt;
    }
    EXPECT_EQ(page.FadingCount(), 0);
    f.engine.TakeDirtyRects();
    page.Reveal(30);
    EXPECT_TRUE(f.engine.TakeDirtyRects().empty());
}

TEST(Reveal, FadeStepsReportTheGlyphDirtyOnTheOwnersSurface) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 100;
    f.engine.OriginX = 100;
    f.engine.OriginY = 50;
    f.Lay("あい");
    f.engine.SpeedFactor = -1;
    TWdPage& page = f.Page();
    page.Reveal(16);
    page.Reveal(16);
    f.engine.TakeDirtyRects();
    page.Reveal(16);
    const std::vector<TRect> dirty = f.engine.TakeDirtyRects();
    EXPECT_EQ(dirty, (std::vector<TRect>{Bounds(100, 50, 10, 10), Bounds(110, 50, 10, 10)}));
}

TEST(Reveal, FadeTimeZeroShowsAtOnceAndSkipsNoStep) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    f.Lay("あ");
    TWdPage& page = f.Page();
    page.RestartTiming();
    EXPECT_EQ(page.SkipCount(), 0);
    EXPECT_EQ(SjisToUtf8(page.Reveal(16).Text), "あ");
    EXPECT_EQ(f.engine.Glyph(0).Alpha(), 255);
    f.engine.FadeTime = 5;
    page.RestartTiming();
    EXPECT_EQ(page.SkipCount(), 1);
}

struct TEventFixture : TPageFixture {
    std::vector<std::string> events;
    TEventFixture() {
        engine.WrapWidth = 200;
        engine.FadeTime = 0;
        engine.EventsEnabled = true;
        engine.OnEvent = [this](const std::string& e) { events.push_back(SjisToUtf8(e)); };
    }
};

TEST(Reveal, EventsStopTheStepAndReachTheOwner) {
    TEventFixture f;
    f.Lay("あ<EVENT VALUE=one>い<EVENT VALUE=two><EVENT VALUE=three END>う");
    TWdPage& page = f.Page();
    EXPECT_EQ(Steps(page, {16, 16}), (std::vector<std::string>{"", "あ"}));
    EXPECT_EQ(f.events, std::vector<std::string>{"one"});
    // Events that follow one another without a wait arrive in one step.
    EXPECT_EQ(Steps(page, {16}), std::vector<std::string>{"い"});
    EXPECT_EQ(f.events, (std::vector<std::string>{"one", "two", "\x01three"}));
    EXPECT_EQ(Steps(page, {16}), std::vector<std::string>{"う"});
}

TEST(Reveal, EventsWaitForTheFadeAndHoldTheText) {
    TEventFixture f;
    f.engine.FadeTime = 100;
    f.Lay("あ<EVENT VALUE=go>い");
    TWdPage& page = f.Page();
    EXPECT_EQ(Steps(page, {16, 16}), (std::vector<std::string>{"", "あ"}));
    EXPECT_EQ(page.PendingEvents(), "go");
    // 60 ms bring あ to 153; the event stays pending and い waits.
    EXPECT_EQ(Steps(page, {60}), std::vector<std::string>{""});
    EXPECT_TRUE(f.events.empty());
    EXPECT_EQ(Steps(page, {60}), std::vector<std::string>{""});
    EXPECT_EQ(f.events, std::vector<std::string>{"go"});
    EXPECT_EQ(Steps(page, {16}), std::vector<std::string>{"い"});
}

TEST(Reveal, DisabledEventsNeitherStopNorCallBack) {
    TEventFixture f;
    f.engine.EventsEnabled = false;
    f.Lay("あ<EVENT VALUE=go>い");
    EXPECT_EQ(Steps(f.Page(), {16, 16}), (std::vector<std::string>{"", "あい"}));
    EXPECT_TRUE(f.events.empty());
}

TEST(Reveal, UnpagedTextWaitsBelowTheWindowUntilScrolled) {
    TPageFixture f;
    f.engine.WrapWidth = 20;
    f.engine.FadeTime = 0;
    f.engine.Paging = false;
    f.engine.PageHeight = 10;
    f.Lay("あいうえ");
    TWdPage& page = f.Page();
    EXPECT_EQ(Steps(page, {16, 16, 16}), (std::vector<std::string>{"", "あい", ""}));
    EXPECT_FALSE(page.StillTyping());
    page.Scroll = 10;
    EXPECT_TRUE(page.StillTyping());
    EXPECT_EQ(Steps(page, {16}), std::vector<std::string>{"うえ"});
    EXPECT_EQ(f.engine.CaretY, 0);  // the row's top less the scroll
}

TEST(Reveal, PausedEngineRevealsNothing) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    f.Lay("あい");
    f.engine.Paused = true;
    TWdPage& page = f.Page();
    EXPECT_EQ(Steps(page, {16, 16}), (std::vector<std::string>{"", ""}));
    EXPECT_FALSE(page.StillTyping());
    f.engine.Paused = false;
    EXPECT_TRUE(page.StillTyping());
    EXPECT_EQ(Steps(page, {16}), std::vector<std::string>{"あい"});
}

TEST(Reveal, CaretFollowsTheNextHiddenGlyph) {
    TPageFixture f;
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    // The line break has no wait: it and う show in one step.
    f.Lay("<WAIT VALUE=10>あい<BR><FONT SIZE=20>う</FONT>");
    TWdPage& page = f.Page();
    struct {
        int Dt, X, Y, H;
    } const steps[] = {{16, 0, 0, 0}, {16, 10, 0, 10}, {10, 20, 0, 10}, {10, 20, 10, 20}};
    for (const auto& s : steps) {
        page.Reveal(s.Dt);
        EXPECT_EQ(f.engine.CaretX, s.X);
        EXPECT_EQ(f.engine.CaretY, s.Y);
        EXPECT_EQ(f.engine.CaretHeight, s.H);
    }
}

TEST(Reveal, RevealedImagesAnimate) {
    TPageFixture f;
    f.pictures.Specs["anim"] = {4, 4, {0xFF0000, 0x00FF00}, {30, 20}};
    f.engine.WrapWidth = 200;
    f.engine.FadeTime = 0;
    f.Lay("<IMG SRC=anim>");
    TWdPage& page = f.Page();
    auto& img = static_cast<TWdImg&>(f.engine.Glyph(0));
    page.Reveal(16);
    EXPECT_EQ(page.AnimatedCount(), 0);
    page.Reveal(16);
    ASSERT_EQ(page.AnimatedCount(), 1);
    const std::pair<int, int> steps[] = {{10, 0}, {25, 1}, {10, 1}, {5, 0}, {100, 0}, {35, 1}};
    for (const auto& [dt, frame] : steps) {
        f.engine.TakeDirtyRects();
        const int before = img.FrameIndex();
        page.Reveal(dt);
        EXPECT_EQ(img.FrameIndex(), frame) << dt;
        EXPECT_EQ(f.engine.TakeDirtyRects().size(), before != frame ? 1u : 0u);
    }
}

}  // namespace
