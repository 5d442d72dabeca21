// Damaged and hostile layered images: a clear error, never a crash, and no
// half-read list left behind.

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"
#include "tests/gfx/fenk_fixture.h"

using namespace vesk;
using vesk::testing::PaddedRows;
using vesk::testing::TFenkBytes;
using vesk::testing::Zlib;

namespace {

std::string LoadError(const std::vector<std::uint8_t>& bytes, std::int64_t memoryLimit = 0) {
    TMemoryStream s(bytes);
    TFenkFrameList list(0);
    if (memoryLimit > 0) list.MemoryLimit = memoryLimit;
    try {
        list.LoadFromStream(s, false, false);
    } catch (const EVeskError& e) {
        EXPECT_EQ(list.Count(), 0) << "a failed load leaves the list empty";
        return e.what();
    }
    return "";
}

TMemoryStream GoodFile(int compression, int blocks) {
    TFenkFrameList list(0);
    for (int i = 0; i < 2; ++i) {
        TFenkFrame& f = list.AddFrame();
        f.Image.SetSize(9, 5, 32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) f.Image.SetPixel(x, y, static_cast<std::uint32_t>(x * 20 + y * 3 + i));
        f.Image.CreateAlpha(77);
        f.DrawRects = {{0, 0, 3, 3}};
    }
    TFenkSaveOptions o;
    o.Compression = compression;
    o.BlockWidth = o.BlockHeight = blocks;
    TMemoryStream s;
    list.SaveToStream(s, o);
    return s;
}

TEST(FenkBad, EveryTruncationIsAnError) {
    for (const auto& [compression, blocks] : {std::pair{FK_ZLIB, 0}, std::pair{FK_STORED, 4}, std::pair{FK_JPEG, 2}}) {
        const std::vector<std::uint8_t> good = GoodFile(compression, blocks).Bytes();
        ASSERT_EQ(LoadError(good), "");
        for (std::size_t n = 0; n < good.size(); ++n) {
            const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_NE(LoadError(cut), "") << "compression " << compression << " cut at " << n;
        }
    }
}

// Offset of frame 0's colour data in a file of 32-bit frames from GoodFile.
constexpr std::size_t kColourData = 11 + 40 + 33 + 27 + 4;

TEST(FenkBad, DamagedZlibAndJpegData) {
    for (int compression : {FK_ZLIB, FK_JPEG}) {
        std::vector<std::uint8_t> bytes = GoodFile(compression, 0).Bytes();
        for (std::size_t i = 2; i < 40; ++i) bytes[kColourData + i] ^= 0x5A;
        const std::string error = LoadError(bytes);
        EXPECT_NE(error.find(compression == FK_ZLIB ? "zlib" : "JPEG"), std::string::npos) << error;
    }
}

TFenkBytes OneFrame(std::int32_t layers, std::int32_t w, std::int32_t h, std::int32_t bits) {
    TFenkBytes b;
    b.NewHeader(106, 1, FK_STORED, 0);
    b.FrameHead("", -1, 100, layers, w, h, bits);
    return b;
}

TEST(FenkBad, SizesCountsAndBitCounts) {
    struct TCase {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* error;
    };
    TFenkBytes manyFrames;
    manyFrames.NewHeader(106, 0x7FFFFFFF, FK_ZLIB, 0);
    TFenkBytes negativeFrames;
    negativeFrames.NewHeader(106, -1, FK_ZLIB, 0);
    TFenkBytes badVersion;
    badVersion.Raw("Fenk1x6").I32(40);
    TFenkBytes badCompression;
    badCompression.NewHeader(106, 1, 3, 0);
    TFenkBytes negativeData = OneFrame(1, 2, 2, 32);
    negativeData.LayerHead(106, true, -1, 255, false).I32(-5);
    TFenkBytes longData = OneFrame(1, 2, 2, 32);
    longData.LayerHead(106, true, -1, 255, false).I32(1 << 30).I32(0);
    TFenkBytes shortRows = OneFrame(1, 2, 2, 32);
    shortRows.LayerHead(106, true, -1, 255, false).Data({1, 2, 3, 4, 5, 6, 7, 8, 9}).Data({}).NoRects();
    TFenkBytes manyRects = OneFrame(0, 2, 2, 32);
    manyRects.I32(1 << 28);
    TCase cases[] = {
        {"frame count past the data", manyFrames.bytes, "count runs past"},
        {"negative frame count", negativeFrames.bytes, "negative count"},
        {"version not digits", badVersion.bytes, "version"},
        {"unknown compression", badCompression.bytes, "compression"},
        {"bit count 2", OneFrame(0, 2, 2, 2).NoRects().bytes, "bit count 2"},
        {"bit count 64", OneFrame(0, 2, 2, 64).NoRects().bytes, "bit count 64"},
        {"zero width", OneFrame(0, 0, 2, 32).NoRects().bytes, "size"},
        {"negative height", OneFrame(0, 2, -2, 32).NoRects().bytes, "size"},
        {"huge size", OneFrame(0, 30000, 30000, 32).NoRects().bytes, "more memory"},
        {"layer count past the data", OneFrame(0x10000000, 2, 2, 32).bytes, "count runs past"},
        {"negative data size", negativeData.bytes, "negative"},
        {"data size past the end", longData.bytes, "count runs past"},
        {"rows shorter than the image", shortRows.bytes, "ends early"},
        {"rectangle count past the data", manyRects.bytes, "count runs past"},
    };
    for (const TCase& c : cases) {
        const std::string error = LoadError(c.bytes);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
    }
}

TEST(FenkBad, MemoryLimitCoversEveryBitmapOfTheLoad) {
    // Each frame alone fits in 1 MiB; together (with their layers and
    // alpha) they do not.
    TFenkFrameList list(0);
    for (int i = 0; i < 8; ++i) {
        TFenkFrame& f = list.AddFrame();
        f.Image.SetSize(200, 200, 32);
        f.Image.CreateAlpha(1);
    }
    TMemoryStream s;
    list.SaveToStream(s, FK_ZLIB, 70);
    EXPECT_EQ(LoadError(s.Bytes()), "");
    EXPECT_NE(LoadError(s.Bytes(), 1 << 20).find("more memory"), std::string::npos);
}

// A few hundred bytes may declare many empty half-transparent layers on a
// large 1-bit frame: each costs a pass over the frame, so the pixels a load
// decodes and composes are limited as its memory is.
TEST(FenkBad, PixelLimitCoversEveryLayerOfTheLoad) {
    TFenkBytes b;
    b.NewHeader(106, 1, FK_STORED, 0);
    b.FrameHead("", -1, 100, 6, 1000, 1000, 1);
    b.I32(0).I32(0xFFFFFF);  // palette
    for (int i = 0; i < 6; ++i) b.LayerHead(106, true, -1, 128, false).Data({}).Data({});
    b.NoRects();
    const auto load = [&](std::int64_t limit) {
        TMemoryStream s(b.bytes);
        TFenkFrameList list(0);
        list.PixelLimit = limit;
        try {
            list.LoadFromStream(s, false, false);
        } catch (const EVeskError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(load(7'000'000), "");  // the frame and its six layers
    EXPECT_NE(load(6'999'999).find("more pixels"), std::string::npos);
}

TEST(FenkBad, BlockEntriesThatNameNothing) {
    struct TEntry {
        std::int32_t frame, index;
        const char* error;
    } entries[] = {
        {-2, 1, "not read yet"},     // block 1 is the block itself
        {-2, -1, "not read yet"},
        {0, 0, "does not exist"},    // frame 0 is the frame being read
        {5, 0, "does not exist"},
        {-7, 0, "does not exist"},
    };
    for (const TEntry& e : entries) {
        TFenkBytes b;
        b.NewHeader(106, 1, FK_STORED, 0, false, 1, 1);
        b.FrameHead("", -1, 100, 1, 2, 1, 8);
        for (int i = 0; i < 256; ++i) b.I32(0);
        b.LayerHead(106, true, -1, 255, false);
        TFenkBytes d;
        d.I32(-1).I32(0).I32(e.frame).I32(e.index).U8(3);
        b.Data(d.bytes).Data({}).NoRects();
        const std::string error = LoadError(b.bytes);
        EXPECT_NE(error.find(e.error), std::string::npos) << e.frame << "," << e.index << ": " << error;
    }
    // A table longer than the data, and stored blocks past the data.
    TFenkBytes b;
    b.NewHeader(106, 1, FK_ZLIB, 0, false, 1, 1);
    b.FrameHead("", -1, 100, 1, 2, 1, 32);
    b.LayerHead(106, true, -1, 255, false);
    TFenkBytes d;
    d.I32(-1).I32(0).I32(-1).I32(0).U8(1).U8(2).U8(3).U8(4);
    b.Data(Zlib(d.bytes)).Data({}).NoRects();
    EXPECT_NE(LoadError(b.bytes).find("past the image data"), std::string::npos);
}

TEST(FenkBad, JpegOfAnotherSizeIsRefused) {
    TFenkFrameList small(0);
    small.AddFrame().Image.SetSize(8, 8, 24);
    TMemoryStream s;
    small.SaveToStream(s, FK_JPEG, 70);
    std::vector<std::uint8_t> bytes = s.Bytes();
    // Frame width field: make the frame 9 wide while the JPEG stays 8.
    bytes[11 + 40 + 21] = 9;
    EXPECT_NE(LoadError(bytes).find("does not match"), std::string::npos);
}

}  // namespace
