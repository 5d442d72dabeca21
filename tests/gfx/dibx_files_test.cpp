// Surfaces saved as bitmaps and loaded back from files and streams.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "common/stream.h"
#include "dibx_test_util.h"
#include "gfx/dibx.h"

using namespace vesk;
using vesk::test::MakeSurface;
using vesk::test::Pixels;
using V = std::vector<std::uint32_t>;

namespace {
std::string TempName(const char* leaf) { return std::string(VESK_BINARY_DIR) + "/" + leaf; }
}  // namespace

TEST(DibxFiles, BitmapRoundTripKeepsTheSurfaceBitCount) {
    auto src = MakeSurface(3, 2, 32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0, 0x00FFFFFF});
    const std::string name = TempName("dibx_roundtrip.BMP");
    src->SaveToFile(name);
    TDIBX back(1, 1, 32);
    back.LoadFromFile(name);
    EXPECT_EQ(Pixels(back), Pixels(*src));

    std::ifstream in(name, std::ios::binary);
    TMemoryStream bytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    TDIBX s16(1, 1, 16);
    s16.LoadFromStream(&bytes, 0);
    EXPECT_EQ(s16.BitCount(), 16);
    ASSERT_EQ(s16.Width(), 3);
    EXPECT_EQ(s16.GetPixel(0, 0), 0xF800u);
    EXPECT_EQ(s16.GetPixel(2, 1), 0xFFFFu);
}

TEST(DibxFiles, OtherExtensionsAndUnknownStreamsChangeNothing) {
    auto s = MakeSurface(2, 1, 32, {1, 2});
    const std::string name = TempName("dibx_not_written.png");
    std::remove(name.c_str());
    s->SaveToFile(name);
    EXPECT_FALSE(std::ifstream(name).good());
    s->LoadFromFile(TempName("dibx_missing.bmp"));
    TMemoryStream junk(std::vector<std::uint8_t>{'x', 'y', 'z', 'w', 0, 0});
    s->LoadFromStream(&junk, 0);
    s->LoadFromStream(nullptr, 0);
    EXPECT_EQ(Pixels(*s), (V{1, 2}));
}
