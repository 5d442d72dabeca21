// Copies, clipping, mirroring, colour keys, clip widening, colour
// conversion, fills and bad sizes.
#include <gtest/gtest.h>

#include <vector>

#include "common/cp932.h"
#include "common/error.h"
#include "dibx_test_util.h"
#include "gfx/dibx.h"

using namespace vesk;
using vesk::test::MakeSurface;
using vesk::test::Pixels;
using V = std::vector<std::uint32_t>;

TEST(DibxDraw, KeyedCopySkipsKeyPixelsOnly) {
    for (int bits : {8, 16, 24, 32}) {
        auto src = MakeSurface(4, 1, bits, {1, 7, 3, 7});
        src->TransparentColor = 7;
        auto dst = MakeSurface(4, 1, bits, {9, 9, 9, 9});
        dst->Draw(0, 0, false, false, true, src->BoundsRect(), *src);
        EXPECT_EQ(Pixels(*dst), (V{1, 9, 3, 9})) << bits;
        dst->Draw(0, 0, false, false, false, src->BoundsRect(), *src);  // no flag: plain copy
        EXPECT_EQ(Pixels(*dst), (V{1, 7, 3, 7})) << bits;
    }
}

TEST(DibxDraw, CopiesOfWholeRowsLandOnTheRightRows) {
    // Whole rows copy as one block when both stores share their layout; a
    // row offset in the source or the destination, a cut at the bottom and
    // padded rows (3 pixels of 8 bits) must give what a per-pixel copy gives.
    struct Case {
        int bits, w, y, srcTop;
    };
    for (const Case k : {Case{32, 4, 0, 0}, Case{32, 4, 2, 0}, Case{32, 4, -1, 0}, Case{16, 4, 1, 1},
                         Case{8, 4, 3, 2}, Case{8, 3, 1, 1}, Case{16, 3, 0, 1}}) {
        SCOPED_TRACE(testing::Message() << k.bits << " bits, width " << k.w << ", y " << k.y << ", top " << k.srcTop);
        const int h = 5;
        TDIBX src(k.w, h, k.bits), dst(k.w, h, k.bits);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < k.w; ++x) {
                src.SetPixel(x, y, std::uint32_t(1 + x + 10 * y));
                dst.SetPixel(x, y, 200);
            }
        dst.Draw(0, k.y, false, false, false, TRect{0, k.srcTop, k.w, h}, src);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < k.w; ++x) {
                const int sy = y - k.y + k.srcTop;
                const std::uint32_t want = sy >= k.srcTop && sy < h ? std::uint32_t(1 + x + 10 * sy) : 200u;
                EXPECT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
            }
    }
}

TEST(DibxDraw, MirroredDrawCutAtTheLeftLosesTheRightmostSourceColumns) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        auto src = MakeSurface(4, 1, bits, {1, 0, 1, 1});
        if (bits > 1) src = MakeSurface(4, 1, bits, {1, 2, 3, 4});
        auto dst = MakeSurface(4, 1, bits);
        dst->Draw(-1, 0, false, true, false, src->BoundsRect(), *src);
        // Mirrored: 4 3 2 1 at -1..2; column 4 falls left of the surface.
        EXPECT_EQ(Pixels(*dst), bits == 1 ? (V{1, 0, 1, 0}) : (V{3, 2, 1, 0})) << bits;
    }
}

