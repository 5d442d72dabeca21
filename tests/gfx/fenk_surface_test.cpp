// Frames copied into drawing surfaces at the surface's bit count.

#include <gtest/gtest.h>

#include "common/error.h"
#include "gfx/dibx.h"
#include "gfx/fenks.h"

using namespace vesk;

namespace {

TFenkFrameList OneFrame(int bits, std::initializer_list<std::uint32_t> pixels) {
    TFenkFrameList list;
    TFenkFrame& f = list.AddFrame();
    f.Image.SetSize(static_cast<std::int32_t>(pixels.size()), 1, bits);
    f.Image.SetPaletteEntry(5, 0xFF0000);  // red
    f.Image.SetPaletteEntry(6, 0x00FF00);
    int x = 0;
    for (std::uint32_t v : pixels) f.Image.SetPixel(x++, 0, v);
    return list;
}

TEST(FenkSurface, CopyConvertsToTheSurfaceBitCount) {
    struct TCase {
        int from, to;
        std::uint32_t pixel, expect;
    } cases[] = {
        {24, 32, 0x123456, 0x00123456},
        {32, 32, 0xAB123456, 0x00123456},  // the fourth byte is dropped
        {8, 16, 5, 0xF800},                // palette red
        {8, 32, 6, 0x0000FF00},
        {16, 32, 0xF800, 0x00FF0000},
        {32, 15, 0x00FF8040, 0x7E08},      // 31 << 10 | 16 << 5 | 8
        {32, 16, 0x00FF8040, 0xFC08},      // 31 << 11 | 32 << 5 | 8
        {15, 15, 0x1234, 0x1234},
        {24, 24, 0xABCDEF, 0xABCDEF},
    };
    for (const TCase& c : cases) {
        TFenkFrameList list = OneFrame(c.from, {c.pixel, 0});
        TDIBX surface(1, 1, c.to);
        list.CopyToSurface(0, surface);
        EXPECT_EQ(surface.Width(), 2);
        EXPECT_EQ(surface.Height(), 1);
        EXPECT_EQ(surface.BitCount(), c.to);
        EXPECT_EQ(surface.GetPixel(0, 0), c.expect) << c.from << " to " << c.to;
    }
}

TEST(FenkSurface, KeyColourMatchesTheConvertedPixels) {
    // A 16-bit frame keyed on one of its pixels, copied into a 32-bit
    // surface: the caller's ColorToPixel(TransColor) finds the same pixels.
    TFenkFrameList list = OneFrame(16, {0x1234, 0x4321});
    list[0].TransValue = 0x1234;
    list[0].TransColor = list[0].Image.ColorOf(0x1234);
    TDIBX surface(1, 1, 32);
    list.CopyToSurface(0, surface);
    EXPECT_EQ(static_cast<TPixel>(surface.ColorToPixel(list[0].TransColor)), surface.GetPixel(0, 0));
    EXPECT_NE(static_cast<TPixel>(surface.ColorToPixel(list[0].TransColor)), surface.GetPixel(1, 0));
}

TEST(FenkSurface, PalettedIntoPalettedKeepsIndexesAndPalette) {
    TFenkFrameList list = OneFrame(8, {5, 6});
    TDIBX surface(1, 1, 8);
    list.CopyToSurface(0, surface);
    EXPECT_EQ(surface.GetPixel(0, 0), 5u);
    EXPECT_EQ(surface.GetPixel(1, 0), 6u);
    EXPECT_EQ(surface.Palette()[5], 0xFF0000u);
}

TEST(FenkSurface, RectangleListsAndMaskTravelWithTheFrame) {
    TFenkFrameList list = OneFrame(32, {1, 2, 3});
    list[0].DrawRects = {{0, 0, 2, 1}};
    list[0].AuxRects = {{1, 0, 3, 1}, {0, 0, 1, 1}};
    TDIBX surface(1, 1, 32);
    list.CopyToSurface(0, surface);
    ASSERT_EQ(surface.DrawRects.size(), 1u);
    EXPECT_EQ(surface.DrawRects[0], (TRect{0, 0, 2, 1}));
    EXPECT_EQ(surface.AuxRects.size(), 2u);

    TDIBX mask(4, 4, 8);
    list.CopyMaskTo(0, mask);
    EXPECT_EQ(mask.Width(), 4) << "no alpha companion: the mask is left alone";
    TDIBSurface& alpha = list[0].Image.CreateAlpha(255);
    alpha.SetPixel(1, 0, 40);
    list.CopyMaskTo(0, mask);
    EXPECT_EQ(mask.Width(), 3);
    EXPECT_EQ(mask.Height(), 1);
    EXPECT_EQ(mask.BitCount(), 8);
    EXPECT_EQ(mask.GetPixel(0, 0), 255u);
    EXPECT_EQ(mask.GetPixel(1, 0), 40u);

    EXPECT_THROW(list.CopyToSurface(1, surface), EVeskError);
    EXPECT_THROW(list.CopyMaskTo(-1, mask), EVeskError);
}

}  // namespace
