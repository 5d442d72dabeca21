// The effect kinds' defined frames at the points where their arithmetic
// shows: fade weights, scroll halves, white and black turning points, the
// mosaic's grid, the spot's ring, the chips' sizes and fall time, the
// zoom's collapsed point and the ripple's wave.

#include <gtest/gtest.h>

#include <numbers>

#include "gfx/colour_tables.h"
#include "tests/transitions/wipe_fixture.h"
#include "transitions/box_blur.h"
#include "transitions/wipe_blur.h"
#include "transitions/wipe_crack.h"
#include "transitions/wipe_mosaic.h"
#include "transitions/wipe_ripple.h"

using namespace vesk;
using namespace vesk::test;

namespace {

// Each byte of a 32-bit pixel through f.
template <class F>
std::uint32_t Bytes(std::uint32_t a, std::uint32_t b, F&& f) {
    std::uint32_t r = 0;
    for (int k = 0; k < 32; k += 8) r |= (std::uint32_t(f((a >> k) & 0xFF, (b >> k) & 0xFF)) & 0xFF) << k;
    return r;
}
std::uint32_t Blend(std::uint32_t src, std::uint32_t dst, std::uint32_t w) {
    return Bytes(src, dst, [&](std::uint32_t s, std::uint32_t d) { return (w * s + (255 - w) * d) >> 8; });
}
std::uint32_t AddGrey(std::uint32_t p, std::uint32_t k) {
    return Bytes(p, k * 0x010101u, [](std::uint32_t a, std::uint32_t b) { return std::min(255u, a + b); });
}
std::uint32_t SubGrey(std::uint32_t p, std::uint32_t k) {
    return Bytes(p, k * 0x010101u, [](std::uint32_t a, std::uint32_t b) { return a > b ? a - b : 0; });
}

// The weight at the last position is 256 * (D - 1) / D: 255 from a duration
// of 256 on, less below it.
TEST(WipeEffects, FadeReachesWeight255OnlyOnLongDurations) {
    for (const auto& [duration, weight] : {std::pair{300, 255}, std::pair{256, 255}, std::pair{100, 253}}) {
        TWipeRun run(16, 4, 32);
        TWipeRun::TSetup s;
        s.duration = duration;
        run.Start(WP_FADE, s);
        run.StepAt(duration - 1);
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(run.target->GetPixel(x, 2),
                      Blend(run.nw->GetPixel(x, 2), run.old->GetPixel(x, 2), std::uint32_t(weight)))
                << duration;
    }
}

// With an offset the new picture slides in from it: at half time it stands
// at round(offset * 499 / 1000) over the old one, blended at 128.
TEST(WipeEffects, FadeSlidesTheNewPictureFromItsOffset) {
    TWipeRun run(64, 48, 32);
    TWipeRun::TSetup s;
    s.param0 = 10;
    s.param1 = -6;
    run.Start(WP_FADE, s);
    run.StepAt(500);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t o = run.old->GetPixel(x, y);
            const std::uint32_t want = x >= 5 && y < 45 ? Blend(run.nw->GetPixel(x - 5, y + 3), o, 128) : o;
            ASSERT_EQ(run.target->GetPixel(x, y), want) << x << ", " << y;
        }
}

// Half way on a 640-pixel screen the old picture's right half is on the
// left half and the new picture's left half on the right; Flag mirrors it.
TEST(WipeEffects, ScrollsMoveBothPicturesByHalfAtHalfTime) {
    for (const std::uint8_t flag : {0, 1}) {
        for (const bool vertical : {false, true}) {
            TWipeRun run(vertical ? 4 : 640, vertical ? 640 : 4, 32);
            TWipeRun::TSetup s;
            s.flag = flag;
            run.Start(vertical ? WP_SCROLLV : WP_SCROLLH, s);
            run.StepAt(500);
            for (int i = 0; i < 640; ++i) {
                const bool first = i < 320;
                const TDIBX& from = (first != (flag != 0)) ? *run.old : *run.nw;
                const int j = first ? i + 320 : i - 320;
                const TPixel got = vertical ? run.target->GetPixel(1, i) : run.target->GetPixel(i, 1);
                const TPixel want = vertical ? from.GetPixel(1, j) : from.GetPixel(j, 1);
                ASSERT_EQ(got, want) << "flag " << int(flag) << (vertical ? " row " : " column ") << i;
            }
        }
    }
}

// Over 511 ms the level is the position: up to 255 the old picture
// brightens (darkens) by it, from 256 the new one by 511 minus it.
TEST(WipeEffects, WhiteAndBlackTurnAtTheMiddle) {
    struct TRow {
        int position;
        bool fromNew;
        std::uint32_t level;
    };
    const TRow rows[] = {{254, false, 254}, {255, false, 255}, {256, true, 255}, {257, true, 254}, {400, true, 111}};
    for (const int kind : {WP_WHITE, WP_BLACK})
        for (const TRow& r : rows) {
            TWipeRun run(8, 8, 32);
            TWipeRun::TSetup s;
            s.duration = 511;
            run.Start(kind, s);
            run.StepAt(r.position);
            const TDIBX& from = r.fromNew ? *run.nw : *run.old;
            for (int x = 0; x < 8; ++x) {
                const std::uint32_t p = from.GetPixel(x, 3);
                ASSERT_EQ(run.target->GetPixel(x, 3), kind == WP_WHITE ? AddGrey(p, r.level) : SubGrey(p, r.level))
                    << WipeKinds()[std::size_t(kind)].Name << " at " << r.position;
            }
        }
}

