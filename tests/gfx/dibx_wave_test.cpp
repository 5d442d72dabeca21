// The wave proxy: rows shifted by their own offsets on the target.
#include <gtest/gtest.h>

#include <vector>

#include "dibx_test_util.h"
#include "gfx/dibx_wave.h"

using namespace vesk;
using vesk::test::MakeSurface;
using vesk::test::Pixels;
using V = std::vector<std::uint32_t>;

namespace {

struct WaveFixture {
    std::unique_ptr<TDIBX> target = MakeSurface(5, 4, 8);
    TDIBXWave wave{*target};
    std::unique_ptr<TDIBX> src = MakeSurface(2, 3, 8, {1, 2, 3, 4, 5, 6});
    WaveFixture() {
        wave.SetSize(5, 3, 8);  // three offsets; row 3 of the target is off the proxy
        wave.Offsets = {0, 1, -1};
    }
};

}  // namespace

TEST(DibxWave, FlippedDrawShowsTheWholeSourceUpsideDownRowByRow) {
    WaveFixture f;
    f.wave.Draw(1, 0, true, false, false, f.src->BoundsRect(), *f.src);
    EXPECT_EQ(Pixels(*f.target), (V{0, 5, 6, 0, 0,  //
                                    0, 0, 3, 4, 0,  //
                                    1, 2, 0, 0, 0,  //
                                    0, 0, 0, 0, 0}));
}

TEST(DibxWave, RowsPastTheOffsetsAreNotDrawn) {
    WaveFixture f;
    f.wave.FillRect(TRect{0, 0, 2, 4}, 9);
    EXPECT_EQ(Pixels(*f.target), (V{9, 9, 0, 0, 0, 0, 9, 9, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DibxWave, TransformedDrawsGoRowByRowAndRestoreTheClip) {
    WaveFixture f;
    f.target->ClipRect = TRect{0, 0, 5, 4};
    f.wave.StretchDraw(TRect{1, 0, 3, 3}, *f.src, 255, false, false, false, f.src->BoundsRect());
    EXPECT_EQ(Pixels(*f.target), (V{0, 1, 2, 0, 0, 0, 0, 3, 4, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(f.target->ClipRect, (TRect{0, 0, 5, 4}));
    f.target->Fill(0);
    f.wave.DrawRotate(1, 0, 255, false, false, false, 0, 0, 0, f.src->BoundsRect(), *f.src, 256, 256);
    EXPECT_EQ(Pixels(*f.target), (V{0, 1, 2, 0, 0, 0, 0, 3, 4, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DibxWave, ClipIsClampedToTheProxyAreaAndPassedOn) {
    WaveFixture f;
    f.wave.Left = 1;
    f.wave.Top = 1;
    f.wave.AddClip(TRect{0, 0, 10, 10});
    EXPECT_EQ(f.wave.ClipRect, (TRect{1, 1, 6, 4}));
    EXPECT_EQ(f.target->ClipRect, (TRect{1, 1, 5, 4}));  // the target clamps to its own size
    f.wave.ResetClip();
    EXPECT_EQ(f.target->ClipRect.Right, 0);
    EXPECT_EQ(f.wave.BitCount(), 8);
    EXPECT_EQ(f.wave.Target(), f.target.get());
}
