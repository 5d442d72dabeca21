#include "app/screenman.h"

#include <gtest/gtest.h>

#include "tests/app/screen_fakes.h"

namespace vesk {
namespace {

using platform::TDisplayMode;
using platform::TScreenRect;

TEST(ScreenModes, ChoiceRules) {
    struct TCase {
        const char* name;
        std::vector<TDisplayMode> offered;
        std::vector<int> kept;  // indexes into offered
        int best;               // index into the kept list
    };
    const TCase cases[] = {
        {"too small, too few bits and negative sizes are left out",
         {{640, 480, 32, 60}, {800, 600, 8, 60}, {-1, 600, 32, 60}, {800, 600, 16, 60}, {1024, 768, 32, 60}},
         {3, 4}, 1},
        {"without the preferred size the first acceptable mode",
         {{1280, 1024, 32, 60}, {1152, 864, 32, 60}}, {0, 1}, 0},
        {"the preferred size wins",
         {{1280, 1024, 32, 60}, {1024, 768, 16, 85}}, {0, 1}, 1},
        {"then the desktop's depth",
         {{1024, 768, 16, 60}, {1024, 768, 32, 85}, {1024, 768, 16, 50}}, {0, 1, 2}, 1},
        {"then the lowest refresh rate",
         {{1024, 768, 32, 75}, {1024, 768, 32, 60}, {1024, 768, 32, 70}}, {0, 1, 2}, 1},
        {"lower refresh at another depth does not replace",
         {{1024, 768, 32, 75}, {1024, 768, 16, 60}}, {0, 1}, 0},
        {"nothing fits", {{640, 480, 32, 60}}, {}, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TModeChoice got = ChooseModes(c.offered, 800, 600, 1024, 768, 32);
        ASSERT_EQ(got.Modes.size(), c.kept.size());
        for (std::size_t i = 0; i < c.kept.size(); ++i)
            EXPECT_EQ(got.Modes[i], c.offered[static_cast<std::size_t>(c.kept[i])]);
        EXPECT_EQ(got.Best, c.best);
    }
}

TEST(ScreenModes, BackBufferBitsFromTheDisplay) {
    EXPECT_EQ(BackBufferBits({16, true}, false), 15);
    EXPECT_EQ(BackBufferBits({16, false}, false), 16);
    EXPECT_EQ(BackBufferBits({24, false}, false), 32);
    EXPECT_EQ(BackBufferBits({32, false}, false), 32);
    EXPECT_EQ(BackBufferBits({8, false}, true), 15);
    EXPECT_EQ(BackBufferBits({16, false}, true), 16);
    EXPECT_EQ(BackBufferBits({32, false}, true), 32);
}

class ScreenManagerTest : public ::testing::Test {
protected:
    void Make(int forcedBits = 0) {
        screen = std::make_unique<TScreenManager>(&window, 8, 6, 8, 6, forcedBits);
    }
    test::TFakeWindow window{8, 6};
    std::unique_ptr<TScreenManager> screen;
};

TEST_F(ScreenManagerTest, StartsWindowedAndPresentsOnlyChangedRectangles) {
    Make();
    EXPECT_EQ(screen->ModeIndex(), -1);
    EXPECT_FALSE(screen->IsFullScreen());
    EXPECT_EQ(screen->SurfaceBitCount(), 32);
    TDIBX& b = screen->BackBuffer();
    ASSERT_EQ(b.Width(), 8);
    ASSERT_EQ(b.Height(), 6);
    b.Fill(0x112233);
    screen->Present();  // the first frame goes whole
    ASSERT_EQ(window.presents.size(), 1u);
    EXPECT_EQ(window.presents[0].size(), 1u);
    EXPECT_EQ(window.presents[0][0].Width, 8);
    EXPECT_EQ(window.picture[0], 0x112233u);

    b.SetPixel(1, 0, 0xAA0000);  // changed and reported
    b.SetPixel(6, 5, 0x00BB00);  // changed and reported
    b.SetPixel(4, 2, 0x0000CC);  // changed, not reported: stays as presented
    screen->AddChangedRect(MakeRect(1, 0, 2, 1));
    screen->AddChangedRect(MakeRect(6, 5, 20, 20));  // clipped to the screen
    screen->AddChangedRect(MakeRect(3, 3, 3, 9));    // empty: dropped
    screen->Present();
    ASSERT_EQ(window.presents.size(), 2u);
    ASSERT_EQ(window.presents[1].size(), 2u);
    EXPECT_EQ(window.presents[1][1].Width, 2);
    EXPECT_EQ(window.picture[1], 0xAA0000u);
    EXPECT_EQ(window.picture[5 * 8 + 6], 0x00BB00u);
    EXPECT_EQ(window.picture[2 * 8 + 4], 0x112233u);

    screen->Present();  // the list was emptied: nothing to send
    EXPECT_EQ(window.presents.size(), 2u);

    screen->AddChangedRect(MakeRect(0, 0, 1, 1));
    screen->Present(150);  // stretching presents the whole frame
    ASSERT_EQ(window.presents.back().size(), 1u);
    EXPECT_EQ(window.presents.back()[0].Height, 6);
    EXPECT_EQ(window.picture[2 * 8 + 4], 0x0000CCu);

    screen->AddChangedRect(MakeRect(0, 0, 1, 1));
    screen->Present(200);  // a whole multiple keeps to the rectangles
    EXPECT_EQ(window.presents.back()[0].Width, 1);

    screen->AddChangedRect(MakeRect(0, 0, 1, 1));
    screen->Present(100, MakeRect(2, 2, 4, 4));  // a transition's update rectangle instead
    ASSERT_EQ(window.presents.back().size(), 1u);
    EXPECT_EQ(window.presents.back()[0].Left, 2);
    EXPECT_EQ(window.presents.back()[0].Width, 2);
}

TEST_F(ScreenManagerTest, SixteenAndFifteenBitFramesArriveAsTrueColour) {
    for (int bits : {16, 15}) {
        SCOPED_TRACE(bits);
        Make(bits);
        EXPECT_EQ(screen->SurfaceBitCount(), bits);
        TDIBX& b = screen->BackBuffer();
        EXPECT_EQ(b.BitCount(), bits);
        b.Fill(0);
        // Full red, full blue, half green.
        b.SetPixel(0, 0, bits == 16 ? 0xF800 : 0x7C00);
        b.SetPixel(7, 5, 0x001F);
        b.SetPixel(3, 2, bits == 16 ? 0x0400 : 0x0200);
        screen->Present();
        EXPECT_EQ(window.picture[0], 0xFF0000u);
        EXPECT_EQ(window.picture[5 * 8 + 7], 0x0000FFu);
        // Half green widened with its top bits repeated: 32 of 63 is 0x82, 16 of 31 is 0x84.
        EXPECT_EQ(window.picture[2 * 8 + 3], bits == 16 ? 0x008200u : 0x008400u);
        EXPECT_EQ(window.picture[1], 0u);
    }
}

TEST_F(ScreenManagerTest, FullScreenInTheBestModeAndBack) {
    window.modes = {{640, 480, 32, 60}, {1024, 768, 32, 75}, {8, 6, 32, 60}};
    window.format = {32, false};
    screen = std::make_unique<TScreenManager>(&window, 8, 6, 1024, 768);
    EXPECT_EQ(screen->ModeCount(), 3);
    EXPECT_EQ(screen->BestModeIndex(), 1);
    screen->BackBuffer().Fill(0x445566);
    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_EQ(screen->ModeIndex(), 1);
    EXPECT_TRUE(screen->IsFullScreen());
    EXPECT_TRUE(screen->FullScreen());
    ASSERT_FALSE(window.requests.empty());
    EXPECT_EQ(window.requests.back(), (TDisplayMode{1024, 768, 32, 75}));
    // The same depth keeps the frame; the first present after a switch is whole.
    EXPECT_EQ(screen->BackBuffer().GetPixel(0, 0), 0x445566u);
    screen->Present();
    EXPECT_EQ(window.presents.back()[0].Width, 8);

    // A new mode chosen by the script applies at once in full screen.
    screen->SetDisplayModeIndex(2);
    EXPECT_EQ(screen->ModeIndex(), 2);
    EXPECT_EQ(window.requests.back(), (TDisplayMode{8, 6, 32, 60}));
    screen->SetDisplayModeIndex(3);  // outside the list: ignored
    screen->SetDisplayModeIndex(-7);
    EXPECT_EQ(screen->DisplayModeIndex(), 2);

    screen->SetFullScreen(false);
    EXPECT_EQ(screen->ModeIndex(), -1);
    EXPECT_FALSE(screen->IsFullScreen());
    EXPECT_EQ(window.requests.back(), TDisplayMode{});
}

// The depth of every switch reaches whoever keeps component surfaces; a
// full-screen mode of another depth starts a black back buffer.
TEST_F(ScreenManagerTest, EverySwitchReportsTheSurfaceBitCount) {
    window.modes = {{1024, 768, 16, 60}};
    window.format = {32, false};
    Make();
    std::vector<int> reported;
    screen->SurfacesRecreated = [&](int bits) { reported.push_back(bits); };
    screen->BackBuffer().Fill(0x445566);
    window.format = {16, false};  // the display's depth in that mode
    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_EQ(screen->BackBuffer().BitCount(), 16);
    EXPECT_EQ(screen->BackBuffer().GetPixel(0, 0), 0u);
    window.format = {32, false};
    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_EQ(reported, (std::vector<int>{16, 32}));
}

TEST_F(ScreenManagerTest, AFailedSwitchFallsBackToWindowed) {
    window.modes = {{1024, 768, 32, 60}};
    window.canFullScreen = false;
    Make();
    EXPECT_FALSE(screen->ToggleFullScreen());
    EXPECT_EQ(screen->ModeIndex(), -1);
    EXPECT_FALSE(screen->IsFullScreen());
    ASSERT_EQ(window.requests.size(), 2u);  // the mode, then windowed again
    EXPECT_EQ(window.requests.back(), TDisplayMode{});
    EXPECT_EQ(screen->BackBuffer().Width(), 8);  // a back buffer to draw in
}

TEST_F(ScreenManagerTest, WithoutAModeFullScreenIsRefused) {
    window.modes = {{4, 3, 32, 60}};  // smaller than the game
    Make();
    EXPECT_EQ(screen->ModeCount(), 0);
    EXPECT_FALSE(screen->ToggleFullScreen());
    screen->SetFullScreen(true);
    EXPECT_TRUE(window.requests.empty());
    EXPECT_FALSE(screen->IsFullScreen());
}

TEST(ScreenManagerHeadless, KeepsTheFrameWithoutAWindow) {
    TScreenManager screen(nullptr, 4, 4, 4, 4);
    EXPECT_EQ(screen.SurfaceBitCount(), 32);
    EXPECT_EQ(screen.ModeCount(), 0);
    screen.Present();
    ASSERT_EQ(screen.LastPresented().size(), 1u);
    screen.AddChangedRect(MakeRect(1, 1, 2, 2));
    screen.Present();
    ASSERT_EQ(screen.LastPresented().size(), 1u);
    EXPECT_EQ(screen.LastPresented()[0].Left, 1);
}

}  // namespace
}  // namespace vesk
