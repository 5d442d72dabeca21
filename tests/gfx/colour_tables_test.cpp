// The shared grey and fire tables for each screen bit count.
#include <gtest/gtest.h>

#include "gfx/colour_tables.h"
#include "gfx/dibx.h"

using namespace vesk;

namespace {

struct TableCase {
    int bits;
    int k;
    std::uint16_t grey16;
    std::uint16_t fire16;
};

// Fire entries: 0 = 000000, 7 = 160800, 11 = 230D01, 128 = DF7509,
// 255 = FFE6AF. Grey 7 has one green step in 5-6-5 and none in 5-5-5.
const TableCase kCases[] = {
    {32, 0, 0x0000, 0x0000},   {32, 7, 0x0020, 0x1040},   {32, 0x80, 0x8410, 0xDBA1},  {32, 11, 0x0841, 0x2060},
    {32, 255, 0xFFFF, 0xFF35}, {16, 255, 0xFFFF, 0xFF35}, {16, 11, 0x0841, 0x2060},
    {15, 7, 0x0000, 0x0820},   {15, 0x80, 0x4210, 0x6DC1},     {15, 11, 0x0421, 0x1020}, {15, 255, 0x7FFF, 0x7F95},
};

}  // namespace

TEST(ColourTables, EntriesForEachScreenBitCount) {
    for (const TableCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, k = " << c.k);
        BuildColourTables(c.bits);
        const TColourTables& t = ColourTables();
        EXPECT_EQ(t.GreyPixels16[c.k], c.grey16);
        EXPECT_EQ(t.GreyPixels32[c.k], std::uint32_t(c.k * 0x010101));
        EXPECT_EQ(t.FirePixels16[c.k], c.fire16);
    }
    BuildColourTables(32);
}

TEST(ColourTables, GreysMatchTheSurfacesOwnConversion) {
    for (int bits : {15, 16, 32}) {
        SCOPED_TRACE(bits);
        BuildColourTables(bits);
        const TColourTables& t = ColourTables();
        const TDIBX s16(1, 1, bits == 15 ? 15 : 16), s32(1, 1, 32);
        for (int k = 0; k < 256; ++k) {
            EXPECT_EQ(t.GreyPixels16[k], std::uint32_t(s16.ColorToPixel(k * 0x010101)));
            EXPECT_EQ(t.GreyPixels32[k], std::uint32_t(s32.ColorToPixel(k * 0x010101)));
            // The 5-5-5 fire entries are the 5-5-5 forms of the palette colours.
            if (bits == 15) {
                const std::uint32_t v = kFirePalette[k];
                const std::uint32_t rgb555 = ((v >> 19) & 31) << 10 | ((v >> 11) & 31) << 5 | ((v >> 3) & 31);
                EXPECT_EQ(t.FirePixels16[k], rgb555);
            }
        }
    }
    BuildColourTables(32);
}
