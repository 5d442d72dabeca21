// The reader against files built by hand from the format tables: every
// version's header and field rules, and the composition of layers.

#include <gtest/gtest.h>

#include "common/stream.h"
#include "gfx/fenks.h"
#include "tests/gfx/fenk_fixture.h"

using namespace vesk;
using vesk::testing::PaddedRows;
using vesk::testing::TFenkBytes;
using vesk::testing::Zlib;

namespace {

TFenkFrameList Read(const TFenkBytes& b, bool keepLayers = false, std::int32_t idCode = 0, bool firstOnly = false) {
    TMemoryStream s(b.bytes);
    TFenkFrameList list(idCode);
    list.LoadFromStream(s, firstOnly, keepLayers);
    return list;
}

// Palette: entry 0 black, 1 white, 2 red, the rest grey levels.
TFenkBytes& Palette(TFenkBytes& b) {
    b.I32(0x000000).I32(0xFFFFFF).I32(0xFF0000);
    for (int i = 3; i < 256; ++i) b.I32(i | i << 8 | i << 16);
    return b;
}

TEST(FenkRead, VersionZeroHasNoSignatureAndStartsAtTheFirstByte) {
    TFenkBytes b;
    b.I32(1).U8(0);  // frame count, one skipped byte
    b.FrameHead("a", -1, 50, 1, 3, 2, 8);
    Palette(b);
    b.LayerHead(0, true, -1, 255, false, "L");
    b.Data(Zlib(PaddedRows({{1, 2, 3}, {4, 5, 6}})));  // no alpha data before version 100
    TFenkFrameList list = Read(b);
    EXPECT_EQ(list.Version, 0);
    ASSERT_EQ(list.Count(), 1);
    const TFenkFrame& f = list[0];
    EXPECT_EQ(f.Name, "a");
    EXPECT_EQ(f.Delay, 50);
    EXPECT_EQ(f.TransColor, -1);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 1u);
    EXPECT_EQ(f.Image.GetPixel(2, 0), 3u);
    EXPECT_EQ(f.Image.GetPixel(1, 1), 5u);
    EXPECT_FALSE(f.Image.HasAlpha());
    EXPECT_TRUE(f.Layers.empty());
}

TEST(FenkRead, Version100HasAlphaDataButNoUseAlphaFlag) {
    TFenkBytes b;
    b.Raw("Fenk100").I32(1).U8(0);
    b.FrameHead("", 2, 100, 1, 2, 1, 8);  // frame key: index 2, red
    Palette(b);
    b.LayerHead(100, true, 2, 255, false);
    b.Data(Zlib(PaddedRows({{2, 1}})));
    b.Data(Zlib(PaddedRows({{255, 0}})));
    TFenkFrameList list = Read(b, true);
    EXPECT_EQ(list.Version, 100);
    const TFenkFrame& f = list[0];
    EXPECT_EQ(f.TransColor, 0x000000FF);  // palette entry 2 as a platform colour
    // Without UseAlpha the alpha data is kept but the key draws: the key
    // pixel shows the canvas (black, index 0; versions before 102 have no
    // BackColor).
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 1u);
    EXPECT_FALSE(f.Image.HasAlpha());
    ASSERT_EQ(f.Layers.size(), 1u);
    EXPECT_TRUE(f.Layers[0]->Bitmap->HasAlpha());
    EXPECT_EQ(f.Layers[0]->TransValue, 2);
}

TEST(FenkRead, Version102ReadsBackColourAndUseAlpha) {
    TFenkBytes b;
    b.Raw("Fenk102").I32(1).U8(0).I32(0x00FFFFFF);  // white canvas
    b.FrameHead("", -1, 100, 1, 2, 1, 8);
    Palette(b);
    b.LayerHead(102, true, 2, 255, true);
    b.Data(Zlib(PaddedRows({{2, 0}})));
    b.Data({});  // no alpha data: the key stays
    TFenkFrameList list = Read(b);
    EXPECT_EQ(list.BackColor, 0x00FFFFFF);
    EXPECT_EQ(list[0].Image.GetPixel(0, 0), 1u);  // key pixel: the white canvas
    EXPECT_EQ(list[0].Image.GetPixel(1, 0), 0u);
}

