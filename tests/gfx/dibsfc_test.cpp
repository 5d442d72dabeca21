#include "gfx/dibsfc.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"

using namespace vesk;

namespace {

TEST(DIBSurface, RowsAreStoredBottomUpAndPaddedToFourBytes) {
    TDIBSurface b;
    b.SetSize(3, 2, 24);
    EXPECT_EQ(b.RowBytes(), 12);  // 9 bytes padded
    EXPECT_EQ(b.Pitch(), -12);
    EXPECT_EQ(b.ScanLine(1), b.Bits());
    EXPECT_EQ(b.ScanLine(0), b.Bits() + 12);
    EXPECT_EQ(b.ScanLine(1), b.ScanLine(0) + b.Pitch());
    b.SetPixel(2, 0, 0x112233);
    EXPECT_EQ(b.ScanLine(0)[6], 0x33);  // blue first
    EXPECT_EQ(b.ScanLine(0)[8], 0x11);
    try {
        b.ScanLine(2);
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("スキャンラインのインデックスが範囲を越えました (2)"));
    }
}

TEST(DIBSurface, PixelsOfEveryBitCount) {
    struct TCase {
        int bits;
        int rowBytes;  // for width 5
        std::uint32_t value;
    } cases[] = {{1, 4, 1}, {4, 4, 0xA}, {8, 8, 0xC3}, {15, 12, 0x7FFF}, {16, 12, 0xFFFF}, {24, 16, 0xABCDEF}, {32, 20, 0x01ABCDEF}};
    for (const TCase& c : cases) {
        TDIBSurface b;
        b.SetSize(5, 2, c.bits);
        EXPECT_EQ(b.RowBytes(), c.rowBytes) << c.bits;
        EXPECT_EQ(b.StorageBitCount(), c.bits == 15 ? 16 : c.bits);
        b.SetPixel(3, 1, c.value);
        EXPECT_EQ(b.GetPixel(3, 1), c.value) << c.bits;
        EXPECT_EQ(b.GetPixel(2, 1), 0u) << c.bits;
        EXPECT_EQ(b.GetPixel(4, 1), 0u) << c.bits;
        EXPECT_EQ(b.GetPixel(-1, 0), 0u);
        b.SetPixel(5, 0, c.value);  // outside: ignored
    }
    TDIBSurface one;
    one.SetSize(9, 1, 1);
    one.SetPixel(0, 0, 1);
    one.SetPixel(8, 0, 1);
    EXPECT_EQ(one.ScanLine(0)[0], 0x80);  // most significant bit first
    EXPECT_EQ(one.ScanLine(0)[1], 0x80);
}

TEST(DIBSurface, ColoursOfNativeValues) {
    TDIBSurface b;
    b.SetSize(1, 1, 16);
    EXPECT_EQ(b.NativeOf(0x000000FF), 0xF800u);  // platform red
    EXPECT_EQ(b.NativeOf(0x0000FF00), 0x07E0u);
    EXPECT_EQ(b.ColorOf(0xFFFF), 0x00FFFFFF);    // top bits repeated: white stays white
    EXPECT_EQ(b.ColorOf(0x0821), 0x00080408);    // lowest step of each channel
    b.SetSize(1, 1, 15);
    EXPECT_EQ(b.NativeOf(0x00FF0000), 0x001Fu);
    EXPECT_EQ(b.NativeOf(0x0000FF00), 0x03E0u);
    b.SetSize(1, 1, 32);
    EXPECT_EQ(b.NativeOf(0x000000FF), 0x00FF0000u);
    EXPECT_EQ(b.ColorOf(0xAA123456), 0x00563412);
    b.SetSize(1, 1, 8);
    b.SetPaletteEntry(0, 0x000000);
    b.SetPaletteEntry(7, 0xFF0000);  // red in B, G, R, reserved order
    EXPECT_EQ(b.ColorOf(7), 0x000000FF);
    EXPECT_EQ(b.NativeOf(0x000010E0), 7u);  // nearest to red
}

TEST(DIBSurface, RefusesUnknownBitCountsAndHugeSizes) {
    TDIBSurface b;
    EXPECT_THROW(b.SetSize(4, 4, 2), EVeskError);
    EXPECT_THROW(b.SetSize(4, 4, 0), EVeskError);
    EXPECT_THROW(b.SetSize(20000, 20000, 32), EVeskError);  // 1.6 GB
    EXPECT_THROW(b.SetSize(40000, 1, 8), EVeskError);
    b.SetSize(0, 5, 32);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.ByteSize(), 0u);
}

TEST(DIBSurface, CropAndCloneKeepPixelsPaletteAndAlpha) {
    TDIBSurface b;
    b.SetSize(6, 4, 4);
    b.SetPaletteEntry(3, 0x123456);
    b.SetPixel(3, 2, 3);
    b.CreateAlpha(255).SetPixel(3, 2, 7);
    auto copy = b.Clone();
    b.Crop({3, 2, 5, 4});
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), 3u);
    EXPECT_EQ(b.PaletteEntry(3), 0x123456u);
    EXPECT_EQ(b.Alpha()->GetPixel(0, 0), 7u);
    EXPECT_EQ(copy->Width(), 6);
    EXPECT_EQ(copy->GetPixel(3, 2), 3u);
    EXPECT_EQ(copy->Alpha()->GetPixel(3, 2), 7u);
    EXPECT_THROW(b.Crop({0, 0, 3, 1}), EVeskError);
}

}  // namespace
