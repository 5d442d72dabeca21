// Caption labels: measuring advances from the glyphs' widths, rendering
// only when something changed, drawing, and the saved form with its older
// versions.
#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream_io.h"
#include "text/char_code.h"
#include "text/qslabel.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::SharedGlyphCache;

namespace {

struct TLabelFixture {
    TDIBX target{200, 60, 32};
    TQsLabelList list;
    TLabelFixture() {
        list.GlyphCache = &SharedGlyphCache();
        list.Target = &target;
        target.Fill(0);
    }
    void Look(int border, int shadow, std::uint8_t style = 0) {
        TQsLabelLook look = list.Look();
        look.BorderWidth = border;
        look.ShadowWidth = shadow;
        look.Style = style;
        list.SetLook(look);
    }
    // A character's A + B + C in the list's font.
    int Plain(std::uint16_t code) {
        const TQsLabelLook& l = list.Look();
        const TFontPixel& g = SharedGlyphCache().GetGlyph(code, l.FontName, l.Style, l.FontHeight);
        return g.CharA + g.CharB + g.CharC;
    }
    int RightBearing(std::uint16_t code) {
        const TQsLabelLook& l = list.Look();
        return SharedGlyphCache().GetGlyph(code, l.FontName, l.Style, l.FontHeight).CharC;
    }
};

TEST(Labels, AdvancesAreTheGlyphWidthsPlusTheOutline) {
    struct {
        int Border, Shadow;
        std::uint8_t Style;
    } const cases[] = {{0, 0, 0}, {1, 0, 0}, {2, 3, 0}, {0, 0, 2}};
    const std::string text = Utf8ToSjis("Aj漢f");
    for (const auto& c : cases) {
        TLabelFixture f;
        f.Look(c.Border, c.Shadow, c.Style);
        TQsLabelDIB& label = f.list.Add(text);
        const int extra = 2 * c.Border + c.Shadow;
        std::vector<int> expected;
        int width = 0;
        for (std::size_t i = 0; i < text.size(); i += SjisCharLen(text, i)) {
            const std::uint16_t code = CharCodeAt(text, i);
            expected.push_back(f.Plain(code) + extra);
            width += expected.back();
        }
        // The last character's right bearing may hang past its advance.
        const int hang = std::max(0, -f.RightBearing('f'));
        expected.back() += hang;
        width += hang;
        EXPECT_EQ(f.list.Label(0).Advances(), expected) << c.Border << c.Shadow << int(c.Style);
        EXPECT_EQ(label.Width(), width);
        EXPECT_EQ(label.Height(), 12 + extra);
        EXPECT_EQ(f.list.WidestWidth(), width);
    }
}

TEST(Labels, ChangingTheFontMeasuresAgain) {
    TLabelFixture f;
    TQsLabelDIB& label = f.list.Add(Utf8ToSjis("漢字"));
    const int small = f.list.WidestWidth();
    f.list.SetFontHeight(24);
    EXPECT_GT(f.list.WidestWidth(), small);
    EXPECT_EQ(label.Height(), 24);
    label.SetText(Utf8ToSjis("漢"));
    EXPECT_EQ(label.Advances().size(), 1u);
}

TEST(Labels, RenderOnlyWhenTheTextLookOrDepthChanged) {
    TLabelFixture f;
    TQsLabelDIB& label = f.list.Add("Ab");
    EXPECT_TRUE(label.Dirty());
    f.list.Draw(0, 5, 5);
    EXPECT_FALSE(label.Dirty());
    EXPECT_EQ(label.ColourSurface().Width(), label.Width());
    EXPECT_EQ(label.AlphaSurface().Height(), label.Height());
    EXPECT_EQ(label.ColourSurface().BitCount(), 32);
    label.SetText("Ab");
    EXPECT_FALSE(label.Dirty());
    label.SetText("Ac");
    EXPECT_TRUE(label.Dirty());
    f.list.Draw(0, 5, 5);
    TQsLabelLook look = f.list.Look();
    look.TextColor = 0x00FF00;
    f.list.SetLook(look);
    EXPECT_TRUE(label.Dirty());
    f.list.Draw(0, 5, 5);
    TDIBX deep(200, 60, 16);
    f.list.Target = &deep;
    f.list.Draw(0, 5, 5);
    EXPECT_EQ(label.ColourSurface().BitCount(), 16);
}

TEST(Labels, PlainLabelsAreCoverageInTheTextColourAndOutlinedOnesTheirColours) {
    for (const int border : {0, 1}) {
        TLabelFixture f;
        TQsLabelLook look = f.list.Look();
        look.TextColor = 0x0000FF;
        look.BorderColor = 0xFF0000;
        look.BorderWidth = border;
        f.list.SetLook(look);
        f.list.Add(Utf8ToSjis("漢"));
        f.list.Draw(0, 10, 20);
        TQsLabelDIB& label = f.list.Label(0);
        int full = 0;
        for (int y = 0; y < label.Height(); ++y)
            for (int x = 0; x < label.Width(); ++x) {
                if (label.AlphaSurface().GetPixel(x, y) != 255) continue;
                ++full;
                const TPixel p = f.target.GetPixel(10 + x, 20 + y);
                if (border) EXPECT_EQ(p, label.ColourSurface().GetPixel(x, y));
                else EXPECT_EQ(p & 0xFF0000, 0xFE0000u);  // full red through the coverage blend
            }
        EXPECT_GT(full, 0) << border;
    }
}

TEST(Labels, NoTargetOrCacheIsAnError) {
    TQsLabelList list;
    list.GlyphCache = &SharedGlyphCache();
    list.Add("a");
    EXPECT_THROW(list.Draw(0, 0, 0), EVeskError);
    EXPECT_THROW(list.Label(1), EVeskError);
}

std::string Saved(const TQsLabelList& list) {
    TMemoryStream s;
    list.Save(s);
    return s.AsString();
}

TQsLabelLook Distinct() {
    TQsLabelLook l;
    l.Quality = 2;
    l.BorderWidth = 3;
    l.Alpha = 200;
    l.FontHeight = 18;
    l.FontName = "face";
    l.TextColor = 0x123456;
    l.BorderColor = 0x654321;
    l.Style = 5;
    l.Metrics[0] = 7;
    l.Metrics[211] = 9;
    l.ShadowWidth = 4;
    l.ShadowColor = 0x0A0B0C;
    return l;
}

TEST(Labels, SavedFormRoundTrips) {
    TQsLabelList a, b;
    a.SetLook(Distinct());
    const std::string bytes = Saved(a);
    // Eight integers, the font name, the style byte and the metrics block.
    EXPECT_EQ(bytes.size(), 8 * 4 + (4 + 4) + 1 + 212u);
    TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    b.Load(s, 122);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_EQ(Saved(b), bytes);
    EXPECT_EQ(b.Look().Metrics[211], 9);
}

TEST(Labels, OlderSavedFormsConvertQualityAndLackTheShadow) {
    struct {
        int Version;
        std::int32_t Stored, Quality;
        bool Shadow;
    } const cases[] = {{108, 0, 0, false}, {108, 1, 0, false}, {108, 2, 3, false}, {108, 3, 3, false},
                       {109, 2, 2, false}, {121, 1, 1, false}, {122, 1, 1, true}};
    for (const auto& c : cases) {
        TQsLabelList writer, reader;
        TQsLabelLook look = Distinct();
        look.Quality = c.Stored;
        writer.SetLook(look);
        std::string bytes = Saved(writer);
        if (!c.Shadow) bytes.resize(bytes.size() - 8);
        TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        reader.Load(s, c.Version);
        EXPECT_EQ(s.Remaining(), 0) << c.Version;
        EXPECT_EQ(reader.Look().Quality, c.Quality) << c.Version << " " << c.Stored;
        EXPECT_EQ(reader.Look().ShadowWidth, c.Shadow ? 4 : 0) << c.Version;
        EXPECT_EQ(reader.Look().FontName, "face");
    }
}

TEST(Labels, ShortSavedFormChangesNothing) {
    TQsLabelList writer, reader;
    writer.SetLook(Distinct());
    std::string bytes = Saved(writer);
    bytes.resize(100);
    const std::string before = Saved(reader);
    TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_THROW(reader.Load(s, 122), EStreamError);
    EXPECT_EQ(Saved(reader), before);
}

}  // namespace