TEST(FenkRead, Version103HeaderBlocksAndReferencesToEarlierFrames) {
    TFenkBytes b;
    // Header size 44: the 4 bytes past the 40 known ones are skipped.
    b.Raw("Fenk103").I32(44);
    b.I32(103).I32(4).I32(1).I32(8).I32(2).U8(1).U8(0).U8(FK_ZLIB).U8(0).I32(0).I32(2).I32(1);
    b.U8(0).U8(0).U8(0).U8(0).I32(-12345);
    // Frame 0: block 0 stored (1, 2); block 1 repeats block 0.
    b.FrameHead("f0", -1, 100, 1, 4, 1, 8);
    Palette(b);
    b.LayerHead(103, true, -1, 255, false);
    TFenkBytes d0;
    d0.I32(-1).I32(0).I32(-2).I32(0).U8(1).U8(2);
    b.Data(Zlib(d0.bytes)).Data({});
    // Frame 1 (no rectangle lists before 104): block 0 stored (7, 8), block 1
    // from frame 0, layer 0.
    b.FrameHead("f1", -1, 100, 1, 4, 1, 8);
    Palette(b);
    b.LayerHead(103, true, -1, 255, false);
    TFenkBytes d1;
    d1.I32(-1).I32(0).I32(0).I32(0).U8(7).U8(8);
    b.Data(Zlib(d1.bytes)).Data({});
    TFenkFrameList list = Read(b);
    ASSERT_EQ(list.Count(), 2);
    const std::uint32_t f0[] = {1, 2, 1, 2}, f1[] = {7, 8, 1, 2};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(list[0].Image.GetPixel(x, 0), f0[x]) << x;
        EXPECT_EQ(list[1].Image.GetPixel(x, 0), f1[x]) << x;
    }
    EXPECT_TRUE(list[1].Layers.empty()) << "layers kept for block references are dropped at the end";
}

TEST(FenkRead, ScrambledBlockTableEntriesFollowThePermutation) {
    // Seed 3 over 4 entries draws blocks 3, 0, 2, 1 (see the row test).
    // Blocks 0 and 2 are stored, 1 repeats 0 and 3 repeats 2.
    TFenkBytes b;
    b.NewHeader(106, 1, FK_STORED, 0, true, 1, 1);
    b.FrameHead("", -1, 100, 1, 4, 1, 8);
    Palette(b);
    b.LayerHead(106, true, -1, 255, false);
    TFenkBytes d;
    d.I32(-2).I32(2).I32(-1).I32(0).I32(-1).I32(0).I32(-2).I32(0).U8(5).U8(9);
    b.Data(d.bytes).Data({}).NoRects();
    TFenkFrameList list = Read(b, false, 3);
    const std::uint32_t want[] = {5, 5, 9, 9};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(list[0].Image.GetPixel(x, 0), want[x]) << x;
}

TEST(FenkRead, Version104ReadsRectangleListsAndNegativeCountsLeaveThemEmpty) {
    TFenkBytes b;
    b.NewHeader(104, 1, FK_STORED, 0);
    b.FrameHead("", -1, 100, 0, 2, 2, 32);
    b.I32(2).I32(1).I32(2).I32(3).I32(4).I32(-5).I32(-6).I32(7).I32(8);
    b.I32(-3);
    TFenkFrameList list = Read(b);
    ASSERT_EQ(list[0].DrawRects.size(), 2u);
    EXPECT_EQ(list[0].DrawRects[0], (TRect{1, 2, 3, 4}));
    EXPECT_EQ(list[0].DrawRects[1], (TRect{-5, -6, 7, 8}));
    EXPECT_TRUE(list[0].AuxRects.empty());
}

// A 32-bit frame of width n, height 1, with the given layers.
struct TLayerSpec {
    bool visible = true;
    std::int32_t key = -1;
    std::int32_t opacity = 255;
    bool useAlpha = false;
    std::vector<std::uint32_t> colour;
    std::vector<std::uint8_t> alpha;
};

TFenkBytes Frame32(int version, std::int32_t backColor, const std::vector<TLayerSpec>& layers, bool flo = false,
                   int bits = 32) {
    TFenkBytes b;
    b.NewHeader(version, 1, FK_STORED, backColor, false, 0, 0, flo);
    const int w = static_cast<int>(layers[0].colour.size());
    b.FrameHead("", -1, 100, static_cast<std::int32_t>(layers.size()), w, 1, bits);
    if (bits <= 8) Palette(b);
    for (const TLayerSpec& l : layers) {
        b.LayerHead(version, l.visible, l.key, l.opacity, l.useAlpha);
        std::vector<std::uint8_t> row;
        for (std::uint32_t v : l.colour)
            for (int i = 0; i < (bits == 15 ? 16 : bits) / 8; ++i) row.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        if (bits <= 8) row.assign(l.colour.begin(), l.colour.end());
        b.Data(PaddedRows({row}));
        b.Data(l.alpha.empty() ? std::vector<std::uint8_t>{} : PaddedRows({l.alpha}));
    }
    if (version >= 104) b.NoRects();
    return b;
}

