// PNG files written here with libpng, read as one-frame layered images.

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"
#include "gfx/pngwrite.h"

using namespace vesk;

namespace {

struct TPngSpec {
    int width = 2, height = 2;
    int colourType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    std::vector<std::vector<std::uint8_t>> rows;  // packed as the PNG stores them
    std::vector<png_color> palette;
    std::vector<std::uint8_t> transAlpha;  // tRNS of paletted images
    bool transColour = false;
    png_color_16 trans{};
};

void Append(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

std::vector<std::uint8_t> MakePng(const TPngSpec& s) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng refused the test image";
        return {};
    }
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height), s.depth,
                 s.colourType, s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.transAlpha.empty())
        png_set_tRNS(png, info, s.transAlpha.data(), static_cast<int>(s.transAlpha.size()), nullptr);
    if (s.transColour) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&s.trans));
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& r : s.rows) rows.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

TFenkFrameList Load(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream s(bytes);
    TFenkFrameList list;
    list.LoadFromNamedStream("pic.PNG", s, false, false);
    return list;
}

TEST(Png, ColourImagesBecome24BitFrames) {
    TPngSpec s;
    s.rows = {{0x11, 0x22, 0x33, 0x44, 0x55, 0x66}, {0xFF, 0, 0, 0, 0, 0xFF}};
    TFenkFrameList list = Load(MakePng(s));
    ASSERT_EQ(list.Count(), 1);
    const TFenkFrame& f = list[0];
    EXPECT_EQ(f.Image.BitCount(), 24);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0x112233u);  // native 0xRRGGBB
    EXPECT_EQ(f.Image.GetPixel(1, 0), 0x445566u);
    EXPECT_EQ(f.Image.GetPixel(0, 1), 0xFF0000u);
    EXPECT_EQ(f.Image.GetPixel(1, 1), 0x0000FFu);
    EXPECT_FALSE(f.Image.HasAlpha());
    EXPECT_EQ(f.TransValue, -1);
    EXPECT_EQ(f.TransColor, -1);
}

TEST(Png, AlphaChannelBecomesTheCompanion) {
    TPngSpec s;
    s.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    s.rows = {{1, 2, 3, 0, 4, 5, 6, 255}, {7, 8, 9, 128, 10, 11, 12, 1}};
    s.interlaced = true;
    const TFenkFrameList fList = Load(MakePng(s));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.GetPixel(1, 0), 0x040506u);
    EXPECT_EQ(f.Image.GetPixel(0, 1), 0x070809u);
    ASSERT_TRUE(f.Image.HasAlpha());
    EXPECT_EQ(f.Image.Alpha()->GetPixel(0, 0), 0u);  // 255 is opaque
    EXPECT_EQ(f.Image.Alpha()->GetPixel(1, 0), 255u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(0, 1), 128u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(1, 1), 1u);
}

TEST(Png, TransparentColourBecomesTheKey) {
    // 16-bit channels keep their high byte; the key likewise.
    TPngSpec s;
    s.depth = 16;
    s.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    s.transColour = true;
    s.trans.red = 0x1234;
    s.trans.green = 0x5678;
    s.trans.blue = 0x9ABC;
    const TFenkFrameList fList = Load(MakePng(s));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0x12569Au);
    EXPECT_EQ(f.TransValue, 0x12569A);
    EXPECT_EQ(f.TransColor, 0x009A5612);
    EXPECT_FALSE(f.Image.HasAlpha());
}

