// Bitmap files and packed DIBs built by hand, read as one-frame layered
// images.

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"
#include "tests/gfx/fenk_fixture.h"

using namespace vesk;
using vesk::testing::TFenkBytes;

namespace {

struct TBmp {
    std::int32_t width = 2, height = 2;
    int bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint32_t> masks;  // after a 40-byte header (BI_BITFIELDS)
    std::vector<std::uint8_t> pixels;  // stored rows, bottom row first unless height < 0
    bool fileHeader = true;
};

std::vector<std::uint8_t> Make(const TBmp& b) {
    TFenkBytes info;
    info.I32(40).I32(b.width).I32(b.height);
    info.U8(1).U8(0).U8(static_cast<std::uint8_t>(b.bits)).U8(0);
    info.I32(static_cast<std::int32_t>(b.compression)).I32(0).I32(0).I32(0);
    info.I32(static_cast<std::int32_t>(b.palette.size())).I32(0);
    for (std::uint32_t m : b.masks) info.I32(static_cast<std::int32_t>(m));
    for (std::uint32_t p : b.palette) info.I32(static_cast<std::int32_t>(p));
    if (!b.fileHeader) {
        info.bytes.insert(info.bytes.end(), b.pixels.begin(), b.pixels.end());
        return info.bytes;
    }
    TFenkBytes file;
    const auto offset = static_cast<std::int32_t>(14 + info.bytes.size());
    file.Raw("BM").I32(offset + static_cast<std::int32_t>(b.pixels.size())).I32(0).I32(offset);
    file.bytes.insert(file.bytes.end(), info.bytes.begin(), info.bytes.end());
    file.bytes.insert(file.bytes.end(), b.pixels.begin(), b.pixels.end());
    return file.bytes;
}

TFenkFrameList Load(const std::vector<std::uint8_t>& bytes, const char* name = "pic.Bmp") {
    TMemoryStream s(bytes);
    TFenkFrameList list;
    list.LoadFromNamedStream(name, s, false, false);
    return list;
}

TEST(Bmp, TwentyFourBitRowsBottomUpAndTopDown) {
    TBmp b;
    // Bottom row first: (B,G,R) pixels, rows padded to 8 bytes.
    b.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const TFenkFrameList fList = Load(Make(b));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.BitCount(), 24);
    EXPECT_EQ(f.Image.GetPixel(0, 1), 0x030201u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 0x0C0B0Au);
    EXPECT_EQ(f.TransValue, -1);
    b.height = -2;
    const TFenkFrameList gList = Load(Make(b));
    const TFenkFrame& g = gList[0];
    EXPECT_EQ(g.Image.GetPixel(0, 0), 0x030201u);
    EXPECT_EQ(g.Image.Height(), 2);
}

TEST(Bmp, PalettedBitmapsAndPackedDibs) {
    TBmp b;
    b.bits = 4;
    b.width = 3;
    b.height = 1;
    b.palette = {0x000000, 0x123456, 0xABCDEF};
    b.pixels = {0x21, 0x10, 0, 0};
    b.fileHeader = false;
    const TFenkFrameList fList = Load(Make(b), "x.dib");
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.BitCount(), 4);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 2u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 1u);
    EXPECT_EQ(f.Image.ColorOf(2), 0x00EFCDAB);

    TBmp mono;
    mono.bits = 1;
    mono.width = 9;
    mono.height = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.pixels = {0x80, 0x80, 0, 0};
    const TFenkFrameList mList = Load(Make(mono));
    const TFenkFrame& m = mList[0];
    EXPECT_EQ(m.Image.GetPixel(0, 0), 1u);
    EXPECT_EQ(m.Image.GetPixel(1, 0), 0u);
    EXPECT_EQ(m.Image.GetPixel(8, 0), 1u);
}