TEST(FenkCompose, OpacityBlendsPerBitCount) {
    // Canvas: platform red 0x000000FF. Opacity 128 of blue (and white):
    // 32 bits shift by 8 per byte and clear the fourth byte; 24 and 16 bits
    // divide by 255.
    struct TRow {
        int bits;
        std::uint32_t src, expect;
    } rows[] = {
        // B = (128*255)>>8 = 127, R = (127*255)>>8 = 126.
        {32, 0xAB0000FF, 0x007E007F},
        // B = 128*255/255 = 128, R = 127*255/255 = 127.
        {24, 0x0000FF, 0x7F0080},
        // Canvas red 0xF800; blue 0x001F: R = 127*0xF800/255 = 0x7B83 & 0xF800
        // = 0x7800; B = 128*31/255 = 15.
        {16, 0x001F, 0x780F},
        // Canvas red 0x7C00: R = 127*0x7C00/255 = 0x3DC1 & 0x7C00 = 0x3C00.
        {15, 0x001F, 0x3C0F},
    };
    for (const TRow& r : rows) {
        TLayerSpec l;
        l.opacity = 128;
        l.colour = {r.src};
        TFenkFrameList list = Read(Frame32(106, 0x000000FF, {l}, false, r.bits));
        EXPECT_EQ(list[0].Image.GetPixel(0, 0), r.expect) << r.bits;
    }
}

TEST(FenkCompose, OpacityOnPalettedImagesDithersWithTheBayerMatrix) {
    // Opacity 100 is level 6: the matrix cells 0..6 show the layer, 7 of
    // every 16 pixels. Rows of a 4x4 frame (1 = layer shown):
    const int expected[4][4] = {{1, 0, 1, 0}, {0, 1, 0, 1}, {1, 0, 1, 0}, {0, 0, 0, 1}};
    TFenkBytes b;
    b.NewHeader(106, 1, FK_STORED, 0);
    b.FrameHead("", -1, 100, 1, 4, 4, 8);
    Palette(b);
    b.LayerHead(106, true, -1, 100, false);
    b.Data(PaddedRows({{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}})).Data({}).NoRects();
    TFenkFrameList list = Read(b);
    int shown = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(list[0].Image.GetPixel(x, y), static_cast<std::uint32_t>(expected[y][x])) << x << "," << y;
            shown += expected[y][x];
        }
    EXPECT_EQ(shown, 7);

    // Opacity 15 is level 0 (only the 0 cell), 240 is level 15 (a copy).
    for (const auto& [opacity, count] : {std::pair{15, 1}, std::pair{240, 16}, std::pair{0, 0}}) {
        TFenkBytes c;
        c.NewHeader(106, 1, FK_STORED, 0);
        c.FrameHead("", -1, 100, 1, 4, 4, 8);
        Palette(c);
        c.LayerHead(106, true, -1, opacity, false);
        c.Data(PaddedRows({{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}})).Data({}).NoRects();
        TFenkFrameList l = Read(c);
        int n = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) n += l[0].Image.GetPixel(x, y) == 1;
        EXPECT_EQ(n, count) << opacity;
    }
}

TEST(FenkCompose, InvisibleFirstLayerMakesTheAlphaLayerSecondAndAlphaDrawn) {
    TLayerSpec hidden;
    hidden.visible = false;
    hidden.colour = {0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF};
    TLayerSpec top;
    top.key = 7;  // ignored: the layer has alpha and UseAlpha
    top.useAlpha = true;
    top.colour = {0x00112233, 0x00445566, 0x00FFFFFF};
    top.alpha = {0, 255, 128};
    // Canvas black. Alpha 128 over black: (128*255)>>8 = 127 per byte.
    TFenkFrameList list = Read(Frame32(106, 0, {hidden, top}), true);
    const TFenkFrame& f = list[0];
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0u);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 0x00445566u);
    EXPECT_EQ(f.Image.GetPixel(2, 0) & 0xFFFFFF, 0x007F7F7Fu);
    ASSERT_TRUE(f.Image.HasAlpha());
    EXPECT_EQ(f.Image.Alpha()->GetPixel(0, 0), 0u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(2, 0), 128u);
    EXPECT_EQ(f.Layers[1]->TransValue, -1);
}

