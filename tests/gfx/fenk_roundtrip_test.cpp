// Layered images written and read back in every combination of the
// writer's options.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"

using namespace vesk;

namespace {

std::uint32_t Mix(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^
                      static_cast<std::uint32_t>(seed) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// A picture with flat areas (so blocks repeat) and noise (so they do not
// all repeat); JPEG pictures get smooth gradients, which it keeps close.
void Paint(TDIBSurface& b, int seed, bool smooth) {
    if (smooth) {
        b.SetGreyPalette();
    } else {
        for (int i = 0; i < b.PaletteSize(); ++i) b.SetPaletteEntry(i, Mix(i, 0, 1) & 0xFFFFFF);
    }
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            std::uint32_t v;
            if (smooth) {
                const std::uint32_t r = 40 + x * 4, g = 60 + y * 5, bl = 200 - x * 2 + seed;
                v = b.NativeOf(static_cast<std::int32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((bl & 0xFF) << 16)));
            } else if (x < 16 && y < 8) {
                v = 5;  // a flat corner: its blocks repeat in every frame
            } else {
                v = Mix(x, y, seed);
            }
            b.SetPixel(x, y, v & (b.BitCount() == 32 ? 0x00FFFFFFu : 0xFFFFFFFFu));
        }
    }
}

void PaintAlpha(TDIBSurface& b, int seed) {
    TDIBSurface& a = b.CreateAlpha(255);
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) a.SetPixel(x, y, (x + y + seed) % 3 == 0 ? 0 : Mix(x, y, seed + 7) & 0xFF);
}

void ExpectSamePixels(const TDIBSurface& a, const TDIBSurface& b, int tolerance, const std::string& what) {
    ASSERT_EQ(a.Width(), b.Width()) << what;
    ASSERT_EQ(a.Height(), b.Height()) << what;
    ASSERT_EQ(a.BitCount(), b.BitCount()) << what;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (tolerance == 0) {
                ASSERT_EQ(a.ColorOf(a.GetPixel(x, y)), b.ColorOf(b.GetPixel(x, y))) << what << " at " << x << "," << y;
                continue;
            }
            const auto ca = static_cast<std::uint32_t>(a.ColorOf(a.GetPixel(x, y)));
            const auto cb = static_cast<std::uint32_t>(b.ColorOf(b.GetPixel(x, y)));
            for (int shift = 0; shift < 24; shift += 8) {
                const int d = std::abs(static_cast<int>((ca >> shift) & 0xFF) - static_cast<int>((cb >> shift) & 0xFF));
                ASSERT_LE(d, tolerance) << what << " at " << x << "," << y;
            }
        }
    }
    ASSERT_EQ(a.HasAlpha(), b.HasAlpha()) << what;
    if (a.HasAlpha()) ExpectSamePixels(*a.Alpha(), *b.Alpha(), 0, what + " alpha");
}

struct TCase {
    int compression;
    bool alpha;
    bool scrambled;
    bool blocks;
    int frames;
    bool layers;
    int bits;
};

std::string Describe(const TCase& c);
void PrintTo(const TCase& c, std::ostream* os) { *os << Describe(c); }

std::string Describe(const TCase& c) {
    return "compression " + std::to_string(c.compression) + (c.alpha ? " alpha" : "") +
           (c.scrambled ? " scrambled" : "") + (c.blocks ? " blocks" : "") + " frames " + std::to_string(c.frames) +
           (c.layers ? " layers" : "") + " bits " + std::to_string(c.bits);
}

