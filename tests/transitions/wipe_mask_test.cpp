// The mask family's rules: parameter storage, the progress values the
// masks are built for, when a step leaves the target alone, and the block
// lists.

#include <gtest/gtest.h>

#include "tests/transitions/wipe_fixture.h"
#include "transitions/wipe_blocks.h"
#include "transitions/wipe_mask.h"

using namespace vesk;
using namespace vesk::test;

namespace {

// Whether each column of a row shows the new picture.
std::vector<bool> NewColumns(const TWipeRun& run, int y) {
    std::vector<bool> out;
    for (int x = 0; x < run.target->Width(); ++x) out.push_back(run.target->GetPixel(x, y) == run.nw->GetPixel(x, y));
    return out;
}

// Blinds of 20 columns turning two progress units apart: progress runs
// from 0 to 38 and at 10 the first five columns of every strip have turned
// (the last five with Flag).
TEST(WipeMask, BlindsTurnTheirColumnsInOrderInsideEveryStrip) {
    for (const std::uint8_t flag : {0, 1}) {
        TWipeRun run(640, 4, 32);
        TWipeRun::TSetup s;
        s.duration = 38;
        s.flag = flag;
        run.Start(WP_BLINDH, s);
        run.StepAt(10);
        EXPECT_EQ(run.wipe->GetParam(0), 20);
        for (int y = 0; y < 4; ++y) {
            const std::vector<bool> turned = NewColumns(run, y);
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(turned[std::size_t(x)], flag ? x % 20 >= 15 : x % 20 <= 4)
                    << "x " << x << " flag " << int(flag);
        }
        EXPECT_EQ(static_cast<TWipeMask&>(*run.wipe).LastLevel, 10);
    }
}

struct TParamRow {
    int kind, index;
    std::int32_t value, stored;
};

TEST(WipeMask, ParametersAreStoredByTheKindsRules) {
    const TParamRow rows[] = {
        {WP_BLINDH, 0, 1, 2},      {WP_BLINDH, 1, 0, 1},     {WP_BLINDH, 0, -7, 2},   {WP_GRID, 1, -1, 1},
        {WP_DITHER, 0, 2, 2},      {WP_CURTAINH, 0, 0, 1},   {WP_CURTAINV, 1, -5, 1}, {WP_CURTAINH, 0, 1, 1},
        {WP_CLOCKHAND, 0, -90, -90}, {WP_FAN, 0, 720, 720},  {WP_BLOCKCOIL, 0, 3, 3}, {WP_BLOCKRANDOM, 1, -4, -4},
    };
    TDIBX s(64, 48, 32);
    for (const TParamRow& r : rows) {
        const std::unique_ptr<TCustomWipe> w = CreateWipe(r.kind, s, s, s);
        w->SetParam(r.index, r.value);
        EXPECT_EQ(w->GetParam(r.index), r.stored) << WipeKinds()[std::size_t(r.kind)].Name << " " << r.value;
    }
}

// The first step of the dither has progress 0, which differs from the
// initial -1: it builds an empty mask and draws the old picture.
TEST(WipeMask, DitherDrawsTheOldPictureAtTheFirstStep) {
    TWipeRun run(64, 48, 32);
    run.Start(WP_DITHER, {});
    run.target->Fill(0);
    run.StepAt(0);
    EXPECT_EQ(Pixels(*run.target), Pixels(*run.old));
}

// A circle of radius 0 equals the radius the transition starts with, so the
// first step draws nothing; with Flag it is the full radius and draws.
TEST(WipeMask, CircleDrawsNothingAtItsFirstStepUnlessFlagged) {
    for (const std::uint8_t flag : {0, 1}) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.flag = flag;
        run.Start(WP_CIRCLE, s);
        run.target->Fill(0);
        run.StepAt(0);
        if (flag) EXPECT_EQ(Pixels(*run.target), Pixels(*run.old));
        else EXPECT_EQ(Pixels(*run.target), std::vector<std::uint32_t>(64 * 48, 0));
    }
}

// A mask that did not change leaves the target as it is, so a slow
// transition costs nothing on the frames between two levels.
TEST(WipeMask, UnchangedMaskLeavesTheTarget) {
    for (const int kind : {WP_BLINDH, WP_GRID, WP_DITHER, WP_CLOCKHAND, WP_CIRCLE, WP_BLOCKCOIL, WP_MASKFADE}) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.duration = 100000;
        run.Start(kind, s);
        run.StepAt(50000);
        run.target->Fill(0);
        run.StepAt(50000);
        EXPECT_EQ(Pixels(*run.target), std::vector<std::uint32_t>(64 * 48, 0)) << WipeKinds()[std::size_t(kind)].Name;
    }
}

TRect Block(int x, int y) { return TRect{x, y, x + 10, y + 10}; }

