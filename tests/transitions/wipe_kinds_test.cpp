// The kind catalogue and the factory: every code makes its class, with its
// default parameters passed through the class's own parameter rules.

#include <gtest/gtest.h>

#include <functional>

#include "common/error.h"
#include "tests/transitions/wipe_fixture.h"
#include "transitions/wipe_blinds.h"
#include "transitions/wipe_blocks.h"
#include "transitions/wipe_blur.h"
#include "transitions/wipe_circle.h"
#include "transitions/wipe_crack.h"
#include "transitions/wipe_curtains.h"
#include "transitions/wipe_dither.h"
#include "transitions/wipe_fade.h"
#include "transitions/wipe_flash.h"
#include "transitions/wipe_grids.h"
#include "transitions/wipe_mosaic.h"
#include "transitions/wipe_pies.h"
#include "transitions/wipe_ripple.h"
#include "transitions/wipe_rubber.h"
#include "transitions/wipe_scroll.h"
#include "transitions/wipe_shadow.h"
#include "transitions/wipe_shadow_white.h"
#include "transitions/wipe_smallbig.h"
#include "transitions/wipe_spot.h"
#include "transitions/wipe_sudare.h"
#include "transitions/wipe_twist.h"
#include "transitions/wipe_zoomin.h"

using namespace vesk;
using namespace vesk::test;