TFenkFrameList MakeList(const TCase& c) {
    TFenkFrameList list(c.scrambled ? 0x1234567 : 0);
    list.BackColor = 0x00336699;
    list.FirstLayerOpaque = c.layers;
    const bool smooth = c.compression == FK_JPEG;
    for (int i = 0; i < c.frames; ++i) {
        TFenkFrame& f = list.AddFrame();
        f.Name = "frame" + std::to_string(i);
        f.Delay = 40 + i;
        f.Image.SetSize(37, 21, c.bits);
        // Later frames repeat frame 0 except for a few rows, as animations do.
        Paint(f.Image, i == 0 ? 0 : 1, smooth);
        if (i > 0) {
            for (int y = 10; y < 21; ++y)
                for (int x = 0; x < 37; ++x) f.Image.SetPixel(x, y, list[0].Image.GetPixel(x, y));
        }
        f.SetTransColor(f.Image.ColorOf(f.Image.GetPixel(3, 3)));
        f.DrawRects = {{1, 2, 30, 20}};
        if (i == 1) f.AuxRects = {{0, 0, 5, 5}, {6, 6, 9, 9}};
        if (c.alpha && !c.layers) PaintAlpha(f.Image, i);
        if (!c.layers) continue;
        auto base = std::make_unique<TFenkLayer>();
        base->Name = "base";
        base->Bitmap = f.Image.Clone();
        base->Bitmap->DropAlpha();
        auto top = std::make_unique<TFenkLayer>();
        top->Name = "top";
        top->Bitmap->SetSize(37, 21, c.bits);
        Paint(*top->Bitmap, 9 + i, smooth);
        top->Opacity = 200;
        top->TransValue = static_cast<std::int32_t>(top->Bitmap->GetPixel(0, 0));
        if (c.alpha) {
            PaintAlpha(*top->Bitmap, i);
            top->UseAlpha = true;
            top->TransValue = -1;
        }
        auto hidden = std::make_unique<TFenkLayer>();
        hidden->Name = "hidden";
        hidden->Visible = false;
        hidden->Bitmap->SetSize(37, 21, c.bits);
        hidden->Bitmap->CopyPalette(f.Image);  // layers share their frame's palette
        f.Layers.push_back(std::move(base));
        f.Layers.push_back(std::move(top));
        f.Layers.push_back(std::move(hidden));
    }
    return list;
}

TMemoryStream Save(TFenkFrameList& list, const TCase& c) {
    TMemoryStream out;
    TFenkSaveOptions o;
    o.Compression = c.compression;
    o.Quality = 95;
    o.BlockWidth = c.blocks ? 8 : 0;
    o.BlockHeight = c.blocks ? 4 : 0;
    list.SaveToStream(out, o);
    out.SetPosition(0);
    return out;
}

void ExpectSameFrameFields(const TFenkFrame& a, const TFenkFrame& b, const std::string& what) {
    EXPECT_EQ(a.Name, b.Name) << what;
    EXPECT_EQ(a.Delay, b.Delay) << what;
    EXPECT_EQ(a.TransValue, b.TransValue) << what;
    EXPECT_EQ(a.TransColor, b.TransColor) << what;
    EXPECT_EQ(a.DrawRects, b.DrawRects) << what;
    EXPECT_EQ(a.AuxRects, b.AuxRects) << what;
}

class FenkRoundTrip : public ::testing::TestWithParam<TCase> {};

TEST_P(FenkRoundTrip, ReadsBackWhatWasWritten) {
    const TCase c = GetParam();
    const std::string what = Describe(c);
    TFenkFrameList original = MakeList(c);
    TMemoryStream file = Save(original, c);

    // Stored pixels are exact; JPEG colour is close and its alpha exact.
    // Scrambling forces stored data, so JPEG never applies then.
    const int tolerance = c.compression == FK_JPEG && !c.scrambled ? 16 : 0;
    TFenkFrameList read(original.IdCode);
    read.LoadFromStream(file, false, true);
    EXPECT_EQ(read.Version, 106);
    EXPECT_EQ(read.BackColor, original.BackColor);
    EXPECT_EQ(read.FirstLayerOpaque, original.FirstLayerOpaque);
    ASSERT_EQ(read.Count(), c.frames) << what;
    for (int i = 0; i < c.frames; ++i) {
        const std::string at = what + " frame " + std::to_string(i);
        ExpectSameFrameFields(original[i], read[i], at);
        if (!c.layers) {
            ExpectSamePixels(original[i].Image, read[i].Image, tolerance, at);
            ASSERT_EQ(read[i].Layers.size(), 1u) << at;
            EXPECT_EQ(read[i].Layers[0]->Name, "Layer");
            continue;
        }
        ASSERT_EQ(read[i].Layers.size(), 3u) << at;
        for (std::size_t l = 0; l < 3; ++l) {
            const TFenkLayer& a = *original[i].Layers[l];
            const TFenkLayer& b = *read[i].Layers[l];
            EXPECT_EQ(a.Name, b.Name) << at;
            EXPECT_EQ(a.Visible, b.Visible) << at;
            EXPECT_EQ(a.TransValue, b.TransValue) << at;
            EXPECT_EQ(a.Opacity, b.Opacity) << at;
            EXPECT_EQ(a.UseAlpha, b.UseAlpha) << at;
            ExpectSamePixels(*a.Bitmap, *b.Bitmap, tolerance, at + " layer " + std::to_string(l));
        }
    }

    // Written again and read again, the composites do not change: the
    // writer keeps everything the reader composes from.
    TMemoryStream again = Save(read, c);
    TFenkFrameList reread(original.IdCode);
    reread.LoadFromStream(again, false, false);
    ASSERT_EQ(reread.Count(), c.frames);
    for (int i = 0; i < c.frames; ++i) {
        EXPECT_TRUE(reread[i].Layers.empty()) << "layers are dropped unless kept";
        ExpectSamePixels(read[i].Image, reread[i].Image, tolerance * 2, what + " reread " + std::to_string(i));
    }
}