TEST(Bmp, RunLengthEncodedBitmaps) {
    TBmp b;
    b.bits = 8;
    b.compression = 1;
    b.width = 4;
    b.height = 2;
    b.palette = std::vector<std::uint32_t>(4, 0);
    // Bottom row: a run of 3 x index 2, a run of 1 x index 1, end of line;
    // top row: delta one right, an absolute run of 3 (padded), end.
    b.pixels = {3, 2, 1, 1, 0, 0, 0, 2, 1, 0, 0, 3, 7, 8, 9, 0, 0, 1};
    const TFenkFrameList fList = Load(Make(b));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.GetPixel(0, 1), 2u);
    EXPECT_EQ(f.Image.GetPixel(2, 1), 2u);
    EXPECT_EQ(f.Image.GetPixel(3, 1), 1u);
    // The delta moved one pixel right on the top row.
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 7u);
    EXPECT_EQ(f.Image.GetPixel(3, 0), 9u);
}

TEST(Bmp, SixteenBitMasks) {
    TBmp b;
    b.bits = 16;
    b.width = 1;
    b.height = 1;
    b.pixels = {0x1F, 0x7C, 0, 0};  // 0x7C1F
    EXPECT_EQ(Load(Make(b))[0].Image.BitCount(), 15);
    EXPECT_EQ(Load(Make(b))[0].Image.GetPixel(0, 0), 0x7C1Fu);
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(Load(Make(b))[0].Image.BitCount(), 16);
    // Unusual masks (4-4-4) become 24-bit: 0x0F00 red 4 bits of 15 -> 255.
    b.masks = {0x0F00, 0x00F0, 0x000F};
    b.pixels = {0x08, 0x0F, 0, 0};  // 0x0F08: red 15, green 0, blue 8
    const TFenkFrameList fList = Load(Make(b));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.BitCount(), 24);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0xFF0088u);  // 8 * 255 / 15 = 136
}

TEST(Bmp, ThirtyTwoBitsGiveAlphaAndBecome24Bit) {
    TBmp b;
    b.bits = 32;
    b.width = 2;
    b.height = 1;
    b.pixels = {1, 2, 3, 200, 4, 5, 6, 0};
    const TFenkFrameList fList = Load(Make(b));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.BitCount(), 24);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0x030201u);
    ASSERT_TRUE(f.Image.HasAlpha());
    EXPECT_EQ(f.Image.Alpha()->GetPixel(0, 0), 200u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(1, 0), 0u);
    // A fourth byte that is 0 everywhere is padding, not alpha.
    b.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_FALSE(Load(Make(b))[0].Image.HasAlpha());
}

TEST(Bmp, DamagedFilesAreErrors) {
    TBmp good;
    good.pixels = std::vector<std::uint8_t>(16, 1);
    const std::vector<std::uint8_t> bytes = Make(good);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        TMemoryStream cut(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
        TFenkFrameList list;
        EXPECT_THROW(list.LoadFromNamedStream("a.bmp", cut, false, false), EVeskError) << n;
    }
    struct TCase {
        const char* what;
        TBmp bmp;
    };
    TBmp bits2 = good;
    bits2.bits = 2;
    TBmp zero = good;
    zero.width = 0;
    TBmp huge = good;
    huge.width = 30000;
    huge.height = 30000;
    TBmp jpeg = good;
    jpeg.compression = 4;
    TBmp rleWrongBits = good;
    rleWrongBits.compression = 1;
    TBmp endless;
    endless.bits = 8;
    endless.compression = 1;
    endless.palette = {0};
    endless.pixels = {2, 1};  // runs on without an end marker
    for (const TCase& c : {TCase{"bit count 2", bits2}, TCase{"zero width", zero}, TCase{"huge", huge},
                           TCase{"JPEG compression", jpeg}, TCase{"RLE8 on 24 bits", rleWrongBits},
                           TCase{"RLE without end", endless}}) {
        EXPECT_THROW(Load(Make(c.bmp)), EVeskError) << c.what;
    }
}

TEST(Bmp, UnknownExtensionsLeaveTheListEmpty) {
    TBmp good;
    good.pixels = std::vector<std::uint8_t>(16, 1);
    TFenkFrameList list;
    list.AddFrame();
    TMemoryStream s(Make(good));
    list.LoadFromNamedStream("pic.gif", s, false, false);
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
