// Golden frames: a message page on the installed IPA fonts with Japanese
// and ASCII text, ruby, a border, a shadow and a link under the mouse,
// compared pixel for pixel with the PNG kept in tests/text/golden/.
// scripts/regen-text-goldens.sh writes the PNGs again (it sets
// VESK_REGEN_TEXT_GOLDENS); a test run never does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/stream.h"
#include "gfx/dibsfc.h"
#include "gfx/fenks.h"
#include "gfx/pngfile.h"
#include "gfx/pngwrite.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::TPageFixture;

namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(VESK_SOURCE_DIR) + "/tests/text/golden/" + name + ".png";
}

// The frame as a bitmap of its own depth, which the PNG writer and the
// colour conversions understand.
std::unique_ptr<TDIBSurface> AsBitmap(const TDIBX& frame) {
    auto image = std::make_unique<TDIBSurface>();
    image->SetSize(frame.Width(), frame.Height(), frame.BitCount());
    const std::size_t rowBytes = std::min<std::size_t>(std::size_t(image->RowBytes()), std::size_t(frame.RowBytes()));
    for (int y = 0; y < frame.Height(); ++y) std::memcpy(image->ScanLine(y), frame.ScanLine(y), rowBytes);
    return image;
}

void WriteGolden(const TDIBX& frame, const std::string& path) {
    TMemoryStream png;
    SavePng(png, *AsBitmap(frame));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.Data()), png.Size());
}

// Compares the frame with the golden PNG; writes it instead when asked to.
void ExpectGolden(const TDIBX& frame, const std::string& name) {
    const std::string path = GoldenPath(name);
    if (std::getenv("VESK_REGEN_TEXT_GOLDENS")) {
        WriteGolden(frame, path);
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path << " (scripts/regen-text-goldens.sh writes it)";
    TMemoryStream s(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    TFenkFrameList list;
    LoadPngFrame(s, list);
    ASSERT_EQ(list.Count(), 1);
    const TDIBSurface& golden = list[0].Image;
    ASSERT_EQ(golden.Width(), frame.Width());
    ASSERT_EQ(golden.Height(), frame.Height());
    const auto image = AsBitmap(frame);
    int differing = 0;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            differing += golden.ColorOf(golden.GetPixel(x, y)) != image->ColorOf(image->GetPixel(x, y));
    EXPECT_EQ(differing, 0) << name << ": pixels that differ from " << path;
}

// The page fully revealed, the mouse over its link, composed on a dark
// background at the given depth.
std::unique_ptr<TDIBX> MessageFrame(int bitCount) {
    TPageFixture f;
    TQsWord& e = f.engine;
    e.DefaultSize = 24;
    e.WrapWidth = 340;
    e.PageHeight = 130;
    e.OriginX = 10;
    e.OriginY = 8;
    e.LineSpacing = 6;
    e.DefaultColor = 0xFFFFFF;
    e.LinkColor = 0xFFC040;
    e.LinkHoverColor = 0x40FF40;
    e.SpeedFactor = -1;
    e.FadeTime = 0;
    f.Lay("<FONT BORDER=2 BCOLOR=#803020>物語の<RUBY VALUE=かんじ>漢字</RUBY>とASCII</FONT><BR>"
          "<FONT SHADOW=3 SCOLOR=#000000 COLOR=#FFE080>影付き shadow</FONT><BR>"
          "<A HREF=next>次のページ link</A>へ進む。");
    TWdPage& page = f.Page();
    page.Draw(true);
    page.Reveal(16);
    page.Reveal(16);
    EXPECT_EQ(page.RowCount(), 3);
    const TWdGlyph& linked = *page.Row(2).Child(1);
    page.SetHoverPoint(linked.X() + linked.Width() / 2, linked.Y() + linked.Height() / 2);
    EXPECT_EQ(page.HoverLink(), "next");

    auto frame = std::make_unique<TDIBX>(360, 150, bitCount);
    frame->Fill(TPixel(frame->ColorToPixel(0x806040)));
    page.Compose(*frame);
    return frame;
}

TEST(TextGolden, MessagePage32) { ExpectGolden(*MessageFrame(32), "message_page_32"); }
TEST(TextGolden, MessagePage16) { ExpectGolden(*MessageFrame(16), "message_page_16"); }

}  // namespace