std::vector<TCase> AllCases() {
    std::vector<TCase> cases;
    for (int compression : {FK_ZLIB, FK_STORED, FK_JPEG})
        for (bool alpha : {false, true})
            for (bool scrambled : {false, true})
                for (bool blocks : {false, true})
                    for (int frames : {1, 3})
                        for (bool layers : {false, true}) cases.push_back({compression, alpha, scrambled, blocks, frames, layers, 32});
    // Every bit count through the lossless paths, blocks and scrambling on.
    for (int bits : {1, 4, 8, 15, 16, 24})
        for (bool blocks : {false, true}) cases.push_back({FK_ZLIB, true, true, blocks, 2, true, bits});
    for (int bits : {8, 16, 24}) cases.push_back({FK_JPEG, true, false, true, 2, false, bits});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllOptions, FenkRoundTrip, ::testing::ValuesIn(AllCases()));

TEST(FenkWrite, HeaderAndFirstFrameBytesFollowTheFormat) {
    TFenkFrameList list(0);
    list.BackColor = 0x00010203;
    TFenkFrame& f = list.AddFrame();  // TransColor -1: written as no key
    f.Image.SetSize(16, 4, 8);
    f.Image.Fill(9);
    TFenkSaveOptions o;
    o.Compression = FK_STORED;
    o.Quality = 55;
    o.BlockWidth = 8;
    o.BlockHeight = 4;
    TMemoryStream out;
    list.SaveToStream(out, o);
    const std::vector<std::uint8_t>& b = out.Bytes();
    auto i32 = [&](std::size_t at) {
        std::int32_t v;
        std::memcpy(&v, b.data() + at, 4);
        return v;
    };
    ASSERT_GT(b.size(), 200u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 7), "Fenk106");
    EXPECT_EQ(i32(7), 40);
    const std::size_t h = 11;
    EXPECT_EQ(i32(h + 0), 106);
    EXPECT_EQ(i32(h + 4), 16);
    EXPECT_EQ(i32(h + 8), 4);
    EXPECT_EQ(i32(h + 12), 8);
    EXPECT_EQ(i32(h + 16), 1);
    EXPECT_EQ(b[h + 20], 1);
    EXPECT_EQ(b[h + 21], 0);  // not scrambled
    EXPECT_EQ(b[h + 22], 1);  // stored
    EXPECT_EQ(i32(h + 24), 0x00010203);
    EXPECT_EQ(i32(h + 28), 8);
    EXPECT_EQ(i32(h + 32), 4);
    EXPECT_EQ(b[h + 37], 55);
    // Frame: empty name, key -1, delay 100, reserved 1 + 4, one layer, 16x4x8.
    const std::size_t fr = h + 40;
    EXPECT_EQ(i32(fr), 0);
    EXPECT_EQ(i32(fr + 4), -1);
    EXPECT_EQ(i32(fr + 8), 100);
    EXPECT_EQ(i32(fr + 17), 1);
    EXPECT_EQ(i32(fr + 21), 16);
    EXPECT_EQ(i32(fr + 29), 8);
    // 256 palette entries, then the layer: 0, 0, visible, key -1, opacity
    // 255, UseAlpha 0, "Layer".
    const std::size_t ly = fr + 33 + 1024;
    EXPECT_EQ(i32(ly), 0);
    EXPECT_EQ(i32(ly + 4), 0);
    EXPECT_EQ(b[ly + 8], 1);
    EXPECT_EQ(i32(ly + 9), -1);
    EXPECT_EQ(i32(ly + 13), 255);
    EXPECT_EQ(b[ly + 17], 0);
    EXPECT_EQ(i32(ly + 18), 5);
    EXPECT_EQ(std::string(b.begin() + ly + 22, b.begin() + ly + 27), "Layer");
    // Colour data: two 8x4 blocks, the second the same as the first, so the
    // table is (-1, 0), (-2, 0) and only block 0's 4 rows of 8 bytes follow.
    const std::size_t data = ly + 27;
    EXPECT_EQ(i32(data), 16 + 32);
    EXPECT_EQ(i32(data + 4), -1);
    EXPECT_EQ(i32(data + 12), -2);
    EXPECT_EQ(i32(data + 16), 0);
    EXPECT_EQ(b[data + 20], 9);
    EXPECT_EQ(i32(data + 52), 0);  // no alpha data
    EXPECT_EQ(i32(data + 56), 0);  // no DrawRects
    EXPECT_EQ(i32(data + 60), 0);  // no AuxRects
    EXPECT_EQ(b.size(), data + 64);
}