TEST(Png, PalettedImagesKeepIndexesAndTakeOneTransparentIndexAsKey) {
    TPngSpec s;
    s.colourType = PNG_COLOR_TYPE_PALETTE;
    s.depth = 4;
    s.width = 3;
    s.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
    s.transAlpha = {255, 255, 0};
    s.rows = {{0x12, 0x00}, {0x21, 0x10}};  // 4-bit indexes: 1 2 0 / 2 1 1
    s.height = 2;
    const TFenkFrameList fList = Load(MakePng(s));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.BitCount(), 8);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 1u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 2u);
    EXPECT_EQ(f.Image.GetPixel(2, 1), 1u);
    EXPECT_EQ(f.Image.PaletteEntry(1), 0xFF0000u);
    EXPECT_EQ(f.TransValue, 2);
    EXPECT_EQ(f.TransColor, 0x0000FF00);
    EXPECT_FALSE(f.Image.HasAlpha());

    // Partial transparency is no single key: it becomes alpha.
    s.transAlpha = {255, 100};
    const TFenkFrameList gList = Load(MakePng(s));
    const TFenkFrame& g = gList[0];
    EXPECT_EQ(g.TransValue, -1);
    ASSERT_TRUE(g.Image.HasAlpha());
    EXPECT_EQ(g.Image.Alpha()->GetPixel(0, 0), 100u);  // index 1
    EXPECT_EQ(g.Image.Alpha()->GetPixel(1, 0), 255u);  // index 2: past the table, opaque
}

TEST(Png, GreyImagesBecomeGreyPalettes) {
    TPngSpec s;
    s.colourType = PNG_COLOR_TYPE_GRAY;
    s.depth = 2;
    s.rows = {{0xC0}, {0x40}};  // levels 3 0 / 1 0 of 0..3
    s.transColour = true;
    s.trans.gray = 1;
    const TFenkFrameList fList = Load(MakePng(s));
    const TFenkFrame& f = fList[0];
    EXPECT_EQ(f.Image.GetPixel(0, 0), 255u);
    EXPECT_EQ(f.Image.GetPixel(0, 1), 85u);
    EXPECT_EQ(f.Image.ColorOf(85), 0x00555555);
    EXPECT_EQ(f.TransValue, 85);

    TPngSpec ga;
    ga.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    ga.rows = {{10, 20, 30, 40}, {50, 60, 70, 80}};
    const TFenkFrameList gList = Load(MakePng(ga));
    const TFenkFrame& g = gList[0];
    EXPECT_EQ(g.Image.GetPixel(1, 1), 70u);
    EXPECT_EQ(g.Image.Alpha()->GetPixel(1, 1), 80u);
}

TEST(Png, DamagedFilesAreErrors) {
    TPngSpec s;
    s.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    const std::vector<std::uint8_t> good = MakePng(s);
    for (std::size_t n = 0; n < good.size(); ++n) {
        TMemoryStream cut(std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
        TFenkFrameList list;
        EXPECT_THROW(list.LoadFromNamedStream("a.png", cut, false, false), EVeskError) << n;
        EXPECT_EQ(list.Count(), 0);
    }
    std::vector<std::uint8_t> bad = good;
    bad[bad.size() - 20] ^= 0xFF;  // inside the image data: CRC mismatch
    EXPECT_THROW(Load(bad), EVeskError);
    // A header claiming 100000 x 100000 pixels is refused before any
    // allocation (the IHDR CRC is recomputed so only the size is wrong).
    std::vector<std::uint8_t> huge = good;
    const std::uint8_t side[4] = {0x00, 0x01, 0x86, 0xA0};
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    const uLong crc = crc32(0, huge.data() + 12, 17);
    for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    EXPECT_THROW(Load(huge), EVeskError);
}

TEST(Png, WrittenPngsReadBack) {
    TDIBSurface image;
    image.SetSize(3, 2, 16);
    image.SetPixel(0, 0, 0xF800);
    image.SetPixel(2, 1, 0x07E0);
    image.CreateAlpha(255).SetPixel(1, 0, 9);
    TMemoryStream out;
    SavePng(out, image);
    out.SetPosition(0);
    TFenkFrameList list;
    list.LoadFromNamedStream("x.png", out, false, false);
    EXPECT_EQ(list[0].Image.GetPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(list[0].Image.GetPixel(2, 1), 0x00FF00u);
    EXPECT_EQ(list[0].Image.Alpha()->GetPixel(1, 0), 9u);
}

}  // namespace