TEST(FenkCompose, FirstLayerWithAlphaIsCopiedAndGivesTheImageItsAlpha) {
    TLayerSpec first;
    first.useAlpha = true;
    first.colour = {0x00112233, 0x00445566};
    first.alpha = {0, 200};
    TLayerSpec second;
    second.useAlpha = true;
    second.colour = {0x00FFFFFF, 0x00FFFFFF};
    second.alpha = {255, 0};
    TFenkFrameList list = Read(Frame32(106, 0x00808080, {first, second}));
    const TFenkFrame& f = list[0];
    // The first layer is copied whole (alpha 0 keeps its colour); the
    // second is alpha-drawn; the image's alpha is the first layer's.
    EXPECT_EQ(f.Image.GetPixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(f.Image.GetPixel(1, 0), 0x00445566u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(0, 0), 0u);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(1, 0), 200u);
}

TEST(FenkCompose, KeyOfTheFirstLayerUnlessFirstLayerOpaque) {
    TLayerSpec l;
    l.key = 0x00010203;
    l.colour = {0x00010203, 0x00445566};
    // Without the flag the key pixel shows the canvas (platform 0x00332211
    // is native 0x00112233); with it (read from version 105 on) the first
    // layer is copied whole.
    TFenkFrameList keyed = Read(Frame32(106, 0x00332211, {l}, false));
    EXPECT_EQ(keyed[0].Image.GetPixel(0, 0), 0x00112233u);
    EXPECT_EQ(keyed[0].Image.GetPixel(1, 0), 0x00445566u);
    TFenkFrameList opaque = Read(Frame32(105, 0x00332211, {l}, true));
    EXPECT_TRUE(opaque.FirstLayerOpaque);
    EXPECT_EQ(opaque[0].Image.GetPixel(0, 0), 0x00010203u);
    TFenkFrameList old = Read(Frame32(104, 0x00332211, {l}, true));
    EXPECT_FALSE(old.FirstLayerOpaque) << "the flag is read only from version 105";
    EXPECT_EQ(old[0].Image.GetPixel(0, 0), 0x00112233u);
}

TEST(FenkCompose, AlphaDrawingOnPalettedImagesCopiesFromHalfUp) {
    TLayerSpec base;
    base.colour = {1, 1, 1};
    TLayerSpec top;
    top.useAlpha = true;
    top.colour = {2, 2, 2};
    top.alpha = {127, 128, 255};
    TFenkFrameList list = Read(Frame32(106, 0, {base, top}, false, 8));
    EXPECT_EQ(list[0].Image.GetPixel(0, 0), 1u);
    EXPECT_EQ(list[0].Image.GetPixel(1, 0), 2u);
    EXPECT_EQ(list[0].Image.GetPixel(2, 0), 2u);
}

TEST(FenkRead, CanvasAndKeyColoursFollowTheImageFormat) {
    // Platform blue 0x00FF0000 on 16 bits is 0x001F; a 16-bit key 0xF800 is
    // platform red.
    TFenkBytes b;
    b.NewHeader(106, 1, FK_STORED, 0x00FF0000);
    b.FrameHead("", 0xF800, 100, 0, 1, 1, 16);
    b.NoRects();
    TFenkFrameList list = Read(b);
    EXPECT_EQ(list[0].Image.GetPixel(0, 0), 0x001Fu);
    EXPECT_EQ(list[0].TransColor, 0x000000FF);
    // On 8 bits the canvas is the nearest palette entry: 0x00F0F0F0 is
    // nearest to grey 240 (index 240).
    TFenkBytes p;
    p.NewHeader(106, 1, FK_STORED, 0x00F0F0F0);
    p.FrameHead("", -1, 100, 0, 1, 1, 8);
    Palette(p);
    p.NoRects();
    EXPECT_EQ(Read(p)[0].Image.GetPixel(0, 0), 240u);
}

TEST(FenkRead, FirstFrameOnlyAndKeepLayers) {
    TFenkFrameList five(0);
    for (int i = 0; i < 5; ++i) {
        TFenkFrame& f = five.AddFrame();
        f.Image.SetSize(3, 3, 24);
        f.Image.Fill(static_cast<std::uint32_t>(i));
    }
    TMemoryStream s;
    five.SaveToStream(s, FK_ZLIB, 70);
    s.SetPosition(0);
    TFenkFrameList one(0);
    one.LoadFromStream(s, true, true);
    ASSERT_EQ(one.Count(), 1);
    EXPECT_EQ(one[0].Layers.size(), 1u);
    s.SetPosition(0);
    TFenkFrameList all(0);
    all.LoadFromStream(s, false, false);
    ASSERT_EQ(all.Count(), 5);
    EXPECT_TRUE(all[4].Layers.empty());
    EXPECT_EQ(all[4].Image.GetPixel(2, 2), 4u);
}

}  // namespace
