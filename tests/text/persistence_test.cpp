// The engine's settings record and a page's display state: round trips,
// the older forms of the settings, and damaged records.
#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream_io.h"
#include "page_fixture.h"

using namespace vesk;
using vesk::test::TPageFixture;

namespace {

// Every setting given a value of its own.
void SetAll(TQsWordSettings& s) {
    std::int32_t v = 100;
    for (std::int32_t* f : {&s.OriginX, &s.OriginY, &s.DefaultSize, &s.DefaultColor, &s.PageHeight, &s.WrapWidth,
                            &s.RenderQuality, &s.LineSpacing, &s.LinkColor, &s.LinkHoverColor, &s.FadeTime,
                            &s.DefaultBorderColor, &s.ImageAlpha, &s.CaretX, &s.CaretY, &s.SpeedFactor,
                            &s.DefaultShadowColor, &s.DefaultBorderWidth, &s.DefaultShadowWidth})
        *f = v++;
    s.DefaultFontName = "face";
    s.Paging = false;
    s.Paused = true;
    s.EventsEnabled = true;
}

std::string SavedSettings(const TQsWord& e) {
    TMemoryStream s;
    e.SaveSettings(s);
    return s.AsString();
}

TEST(SettingsRecord, RoundTripsEveryField) {
    TQsWord a, b;
    SetAll(a);
    TMemoryStream s;
    a.SaveSettings(s);
    // 19 integers, 3 flags and the font name.
    EXPECT_EQ(s.Size(), 19 * 4 + 3 + 4 + 4);
    s.SetPosition(0);
    b.LoadSettings(s, 111);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_EQ(SavedSettings(b), SavedSettings(a));
    EXPECT_EQ(b.DefaultFontName, "face");
    EXPECT_FALSE(b.Paging);
    EXPECT_EQ(b.DefaultShadowWidth, a.DefaultShadowWidth);
}

TEST(SettingsRecord, OlderRecordsLackTheLaterFields) {
    struct {
        int Version;
        int Dropped;  // bytes the older record does not have at its end
        bool ShadowColour, Widths;
    } const cases[] = {{100, 12, false, false}, {109, 12, false, false}, {110, 8, true, false}, {111, 0, true, true}};
    for (const auto& c : cases) {
        TQsWord writer, reader;
        SetAll(writer);
        std::string bytes = SavedSettings(writer);
        bytes.resize(bytes.size() - std::size_t(c.Dropped));
        reader.DefaultShadowColor = -5;
        reader.DefaultBorderWidth = -6;
        reader.DefaultShadowWidth = -7;
        TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        reader.LoadSettings(s, c.Version);
        EXPECT_EQ(s.Remaining(), 0) << c.Version;
        EXPECT_EQ(reader.SpeedFactor, writer.SpeedFactor) << c.Version;
        EXPECT_EQ(reader.DefaultShadowColor, c.ShadowColour ? writer.DefaultShadowColor : -5) << c.Version;
        EXPECT_EQ(reader.DefaultBorderWidth, c.Widths ? writer.DefaultBorderWidth : -6) << c.Version;
        EXPECT_EQ(reader.DefaultShadowWidth, c.Widths ? writer.DefaultShadowWidth : -7) << c.Version;
    }
}

TEST(SettingsRecord, ShortRecordChangesNothing) {
    TQsWord writer, reader;
    SetAll(writer);
    std::string bytes = SavedSettings(writer);
    bytes.resize(bytes.size() - 2);
    const std::string before = SavedSettings(reader);
    TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_THROW(reader.LoadSettings(s, 111), EStreamError);
    EXPECT_EQ(SavedSettings(reader), before);
}

// A page half revealed: a variable insertion, an animated image, and a
// glyph still fading.
struct TStateFixture : TPageFixture {
    explicit TStateFixture() {
        pictures.Specs["anim"] = {4, 4, {0xFF0000, 0x00FF00}, {30, 20}};
        engine.WrapWidth = 200;
        engine.FadeTime = 100;
        engine.NameValues = {"x=AB"};
        Lay("あ<IMG SRC=anim><VAR NAME=x>い<EVENT VALUE=e>う<BR>え");
    }
    std::string State() {
        TMemoryStream s;
        Page().SaveState(s);
        return s.AsString();
    }
    std::vector<int> Alphas() {
        std::vector<int> out;
        Page().ForEachGlyph([&](const TWdGlyph& g) { out.push_back(g.Alpha()); });
        return out;
    }
};

TEST(PageState, RoundTripsTheRevealAndTheAlphas) {
    TStateFixture a;
    a.engine.EventsEnabled = true;
    a.engine.SpeedFactor = -1;
    TWdPage& page = a.Page();
    page.Scroll = 7;
    page.Draw(true);
    page.Reveal(16);
    page.Reveal(16);  // up to the event, all fading from 0
    page.Reveal(50);  // half way in
    ASSERT_EQ(page.RevealRow(), 0);
    ASSERT_GT(page.FadingCount(), 0);
    ASSERT_EQ(page.PendingEvents(), "e");

    TStateFixture b;
    const std::string state = a.State();
    TMemoryStream s(std::vector<std::uint8_t>(state.begin(), state.end()));
    b.Page().LoadState(s);
    EXPECT_EQ(s.Remaining(), 0);
    TWdPage& loaded = b.Page();
    EXPECT_EQ(loaded.Scroll, 7);
    EXPECT_EQ(loaded.RevealRow(), page.RevealRow());
    EXPECT_EQ(loaded.RevealGlyph(), page.RevealGlyph());
    EXPECT_EQ(loaded.PendingEvents(), "e");
    EXPECT_FALSE(loaded.EndReported());
    EXPECT_EQ(loaded.FadingCount(), 0);
    EXPECT_EQ(loaded.AnimatedCount(), 1);
    // Glyphs that were fading come back shown; the inserted characters
    // share their insertion's alpha; what was hidden stays hidden.
    const std::vector<int> alphas = b.Alphas();
    // Operations always answer 255.
    EXPECT_EQ(alphas, (std::vector<int>{255, 255, 255, 255, 255, 255, 255, 0, 255, 0}));
    EXPECT_EQ(b.State(), a.State());
}

TEST(PageState, DamagedStateIsRefused) {
    TStateFixture f;
    const std::string good = f.State();
    struct {
        const char* Name;
        std::int32_t Row, Glyph;
        std::size_t Cut;
    } const cases[] = {{"row_past_the_page", 5, 0, 0}, {"glyph_past_its_row", 0, 40, 0},
                       {"negative_glyph", 0, -1, 0},   {"end_with_a_glyph", 2, 1, 0},
                       {"alphas_cut_short", 0, 0, 3}};
    for (const auto& c : cases) {
        std::string bytes = good;
        TMemoryStream patch;
        WriteInt32(patch, c.Row);
        WriteInt32(patch, c.Glyph);
        bytes.replace(4, 8, patch.AsString());
        bytes.resize(bytes.size() - c.Cut);
        TStateFixture target;
        target.Page().Scroll = 3;
        TMemoryStream s(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        EXPECT_THROW(target.Page().LoadState(s), EStreamError) << c.Name;
        EXPECT_EQ(target.Page().Scroll, 3) << c.Name;
    }
}

}  // namespace