namespace {

template <class T>
bool Is(const TCustomWipe& w) {
    return typeid(w) == typeid(T);
}

struct TKindRow {
    int kind;
    bool (*is)(const TCustomWipe&);
    std::int32_t param0, param1;  // as stored after creation
};

// The stored defaults: the mask kinds keep parameter 0 at 2 or more and
// parameter 1 at 1 or more, except the blocks and the angle kinds, which
// store what they get.
const TKindRow kRows[] = {
    {WP_FADE, Is<TWipeFade>, 0, 0},
    {WP_BLINDH, Is<TWipeBlindH>, 20, 1},
    {WP_BLINDV, Is<TWipeBlindV>, 20, 1},
    {WP_CURTAINH, Is<TWipeCurtainH>, 30, 1},
    {WP_CURTAINV, Is<TWipeCurtainV>, 30, 1},
    {WP_SCROLLH, Is<TWipeScrollH>, 0, 0},
    {WP_SCROLLV, Is<TWipeScrollV>, 0, 0},
    {WP_GRID, Is<TWipeGrid>, 80, 30},
    {WP_GRIDH, Is<TWipeGridH>, 80, 30},
    {WP_GRIDV, Is<TWipeGridV>, 80, 30},
    {WP_DITHER, Is<TWipeDither>, 2, 1},
    {WP_WHITE, Is<TWipeWhite>, 0, 0},
    {WP_BLACK, Is<TWipeBlack>, 0, 0},
    {WP_FLASH, Is<TWipeFlash>, 0, 0},
    {WP_MOSAIC, Is<TWipeMosaic>, 0, 0},
    {WP_SUDAREH, Is<TWipeSudareH>, 0, 0},
    {WP_SUDAREV, Is<TWipeSudareV>, 0, 0},
    {WP_SPOT, Is<TWipeSpot>, 0, 0},
    {WP_MASKFADE, Is<TWipeShadow>, 2, 1},
    {WP_MASKWHITE, Is<TWipeShadowWhite>, 0, 0},
    {WP_MASKBLACK, Is<TWipeShadowBlack>, 0, 0},
    {WP_SMALL, Is<TWipeSmall>, 0, 0},
    {WP_BIG, Is<TWipeBig>, 0, 0},
    {WP_RIPPLE, Is<TWipeRipple>, 5, 0},
    {WP_BLURWHITE, Is<TWipeBlurWhite>, 0, 0},
    {WP_BLURBLACK, Is<TWipeBlurBlack>, 0, 0},
    {WP_TWISTH, Is<TWipeTwistH>, 0, 0},
    {WP_TWISTV, Is<TWipeTwistV>, 0, 0},
    {WP_CRACK, Is<TWipeCrack>, 64, 3},
    {WP_ZOOMIN, Is<TWipeZoomin>, 0, 0},
    {WP_CLOCKHAND, Is<TWipeClockhand>, 0, 0},
    {WP_RUBBERH, Is<TWipeRubberH>, 0, 0},
    {WP_RUBBERV, Is<TWipeRubberV>, 0, 0},
    {WP_FAN, Is<TWipeFan>, 0, 0},
    {WP_WFAN, Is<TWipeWFan>, 0, 0},
    {WP_CIRCLE, Is<TWipeCircle>, 2, 1},
    {WP_BLOCKCOIL, Is<TWipeBlockCoil>, 60, 0},
    {WP_BLOCKRANDOM, Is<TWipeBlockRandom>, 60, 0},
};

TEST(WipeKinds, EveryCodeMakesItsClassWithItsDefaults) {
    TDIBX target(64, 48, 32), old(64, 48, 32), nw(64, 48, 32);
    ASSERT_EQ(std::size(kRows), std::size_t(kWipeKindCount - 1));
    for (const TKindRow& row : kRows) {
        SCOPED_TRACE(WipeKinds()[std::size_t(row.kind)].Name);
        const std::unique_ptr<TCustomWipe> w = CreateWipe(row.kind, target, old, nw);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(row.is(*w));
        EXPECT_EQ(w->GetParam(0), row.param0);
        EXPECT_EQ(w->GetParam(1), row.param1);
        EXPECT_EQ(WipeKinds()[std::size_t(row.kind)].Code, row.kind);
        EXPECT_EQ(WipeKinds()[std::size_t(row.kind)].Mask, dynamic_cast<TWipeMask*>(w.get()) != nullptr);
        EXPECT_EQ(w->Target, &target);
        EXPECT_EQ(w->Old, &old);
        EXPECT_EQ(w->New, &nw);
        EXPECT_EQ(w->Duration, 0);
        EXPECT_EQ(w->Position, 0);
        EXPECT_EQ(w->Flag, 0);
    }
}

TEST(WipeKinds, NoTransitionForCodesOutsideTheCatalogue) {
    TDIBX s(8, 8, 32);
    for (int kind : {int(WP_NONE), 39, 200, 255, -1}) EXPECT_EQ(CreateWipe(kind, s, s, s), nullptr) << kind;
}

TEST(WipeKinds, NamesFindTheirKinds) {
    for (const TWipeKindInfo& k : WipeKinds()) {
        ASSERT_NE(FindWipeKind(k.Name), nullptr) << k.Name;
        EXPECT_EQ(FindWipeKind(k.Name)->Code, k.Code);
    }
    EXPECT_EQ(FindWipeKind("WP_NOSUCH"), nullptr);
    EXPECT_EQ(FindWipeKind("wp_fade"), nullptr);
}

// The project loader moves the zoom's centre to the screen's centre; every
// later zoom starts from it.
TEST(WipeKinds, CreationReadsTheWritableDefaults) {
    TDIBX s(64, 48, 32);
    const auto saved = WipeDefaults()[WP_ZOOMIN];
    WipeDefaults()[WP_ZOOMIN] = {32, 24};
    const std::unique_ptr<TCustomWipe> w = CreateWipe(WP_ZOOMIN, s, s, s);
    WipeDefaults()[WP_ZOOMIN] = saved;
    EXPECT_EQ(w->GetParam(0), 32);
    EXPECT_EQ(w->GetParam(1), 24);
}

// Parameter 0 makes the chips while parameter 1 is still 0, and parameter 1
// then times them: the factory sets them in that order.
TEST(WipeKinds, ChipsAreTimedByTheSecondParameter) {
    TDIBX s(64, 48, 32);
    const std::unique_ptr<TCustomWipe> w = CreateWipe(WP_CRACK, s, s, s);
    const auto& crack = dynamic_cast<const TWipeCrack&>(*w);
    ASSERT_EQ(crack.Chips.size(), 1u);  // one chip of 64 covers 64 x 48
    w->SetParam(0, 16);
    ASSERT_EQ(crack.Chips.size(), 12u);
    for (std::size_t j = 0; j < crack.Chips.size(); ++j) EXPECT_EQ(crack.Chips[j]->Start, std::int64_t(j) * 3);
    EXPECT_EQ(crack.LastStart, 33);
}

TEST(WipeKinds, ParameterIndexesOtherThanZeroAndOneAreErrors) {
    TDIBX s(8, 8, 32);
    const std::unique_ptr<TCustomWipe> w = CreateWipe(WP_FADE, s, s, s);
    for (int index : {-1, 2, 100}) {
        EXPECT_THROW(w->SetParam(index, 1), EVeskError);
        EXPECT_THROW((void)w->GetParam(index), EVeskError);
    }
}

}  // namespace
