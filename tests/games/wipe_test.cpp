// Flips with transitions played by the real player: a mask fade through a
// picture of the game and blinds with their parameters and flag. Frames
// before, during and after each transition are compared pixel for pixel
// with the pictures the transition rules give, and the game ends with the
// right screen shown and the screen it left cleared.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "gfx/fenks.h"
#include "tests/games/game_runner.h"

namespace vesk::test {
namespace {

constexpr int kWidth = 64, kHeight = 48;
// Colours as the frames hold them, 0xRRGGBB.
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kWhite = 0xFFFFFF;

// The blend of the mask composition with weight m, per 8-bit channel.
std::uint32_t Blend(int m, std::uint32_t old, std::uint32_t shown) {
    if (m <= 0) return old;
    if (m >= 255) return shown;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t o = (old >> shift) & 0xFF, n = (shown >> shift) & 0xFF;
        out |= ((std::uint32_t(m) * n + std::uint32_t(255 - m) * o) >> 8) << shift;
    }
    return out;
}

bool OnTag(int x, int y) { return x < 4 && y < 4; }

// The first flip enters in frame 0 and starts its clock in frame 1, so
// frame n shows the mask fade at 16 (n - 1) ms of its 320. Over mask.png
// (black rows 0-15, grey 128 rows 16-31, white below) each pixel's weight
// is P + grey - 256 with P = time * 512 / 320. The tag goes across, so it
// shows white in both pictures.
std::uint32_t MaskFadeFrame(int n, int x, int y) {
    const int p = 16 * (n - 1) * 512 / 320;
    const int grey = y < 16 ? 0 : y < 32 ? 128 : 255;
    const std::uint32_t old = OnTag(x, y) ? kWhite : kRed, shown = OnTag(x, y) ? kWhite : kBlue;
    return Blend(std::clamp(p + grey - 256, 0, 255), old, shown);
}

// The second flip enters in frame 22 (the first one ended in frame 21 and
// the frame's work with it) and starts in frame 23. Blinds 8 columns wide
// with parameter 1 = 1 stand at v = time / 16; with the flag the column x
// of a strip turns once v passes 14 - 2 (x mod 8).
std::uint32_t BlindsFrame(int n, int x, int y) {
    const int v = n - 23;
    const std::uint32_t old = OnTag(x, y) ? kWhite : kBlue;
    return v > 14 - 2 * (x % 8) ? kGreen : old;
}

TEST(GameWipe, FlipsRunTheirTransitionsAndEndOnTheOtherScreen) {
    const std::string game = BuildGame("wipe");
    struct Shot {
        int frame;
        std::function<std::uint32_t(int, int)> expected;
    };
    const Shot shots[] = {
        {0, [](int x, int y) { return MaskFadeFrame(1, x, y); }},  // the old picture
        {2, [](int x, int y) { return MaskFadeFrame(2, x, y); }},
        {11, [](int x, int y) { return MaskFadeFrame(11, x, y); }},
        {15, [](int x, int y) { return MaskFadeFrame(15, x, y); }},
        {21, [](int x, int y) { return OnTag(x, y) ? kWhite : kBlue; }},
        {30, [](int x, int y) { return BlindsFrame(30, x, y); }},
        {36, [](int x, int y) { return BlindsFrame(36, x, y); }},
        {38, [](int, int) { return kGreen; }},
    };
    std::string options;
    auto path = [&](int frame) { return game + "/shot" + std::to_string(frame) + ".png"; };
    for (const Shot& s : shots) options += " --screenshot '" + std::to_string(s.frame) + ":" + path(s.frame) + "'";
    const TGameRun r = PlayFolder(game, 60, 16, {}, {}, options);
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("redAfter"), "1\t-1");  // cleared with the screen left
    EXPECT_EQ(r.vars.at("tagParent"), "4\t\x01" "BASE1");
    EXPECT_EQ(r.vars.at("greenParent"), "4\t\x01" "BASE0");

    for (const Shot& s : shots) {
        TFenkFrameList frames;
        frames.LoadFromFile(path(s.frame), true, false);
        ASSERT_EQ(frames.Count(), 1) << s.frame;
        const TDIBSurface& image = frames[0].Image;
        ASSERT_EQ(image.Width(), kWidth);
        ASSERT_EQ(image.Height(), kHeight);
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                // The frame's colours are platform colours, 0x00BBGGRR.
                const auto c = static_cast<std::uint32_t>(image.ColorOf(image.GetPixel(x, y)));
                const std::uint32_t got = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
                if (got != s.expected(x, y) && ++wrong <= 3)
                    ADD_FAILURE() << "frame " << s.frame << " at " << x << ", " << y << ": " << std::hex << got
                                  << " instead of " << s.expected(x, y);
            }
        EXPECT_EQ(wrong, 0) << "frame " << s.frame;
    }
}

}  // namespace
}  // namespace vesk::test
