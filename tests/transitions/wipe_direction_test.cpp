// What the flag and the parameters turn: for each kind where they matter, a
// few pixels that must show the new picture and a few that must still show
// the old one (both at their own places) at a point of the transition.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/transitions/wipe_fixture.h"

using namespace vesk;
using namespace vesk::test;

namespace {

using TProbe = std::pair<int, int>;

struct TDirectionRow {
    const char* what;
    int kind;
    std::uint8_t flag;
    std::optional<std::int32_t> param0, param1;
    std::int32_t position;  // of 1000
    std::vector<TProbe> showNew, showOld;
};

// On 64 x 48 pictures; the mask picture is bright in the top-left corner
// and black at (27, 20).
const TDirectionRow kRows[] = {
    {"blinds turn the strips' first columns", WP_BLINDH, 0, {}, {}, 250, {{0, 10}, {20, 30}}, {{19, 10}, {39, 30}}},
    {"flagged blinds turn the last columns", WP_BLINDH, 1, {}, {}, 250, {{19, 10}, {39, 30}}, {{0, 10}, {20, 30}}},
    {"vertical blinds turn the strips' first rows", WP_BLINDV, 0, {}, {}, 250, {{10, 0}, {5, 20}}, {{10, 19}, {5, 39}}},
    {"flagged vertical blinds turn the last rows", WP_BLINDV, 1, {}, {}, 250, {{10, 19}, {5, 39}}, {{10, 0}, {5, 20}}},
    {"curtains open from the left", WP_CURTAINH, 0, {}, {}, 250, {{0, 10}, {30, 40}}, {{29, 10}}},
    {"flagged curtains open from the right", WP_CURTAINH, 1, {}, {}, 250, {{63, 10}, {33, 40}}, {{34, 10}}},
    {"vertical curtains open from the top", WP_CURTAINV, 0, {}, {}, 250, {{10, 0}, {10, 30}}, {{10, 29}}},
    {"flagged vertical curtains open from the bottom", WP_CURTAINV, 1, {}, {}, 250, {{10, 47}}, {{10, 18}}},
    {"a grid spreads from the top-left corner", WP_GRID, 0, 16, 1, 500, {{8, 8}, {24, 24}}, {{63, 47}, {40, 8}}},
    {"a flagged grid spreads from the bottom-right", WP_GRID, 1, 16, 1, 500, {{63, 47}, {40, 24}}, {{8, 8}, {24, 8}}},
    {"a grid of columns runs from the left", WP_GRIDH, 0, 16, 1, 500, {{8, 40}, {24, 8}}, {{40, 8}, {56, 40}}},
    {"a flagged grid of columns runs from the right", WP_GRIDH, 1, 16, 1, 500, {{56, 40}, {40, 8}}, {{8, 8}, {24, 40}}},
    {"a grid of rows runs from the top", WP_GRIDV, 0, 16, 1, 500, {{8, 8}, {56, 8}}, {{8, 24}, {8, 40}}},
    {"a flagged grid of rows runs from the bottom", WP_GRIDV, 1, 16, 1, 500, {{8, 40}, {56, 40}}, {{8, 24}, {8, 8}}},
    {"the clock hand sweeps from twelve", WP_CLOCKHAND, 0, 0, {}, 250, {{48, 6}}, {{16, 6}, {48, 42}}},
    {"the flagged hand sweeps back from twelve", WP_CLOCKHAND, 1, 0, {}, 250, {{16, 6}}, {{48, 6}, {16, 42}}},
    {"the hand starts at three for 90 degrees", WP_CLOCKHAND, 0, 90, {}, 250, {{48, 42}}, {{48, 6}, {16, 42}}},
    {"the fan opens about twelve", WP_FAN, 0, 0, {}, 250, {{32, 2}}, {{32, 46}, {2, 24}}},
    {"the fan opens about six for 180 degrees", WP_FAN, 0, 180, {}, 250, {{32, 46}}, {{32, 2}, {62, 24}}},
    {"two fans open about three and nine", WP_WFAN, 0, 90, {}, 250, {{62, 24}, {1, 24}}, {{32, 2}, {32, 46}}},
    {"the circle grows from the centre", WP_CIRCLE, 0, {}, {}, 250, {{32, 24}}, {{0, 0}, {63, 47}}},
    {"the flagged circle shrinks the old picture", WP_CIRCLE, 1, {}, {}, 250, {{0, 0}, {63, 47}}, {{32, 24}}},
    {"the coil starts at the top-left", WP_BLOCKCOIL, 0, 10, {}, 250, {{5, 5}, {55, 5}}, {{32, 24}}},
    {"the flagged coil starts at its centre", WP_BLOCKCOIL, 1, 10, {}, 250, {{32, 24}}, {{5, 5}, {55, 5}}},
    {"the mask fade takes bright parts first", WP_MASKFADE, 0, {}, {}, 500, {{0, 0}}, {{27, 20}}},
    {"the flagged mask fade takes dark parts first", WP_MASKFADE, 1, {}, {}, 500, {{27, 20}}, {{0, 0}}},
    {"mask white keeps dark parts early", WP_MASKWHITE, 0, {}, {}, 250, {}, {{27, 20}}},
    {"mask white has turned bright parts late", WP_MASKWHITE, 0, {}, {}, 750, {{0, 0}}, {}},
    {"flagged mask white keeps bright parts early", WP_MASKWHITE, 1, {}, {}, 250, {}, {{0, 0}}},
    {"flagged mask white has turned dark parts late", WP_MASKWHITE, 1, {}, {}, 750, {{27, 20}}, {}},
    {"mask black keeps dark parts early", WP_MASKBLACK, 0, {}, {}, 250, {}, {{27, 20}}},
    {"the spot leaves the corners alone at first", WP_SPOT, 0, {}, {}, 50, {}, {{0, 0}, {63, 47}}},
    {"the spot is done at the centre first", WP_SPOT, 0, {}, {}, 950, {{32, 24}}, {}},
    {"the flagged spot leaves the centre alone at first", WP_SPOT, 1, {}, {}, 50, {}, {{32, 24}}},
    {"the flagged spot is done at the corners first", WP_SPOT, 1, {}, {}, 950, {{0, 0}}, {}},
    {"the blind rolls toward the left", WP_SUDAREH, 0, {}, {}, 250, {}, {{50, 10}}},
    {"the blind unrolls from the left", WP_SUDAREH, 0, {}, {}, 750, {{50, 10}}, {}},
    {"the flagged blind rolls toward the right", WP_SUDAREH, 1, {}, {}, 250, {}, {{10, 10}}},
    {"the flagged blind unrolls from the right", WP_SUDAREH, 1, {}, {}, 750, {{10, 10}}, {}},
    {"the vertical blind rolls toward the top", WP_SUDAREV, 0, {}, {}, 250, {}, {{10, 40}}},
    {"the flagged vertical blind rolls toward the bottom", WP_SUDAREV, 1, {}, {}, 250, {}, {{10, 5}}},
    {"rubber rolls toward the left", WP_RUBBERH, 0, {}, {}, 250, {}, {{50, 10}}},
    {"flagged rubber rolls toward the right", WP_RUBBERH, 1, {}, {}, 250, {}, {{10, 10}}},
    {"flagged rubber unrolls from the right", WP_RUBBERH, 1, {}, {}, 750, {{10, 10}}, {}},
    {"vertical rubber unrolls from the top", WP_RUBBERV, 0, {}, {}, 750, {{10, 40}}, {}},
    {"twisted rows finish at the top", WP_TWISTH, 0, {}, {}, 750, {{10, 2}}, {}},
    {"twisted rows wait at the bottom", WP_TWISTH, 0, {}, {}, 250, {}, {{10, 46}}},
    {"flagged twisted rows finish at the bottom", WP_TWISTH, 1, {}, {}, 750, {{10, 45}}, {}},
    {"flagged twisted rows wait at the top", WP_TWISTH, 1, {}, {}, 250, {}, {{10, 2}}},
    {"twisted columns finish at the left", WP_TWISTV, 0, {}, {}, 750, {{2, 10}}, {}},
    {"flagged twisted columns finish at the right", WP_TWISTV, 1, {}, {}, 750, {{61, 10}}, {}},
    {"flagged twisted columns wait at the left", WP_TWISTV, 1, {}, {}, 250, {}, {{2, 10}}},
};

TEST(WipeDirection, FlagsAndParametersTurnWhatTheKindSays) {
    TMemoryMaskSource source;
    source.Files["mask.png"] = PngFile(32, 24, 8, MaskGrey);
    for (const TDirectionRow& row : kRows) {
        SCOPED_TRACE(row.what);
        for (const int bits : {16, 32}) {
            TWipeRun run(64, 48, bits);
            TWipeRun::TSetup s;
            s.flag = row.flag;
            s.param0 = row.param0;
            s.param1 = row.param1;
            s.maskName = "mask.png";
            s.source = &source;
            run.Start(row.kind, s);
            run.StepAt(row.position);
            for (const auto& [x, y] : row.showNew)
                EXPECT_EQ(run.target->GetPixel(x, y), run.nw->GetPixel(x, y)) << "(" << x << ", " << y << ") " << bits;
            for (const auto& [x, y] : row.showOld)
                EXPECT_EQ(run.target->GetPixel(x, y), run.old->GetPixel(x, y)) << "(" << x << ", " << y << ") " << bits;
        }
    }
}

}  // namespace