// At the start on 640 x 480 the reduction is 263/256 of a quarter of the
// screen: the reduced picture is 164 x 123 cells.
TEST(WipeEffects, MosaicStartsWith164By123Cells) {
    TWipeRun run(640, 480, 32);
    run.Start(WP_MOSAIC, {});
    auto& mosaic = static_cast<TWipeMosaic&>(*run.wipe);
    mosaic.Work.Fill(0);
    run.StepAt(0);
    EXPECT_NE(mosaic.Work.GetPixel(163, 122), 0u);
    EXPECT_EQ(mosaic.Work.GetPixel(164, 0), 0u);
    EXPECT_EQ(mosaic.Work.GetPixel(0, 123), 0u);
    // The screen shows those cells enlarged: columns of one cell repeat.
    EXPECT_EQ(run.target->GetPixel(0, 0), mosaic.Work.GetPixel(0, 0));
    EXPECT_EQ(run.target->GetPixel(639, 479), mosaic.Work.GetPixel(163, 122));
}

// Over a duration of Span units the spot's level is the position: a pixel
// at distance 10 brightens on the way up, turns at 256 and fades back,
// and is the new picture as it is from 512 on. With Flag distances count
// from the corner's distance down.
TEST(WipeEffects, SpotRingBrightensEachPixelAndTurnsItAtThePeak) {
    struct TRow {
        std::uint8_t flag;
        int position;
        bool fromNew;
        std::uint32_t level;
    };
    // 64 x 48: the corner is 40 from the centre, the span 552; the probe
    // (42, 24) is 10 from the centre, 30 with Flag.
    const TRow rows[] = {{0, 5, false, 0},   {0, 110, false, 100}, {0, 265, false, 255}, {0, 266, true, 255},
                         {0, 310, true, 211}, {0, 522, true, 0},   {0, 530, true, 0},   {1, 130, false, 100},
                         {1, 330, true, 211}};
    for (const TRow& r : rows) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.duration = 552;
        s.flag = r.flag;
        run.Start(WP_SPOT, s);
        run.StepAt(r.position);
        const TDIBX& from = r.fromNew ? *run.nw : *run.old;
        EXPECT_EQ(run.target->GetPixel(42, 24), AddGrey(from.GetPixel(42, 24), r.level))
            << "flag " << int(r.flag) << " at " << r.position;
    }
}

TEST(WipeEffects, ChipSizeCountAndFallTime) {
    TWipeRun run(640, 480, 32);
    run.Start(WP_CRACK, {});
    auto& crack = static_cast<TWipeCrack&>(*run.wipe);
    EXPECT_EQ(crack.Chips.size(), 80u);  // 10 x 8 chips of 64
    EXPECT_EQ(crack.FallTime, 495);
    crack.SetParam(0, 8);
    EXPECT_EQ(crack.GetParam(0), 16);
    EXPECT_EQ(crack.Chips.size(), 40u * 30u);
    std::vector<int> cells(1200, 0);
    for (const auto& chip : crack.Chips) ++cells[std::size_t(chip->Row * 40 + chip->Column)];
    EXPECT_EQ(cells, std::vector<int>(1200, 1));
    for (const auto& chip : crack.Chips) {
        ASSERT_GE(chip->Drift, -100);
        ASSERT_LT(chip->Drift, 100);
    }
}

// Parameter 1 spaces the chips' starts: with 0 every chip hops at once,
// leaving the bottom rows to the new picture; far apart only the first
// chip has gone when the rest still rest.
TEST(WipeEffects, ChipsStartTheSecondParameterApart) {
    {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.param0 = 16;
        s.param1 = 0;
        run.Start(WP_CRACK, s);
        run.StepAt(50);  // t = 16: every chip 22 pixels up
        for (int y = 26; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(run.target->GetPixel(x, y), run.nw->GetPixel(x, y)) << x << ", " << y;
    }
    {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.param0 = 16;
        s.param1 = 1000;
        run.Start(WP_CRACK, s);
        run.StepAt(50);  // t = 566: the first chip has fallen, the others wait
        int shown = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) shown += run.target->GetPixel(x, y) == run.nw->GetPixel(x, y);
        EXPECT_EQ(shown, 16 * 16);
    }
}

