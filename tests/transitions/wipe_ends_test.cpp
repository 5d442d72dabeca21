// How every kind begins and ends: the first step shows the old picture
// (the target holds it when the switch starts, as the screen does), except
// for the kinds whose first frame is defined otherwise; the last step
// before the end is nearer the new picture than the old; a step at the
// duration answers finished and draws nothing.

#include <gtest/gtest.h>

#include "tests/transitions/wipe_fixture.h"

using namespace vesk;
using namespace vesk::test;

namespace {

// The kinds whose first frame is not the old picture, and why.
const char* FirstFrameNote(int kind) {
    switch (kind) {
        case WP_FLASH: return "starts from the new picture brightened to white";
        case WP_MOSAIC: return "starts with the old picture in blocks";
        case WP_SMALL: return "starts with the old picture scaled to 255/256";
        case WP_BLOCKCOIL:
        case WP_BLOCKRANDOM: return "turns its first block at once";
        default: return nullptr;
    }
}

class WipeEnds : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(WipeEnds, BeginWithTheOldPictureAndFinishAtTheDuration) {
    const auto [kind, bits] = GetParam();
    TMemoryMaskSource source;
    source.Files["mask.png"] = PngFile(32, 24, 8, MaskGrey);
    TWipeRun run(64, 48, bits);
    TWipeRun::TSetup setup;
    setup.source = &source;
    setup.maskName = "mask.png";
    // Blocks of the default 60 pixels would be most of this small screen.
    if (kind == WP_BLOCKCOIL || kind == WP_BLOCKRANDOM) setup.param0 = 10;
    run.Start(kind, setup);

    EXPECT_FALSE(run.StepAt(0));
    if (const char* note = FirstFrameNote(kind)) {
        EXPECT_NE(Pixels(*run.target), Pixels(*run.old)) << note;
        if (kind == WP_FLASH) {
            const TPixel white = TPixel(run.target->ColorToPixel(0xFFFFFF));
            for (std::uint32_t p : Pixels(*run.target)) ASSERT_EQ(p, white);
        } else {
            EXPECT_LT(Distance(*run.target, *run.old), Distance(*run.target, *run.nw)) << note;
        }
    } else {
        EXPECT_EQ(Pixels(*run.target), Pixels(*run.old));
    }

    EXPECT_FALSE(run.StepAt(999));
    EXPECT_LT(Distance(*run.target, *run.nw), Distance(*run.target, *run.old));
    EXPECT_EQ(run.wipe->UpdateRect, run.target->BoundsRect());

    const std::vector<std::uint32_t> last = Pixels(*run.target);
    run.wipe->UpdateRect = TRect{};
    EXPECT_TRUE(run.StepAt(1000));
    EXPECT_TRUE(run.StepAt(5000));
    EXPECT_EQ(Pixels(*run.target), last) << "a step at or past the duration drew";
    EXPECT_EQ(run.wipe->UpdateRect, run.target->BoundsRect()) << "a finished step still sets the update area";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, WipeEnds,
                         ::testing::Combine(::testing::Range(1, int(kWipeKindCount)), ::testing::Values(16, 32)),
                         [](const auto& info) {
                             return std::string(WipeKinds()[std::size_t(std::get<0>(info.param))].Name).substr(3) +
                                    "_" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