TEST(FenkWrite, ScrambledWithoutIdentificationCodeFails) {
    TFenkFrameList list(0);
    list.AddFrame().Image.SetSize(2, 2, 32);
    TMemoryStream out;
    TFenkSaveOptions o;
    o.Scrambled = true;
    try {
        list.SaveToStream(out, o);
        FAIL() << "no error";
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("識別コードを設定してください"));
    }
}

TEST(FenkWrite, ScrambledRowsFollowThePermutationAndForceStoredData) {
    // Seed 3, 4 rows: states 3, 18, 93, 468; pool picks 3 mod 4 = 3,
    // 18 mod 3 = 0, 93 mod 2 = 1 (of 1, 2: 2), then 1. Stored rows are
    // image rows 3, 0, 2, 1.
    TFenkFrameList list(3);
    TFenkFrame& f = list.AddFrame();
    f.Image.SetSize(4, 4, 8);
    for (int y = 0; y < 4; ++y) f.Image.SetPixel(0, y, 10 + y);
    TMemoryStream out;
    list.SaveToStream(out, FK_ZLIB, 70);
    const std::vector<std::uint8_t>& b = out.Bytes();
    EXPECT_EQ(b[11 + 21], 1);
    EXPECT_EQ(b[11 + 22], FK_STORED);
    const std::size_t data = 11 + 40 + 33 + 1024 + 27 + 4;
    EXPECT_EQ(b[data], 13);
    EXPECT_EQ(b[data + 4], 10);
    EXPECT_EQ(b[data + 8], 12);
    EXPECT_EQ(b[data + 12], 11);

    TFenkFrameList wrongCode(4);
    out.SetPosition(0);
    wrongCode.LoadFromStream(out, false, false);
    EXPECT_NE(wrongCode[0].Image.GetPixel(0, 0), 10u) << "a wrong code decodes to shuffled rows";
    TFenkFrameList rightCode(3);
    out.SetPosition(0);
    rightCode.LoadFromStream(out, false, false);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(rightCode[0].Image.GetPixel(0, y), 10u + y);
}

TEST(FenkWrite, FramesRepeatingAnEarlierFrameStoreOnlyReferences) {
    TFenkFrameList list(0);
    for (int i = 0; i < 2; ++i) {
        TFenkFrame& f = list.AddFrame();
        f.Image.SetSize(16, 8, 32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) f.Image.SetPixel(x, y, static_cast<std::uint32_t>(x * 16 + y));
    }
    TFenkSaveOptions o;
    o.Compression = FK_STORED;
    o.BlockWidth = 8;
    o.BlockHeight = 8;
    TMemoryStream out;
    list.SaveToStream(out, o);
    // Frame 1's colour data is just the table: both blocks from frame 0,
    // layer 0.
    const std::vector<std::uint8_t>& b = out.Bytes();
    const std::size_t frame1 = 11 + 40 + (33 + 27 + 4 + 16 + 2 * 8 * 8 * 4 + 4 + 8);
    const std::size_t data = frame1 + 33 + 27;
    std::int32_t v[5];
    std::memcpy(v, b.data() + data, sizeof v);
    EXPECT_EQ(v[0], 16);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[3], 0);
    EXPECT_EQ(v[4], 0);
    out.SetPosition(0);
    TFenkFrameList read(0);
    read.LoadFromStream(out, false, false);
    ExpectSamePixels(list[1].Image, read[1].Image, 0, "referenced frame");
}

}  // namespace