// A clockwise spiral from the top-left corner: ten blocks along the top,
// four down the right side, nine back along the bottom, three up the left
// side, then inward from (10, 10); every cell once.
TEST(WipeMask, BlockCoilSpiralsInwardOverEveryCell) {
    TWipeRun run(100, 50, 32);
    TWipeRun::TSetup s;
    s.param0 = 10;
    run.Start(WP_BLOCKCOIL, s);
    const std::vector<TRect>& blocks = static_cast<TWipeBlocks&>(*run.wipe).Blocks();
    ASSERT_EQ(blocks.size(), 50u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(blocks[std::size_t(i)], Block(10 * i, 0));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(blocks[std::size_t(10 + i)], Block(90, 10 + 10 * i));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(blocks[std::size_t(14 + i)], Block(80 - 10 * i, 40));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(blocks[std::size_t(23 + i)], Block(0, 30 - 10 * i));
    EXPECT_EQ(blocks[26], Block(10, 10));
    std::vector<int> cells(50, 0);
    for (const TRect& b : blocks) ++cells[std::size_t(b.Top / 10 * 10 + b.Left / 10)];
    EXPECT_EQ(cells, std::vector<int>(50, 1));
}

// Over the whole transition every block turns once, in list order, or in
// reverse order with Flag.
TEST(WipeMask, BlockCoilTurnsItsBlocksInOrderOrBackwards) {
    for (const std::uint8_t flag : {0, 1}) {
        TWipeRun run(100, 50, 32);
        TWipeRun::TSetup s;
        s.param0 = 10;
        s.flag = flag;
        s.duration = 49;
        run.Start(WP_BLOCKCOIL, s);
        const std::vector<TRect>& blocks = static_cast<TWipeBlocks&>(*run.wipe).Blocks();
        for (int p = 0; p < 49; ++p) {
            run.StepAt(p);
            // After step p the blocks 0 .. p (49 - p .. 49 with Flag) show new.
            for (int i = 0; i < 50; ++i) {
                const bool turned = flag ? i >= 49 - p : i <= p;
                const TRect& b = blocks[std::size_t(i)];
                ASSERT_EQ(run.target->GetPixel(b.Left + 5, b.Top + 5) == run.nw->GetPixel(b.Left + 5, b.Top + 5),
                          turned)
                    << "block " << i << " at step " << p << " flag " << int(flag);
            }
        }
    }
}

TEST(WipeMask, RandomBlocksCoverEveryCellOnceInTheGeneratorsOrder) {
    std::vector<TRect> first;
    for (int round = 0; round < 2; ++round) {
        TWipeRun run(105, 52, 32);
        TWipeRun::TSetup s;
        s.param0 = 10;
        run.Start(WP_BLOCKRANDOM, s);
        const std::vector<TRect>& blocks = static_cast<TWipeBlocks&>(*run.wipe).Blocks();
        ASSERT_EQ(blocks.size(), 66u);  // 11 x 6 cells, the last ones sticking out
        std::vector<int> cells(66, 0);
        for (const TRect& b : blocks) ++cells[std::size_t(b.Top / 10 * 11 + b.Left / 10)];
        EXPECT_EQ(cells, std::vector<int>(66, 1));
        if (round == 0) first = blocks;
        else EXPECT_EQ(blocks, first) << "the same seed gave another order";
    }
}

// The block size is at least 10 and at most the smaller side of the
// screen, and Prepare stores the size it used.
TEST(WipeMask, BlockSizeIsKeptBetweenTenAndTheScreen) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {{0, 10}, {-5, 10}, {25, 25}, {1000, 48}};
    for (const auto& [given, used] : sizes) {
        TWipeRun run(64, 48, 32);
        TWipeRun::TSetup s;
        s.param0 = given;
        run.Start(WP_BLOCKRANDOM, s);
        EXPECT_EQ(run.wipe->GetParam(0), used) << given;
    }
}

// Without a mask picture every level is 255: a cross-fade that has fully
// turned at half the duration.
TEST(WipeMask, MaskFadeWithoutPictureIsDoneAtHalfTime) {
    TWipeRun run(64, 48, 32);
    TWipeRun::TSetup s;
    s.maskName = "missing.png";
    run.Start(WP_MASKFADE, s);
    run.StepAt(250);
    const TPixel o = run.old->GetPixel(3, 3), n = run.nw->GetPixel(3, 3);
    EXPECT_NE(run.target->GetPixel(3, 3), o);
    EXPECT_NE(run.target->GetPixel(3, 3), n);
    run.StepAt(500);
    EXPECT_EQ(Pixels(*run.target), Pixels(*run.nw));
}

// One mask row serves the whole screen: every row shows the same columns.
TEST(WipeMask, OneRowMasksComposeEveryRowAlike) {
    for (const int kind : {WP_BLINDH, WP_CURTAINH}) {
        TWipeRun run(64, 48, 32);
        run.Start(kind, {});
        run.StepAt(400);
        const std::vector<bool> first = NewColumns(run, 0);
        EXPECT_NE(std::count(first.begin(), first.end(), true), 0);
        EXPECT_NE(std::count(first.begin(), first.end(), false), 0);
        for (int y = 1; y < 48; ++y) ASSERT_EQ(NewColumns(run, y), first) << "row " << y;
    }
}

// A parameter set after Prepare that changes the mask's height makes the
// mask again instead of reading past its rows.
TEST(WipeMask, MaskIsMadeAgainWhenItsHeightChanges) {
    TWipeRun run(64, 48, 32);
    run.Start(WP_BLINDV, {});
    run.StepAt(100);
    run.wipe->SetParam(0, 40);
    run.StepAt(400);
    auto& mask = static_cast<TWipeMask&>(*run.wipe);
    EXPECT_EQ(mask.Mask.Height(), 40);
    // Rows 0 .. 39 are one strip: at 40 % (31 of 78 units) the rows up to
    // 15 have turned.
    for (int y = 0; y < 48; ++y)
        EXPECT_EQ(run.target->GetPixel(0, y) == run.nw->GetPixel(0, y), y % 40 <= 15) << "row " << y;
}

}  // namespace