TEST(DibxDraw, FlipsAndClipRectangle) {
    auto src = MakeSurface(3, 2, 32, {1, 2, 3, 4, 5, 6});
    auto dst = MakeSurface(4, 3, 32);
    dst->Draw(1, 1, true, false, false, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*dst), (V{0, 0, 0, 0, 0, 4, 5, 6, 0, 1, 2, 3}));
    dst->Fill(0);
    dst->ClipRect = TRect{0, 0, 3, 2};  // cuts the right column and the bottom row
    dst->Draw(1, 1, true, true, false, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*dst), (V{0, 0, 0, 0, 0, 6, 5, 0, 0, 0, 0, 0}));
    // A source rectangle reaching outside its surface draws only what exists.
    dst->ResetClip();
    dst->Fill(0);
    dst->Draw(0, 0, false, false, false, TRect{-1, 0, 2, 1}, *src);
    EXPECT_EQ(Pixels(*dst), (V{0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DibxDraw, DrawOntoItselfReadsTheOriginal) {
    auto s = MakeSurface(4, 1, 32, {1, 2, 3, 4});
    s->Draw(1, 0, false, false, false, TRect{0, 0, 3, 1}, *s);
    EXPECT_EQ(Pixels(*s), (V{1, 1, 2, 3}));
}

TEST(DibxDraw, MasksOfTheWrongDepthDrawNothing) {
    auto src = MakeSurface(2, 1, 32, {5, 5});
    auto mask = MakeSurface(2, 1, 16, {255, 255});
    auto dst = MakeSurface(2, 1, 32);
    dst->DrawMasked(0, 0, *mask, false, false, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*dst), (V{0, 0}));
}

TEST(DibxDraw, AddClipWidensAndIgnoresOutsideRectangles) {
    TDIBX s(10, 10, 32);
    s.AddClip(TRect{20, 20, 30, 30});
    EXPECT_EQ(s.ClipRect.Right, 0);
    s.AddClip(TRect{-5, 2, 3, 4});
    EXPECT_EQ(s.ClipRect, (TRect{0, 2, 3, 4}));
    s.AddClip(TRect{6, 8, 20, 9});
    EXPECT_EQ(s.ClipRect, (TRect{0, 2, 10, 9}));
    s.ResetClip();
    EXPECT_EQ(s.ClipRect.Right, 0);
    EXPECT_EQ(s.EffectiveClip(), (TRect{0, 0, 10, 10}));
}

TEST(DibxDraw, ColorToPixel) {
    TDIBX s32(1, 1, 32), s16(1, 1, 16), s15(1, 1, 15), s8(1, 1, 8);
    EXPECT_EQ(s32.ColorToPixel(-1), -1);
    EXPECT_EQ(s32.ColorToPixel(0x000000FF), 0x00FF0000);
    EXPECT_EQ(s32.ColorToPixel(0x00102030), 0x00302010);
    EXPECT_EQ(s16.ColorToPixel(0x00FFFFFF), 0xFFFF);
    EXPECT_EQ(s16.ColorToPixel(0x00102030), 0x3102);
    EXPECT_EQ(s15.ColorToPixel(0x00102030), 0x1882);
    EXPECT_EQ(s8.ColorToPixel(0x00102030), 0x00102030);
}

TEST(DibxDraw, FormatsAndStore) {
    TDIBX s;
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.BitCount(), 15);
    EXPECT_EQ(s.StorageBitCount(), 16);
    s.SetSize(3, 2, 16);
    EXPECT_EQ(s.Pitch(), -8);  // 6 bytes padded to 8, bottom-up
    EXPECT_EQ(s.RedMask(), 0xF800u);
    EXPECT_EQ(s.RedShift(), 11);
    EXPECT_EQ(s.GreenShift(), 5);
    s.SetPixel(1, 1, 0x1234);
    EXPECT_EQ(s.Lock(0, 1) + 2, s.Lock(1, 1));
    EXPECT_EQ(s.Lock(0, 0) + s.Pitch(), s.Lock(0, 1));
    EXPECT_EQ(s.GetPixel(1, 1), 0x1234u);
    EXPECT_EQ(s.GetPixel(5, 1), 0u);
    s.SetPixel(-1, 0, 7);  // ignored
    s.SetSize(3, 2, 15);
    EXPECT_EQ(s.GreenMask(), 0x03E0u);
    s.Clear();
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(s.Lock(0, 0), nullptr);
}

TEST(DibxDraw, FillPacksLowBitCounts) {
    TDIBX one(9, 1, 1), four(3, 1, 4), eight(2, 1, 8);
    one.Fill(5);
    EXPECT_EQ(one.GetPixel(8, 0), 1u);
    four.Fill(0x1A);
    EXPECT_EQ(Pixels(four), (V{0xA, 0xA, 0xA}));
    eight.Fill(0x1FF);
    EXPECT_EQ(Pixels(eight), (V{0xFF, 0xFF}));
    TDIBX s24(2, 1, 24);
    s24.FillRect(TRect{1, 0, 5, 1}, 0x123456);
    EXPECT_EQ(Pixels(s24), (V{0, 0x123456}));
}

TEST(DibxDraw, FramesDrawFourBands) {
    auto s = MakeSurface(4, 4, 8);
    s->FrameRect(TRect{0, 0, 4, 4}, 1, 1);
    EXPECT_EQ(Pixels(*s), (V{1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 1}));
    s->Fill(0);
    s->FrameRect(TRect{0, 0, 4, 2}, 1, 2);  // no inner height: top and bottom only
    EXPECT_EQ(Pixels(*s), (V{2, 2, 2, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DibxDraw, AssignCopiesPixels) {
    auto a = MakeSurface(2, 2, 32, {1, 2, 3, 4});
    TDIBX b(2, 2, 32), c(3, 3, 32);
    b.Assign(*a);
    EXPECT_EQ(Pixels(b), (V{1, 2, 3, 4}));
    c.Fill(9);
    c.Assign(*a);  // other size: drawn at (0, 0)
    EXPECT_EQ(Pixels(c), (V{1, 2, 9, 3, 4, 9, 9, 9, 9}));
}

TEST(DibxDraw, SetBitCountConvertsPixels) {
    TDIBX s(1, 1, 32);
    s.SetPixel(0, 0, 0x00FF8000);
    s.SetBitCount(16);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFC00u);  // red 31, green 32, blue 0
}

TEST(DibxDraw, BadSizesAndBitCountsRaiseClearErrors) {
    TDIBX s;
    try {
        s.SetSize(4, 4, 7);
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("ビット数が不正です (7)"));
    }
    EXPECT_THROW(s.SetSize(40000, 1, 8), EVeskError);
    EXPECT_THROW(s.SetSize(20000, 20000, 32), EVeskError);  // 1.6 GB
    s.SetSize(0, 5, 32);
    EXPECT_TRUE(s.IsEmpty());
    s.SetSize(2, 2, 32);
    try {
        s.Lock(0, 2);
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("スキャンラインのインデックスが範囲を越えました (2)"));
    }
}
