// Surfaces loaded from PNG and layered-image streams (made here with the
// writers): the surface takes the picture's size at its own bit count, and
// damaged data is an error that leaves the surface as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "dibx_test_util.h"
#include "gfx/dibx.h"
#include "gfx/fenks.h"
#include "gfx/pngwrite.h"

using namespace vesk;
using vesk::test::MakeSurface;
using vesk::test::Pixels;
using V = std::vector<std::uint32_t>;

namespace {

// Red, green, blue / white, grey, black as 0x00RRGGBB.
const V kColours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080, 0x000000};
// The same in 5-6-5: each channel keeps its top bits (0x80 -> 16, 32, 16).
const V kColours565{0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410, 0x0000};

void Paint(TDIBSurface& image, const V& colours) {
    image.SetSize(3, 2, 32);
    for (int i = 0; i < 6; ++i) image.SetPixel(i % 3, i / 3, colours[std::size_t(i)]);
}

std::vector<std::uint8_t> PngBytes() {
    TDIBSurface image;
    Paint(image, kColours);
    TMemoryStream out;
    SavePng(out, image);
    return out.Bytes();
}

// With a second frame of other colours: a surface shows the first only.
std::vector<std::uint8_t> FenkBytes(std::int32_t idCode, int compression, bool twoFrames = true) {
    TFenkFrameList list(idCode);
    Paint(list.AddFrame().Image, kColours);
    if (twoFrames) Paint(list.AddFrame().Image, V(6, 0x123456));
    TMemoryStream out;
    TFenkSaveOptions o;
    o.Compression = compression;
    list.SaveToStream(out, o);
    return out.Bytes();
}

void Load(TCustomDIBX& s, const std::vector<std::uint8_t>& bytes, std::int32_t idCode = 0) {
    TMemoryStream in(bytes);
    in.SetPosition(in.Size());  // the loader rewinds by itself
    s.LoadFromStream(&in, idCode);
}

}  // namespace

TEST(DibxStream, PngAndFenkTakeTheirSizeAtTheSurfaceBitCount) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::int32_t idCode;
    };
    const Case cases[] = {
        {"png", PngBytes(), 0},
        {"fenk zlib", FenkBytes(0, FK_ZLIB), 0},
        {"fenk stored", FenkBytes(0, FK_STORED), 0},
        {"fenk scrambled", FenkBytes(0x2468ACE, FK_ZLIB), 0x2468ACE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDIBX s32(1, 1, 32), s16(5, 5, 16);
        Load(s32, c.bytes, c.idCode);
        Load(s16, c.bytes, c.idCode);
        EXPECT_EQ(s32.BitCount(), 32);
        EXPECT_EQ(s16.BitCount(), 16);
        ASSERT_EQ(s32.Width(), 3);
        ASSERT_EQ(s32.Height(), 2);
        ASSERT_EQ(s16.Width(), 3);
        EXPECT_EQ(Pixels(s32), kColours);
        EXPECT_EQ(Pixels(s16), kColours565);
    }
}

TEST(DibxStream, DamagedDataIsAnErrorAndLeavesTheSurface) {
    // One frame, so that damage at the end lies in the frame a surface reads.
    const std::vector<std::uint8_t> png = PngBytes(), fenk = FenkBytes(0, FK_ZLIB, false);
    auto cut = [](std::vector<std::uint8_t> b, std::size_t keep) {
        b.resize(keep);
        return b;
    };
    auto flipTail = [](std::vector<std::uint8_t> b, std::size_t from) {
        // Damage inside the compressed pixel data, past the headers.
        for (std::size_t i = from; i < b.size(); ++i) b[i] ^= 0x5A;
        return b;
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"png cut after its header", cut(png, 40)},
        {"png with damaged image data", flipTail(png, 41)},
        {"fenk cut inside its header", cut(fenk, 30)},
        {"fenk cut inside its first frame", cut(fenk, fenk.size() / 2)},
        {"fenk with damaged pixel data", flipTail(fenk, fenk.size() - fenk.size() / 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = MakeSurface(2, 1, 32, {7, 8});
        try {
            Load(*s, c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const EVeskError& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        EXPECT_EQ(s->Width(), 2);
        EXPECT_EQ(Pixels(*s), (V{7, 8}));
    }
}