// At the midpoint the zoomed part collapses to one pixel at the point:
// its colour fills the screen.
TEST(WipeEffects, ZoomCollapsesToItsPointAtTheMiddle) {
    for (const auto& [px, py] : {std::pair{0, 0}, std::pair{63, 47}, std::pair{20, 30}}) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.param0 = px;
        s.param1 = py;
        run.Start(WP_ZOOMIN, s);
        run.StepAt(500);
        EXPECT_EQ(Pixels(*run.target), std::vector<std::uint32_t>(64 * 48, run.old->GetPixel(px, py)))
            << px << ", " << py;
    }
}

// Four saw teeth across the ring, rising from 0 toward the amplitude.
TEST(WipeEffects, RippleWaveHasFourTeethOfTheAmplitude) {
    TWipeRun run(64, 48, 32);
    run.Start(WP_RIPPLE, {});
    auto& ripple = static_cast<TWipeRipple&>(*run.wipe);
    ASSERT_EQ(ripple.Wave.size(), 16u);  // two thirds of the smaller half side
    EXPECT_EQ(ripple.Wave, (std::vector<std::int32_t>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    ripple.SetParam(0, 40);
    EXPECT_EQ(ripple.Wave, (std::vector<std::int32_t>{0, 10, 20, 30, 0, 10, 20, 30, 0, 10, 20, 30, 0, 10, 20, 30}));
    ripple.SetParam(1, 99);
    EXPECT_EQ(ripple.Wave[1], 10);
}

// The quarter tables mirror onto the other three quarters; the middle row
// and column of an odd-sized screen are never written.
TEST(WipeEffects, RippleLeavesTheMiddleLinesOfOddScreens) {
    TWipeRun run(65, 49, 32);
    run.Start(WP_RIPPLE, {});
    run.target->Fill(0x123456);
    run.StepAt(600);
    for (int y = 0; y < 49; ++y) ASSERT_EQ(run.target->GetPixel(32, y), 0x123456u) << y;
    for (int x = 0; x < 65; ++x) ASSERT_EQ(run.target->GetPixel(x, 24), 0x123456u) << x;
    EXPECT_EQ(run.target->GetPixel(0, 0), run.old->GetPixel(0, 0));
    EXPECT_EQ(run.target->GetPixel(31, 23), run.nw->GetPixel(31, 23));
}

// Every channel is the truncated mean over the square of radius r cut to
// the picture.
TEST(WipeEffects, BoxBlurAveragesTheSquareInsideThePicture) {
    for (const int bits : {16, 32}) {
        std::unique_ptr<TDIBX> src = Picture(13, 9, bits, NewColour);
        for (const int r : {0, 1, 2, 5}) {
            TDIBX out;
            wipe::BoxBlur(*src, r, out);
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 13; ++x) {
                    std::uint32_t sum[4] = {}, n = 0;
                    for (int v = std::max(0, y - r); v <= std::min(8, y + r); ++v)
                        for (int u = std::max(0, x - r); u <= std::min(12, x + r); ++u, ++n) {
                            const std::uint32_t p = src->GetPixel(u, v);
                            const std::uint32_t c = bits == 32 ? p : NativeToColour(*src, p);
                            for (int k = 0; k < 4; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
                        }
                    std::uint32_t mean = 0;
                    for (int k = 0; k < 4; ++k) mean |= (sum[k] / n) << (8 * k);
                    const std::uint32_t want = bits == 32 ? mean : std::uint32_t(out.ColorToPixel(std::int32_t(mean)));
                    ASSERT_EQ(out.GetPixel(x, y), want) << bits << " bits, r " << r << " at " << x << ", " << y;
                }
        }
    }
}

// The blurred pictures are made with the transition: later changes to the
// old picture do not reach them.
TEST(WipeEffects, BlursAreMadeOnceWithTheTransition) {
    TWipeRun run(64, 48, 32);
    run.Start(WP_BLURWHITE, {});
    const auto& blur = static_cast<TWipeBlurWhite&>(*run.wipe);
    const std::vector<std::uint32_t> before = Pixels(blur.Blurred[0]);
    run.old->Fill(0);
    run.StepAt(100);
    EXPECT_EQ(Pixels(blur.Blurred[0]), before);
    EXPECT_NE(before, Pixels(*run.old));
}

// Parameter 0 turns the shrinking picture by that many 256ths of a turn in
// all; Flag turns it the other way.
TEST(WipeEffects, ShrinkTurnsByItsParameterAndFlagReversesIt) {
    for (const std::uint8_t flag : {0, 1}) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.param0 = 64;
        s.flag = flag;
        run.Start(WP_SMALL, s);
        run.StepAt(500);
        // A quarter turn in all, half of it at half time; scale and alpha
        // round(499 / 1000 * 255) = 127.
        TDIBX want(64, 48, 32);
        want.Assign(*run.nw);
        want.DrawRotate(32, 24, 127, false, false, false, flag ? -32 : 32, 24, 32, run.old->BoundsRect(), *run.old,
                        127, 127);
        EXPECT_EQ(Pixels(*run.target), Pixels(want)) << "flag " << int(flag);
    }
}

}  // namespace
