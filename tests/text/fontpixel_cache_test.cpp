// The glyph cache over the installed IPA faces: lookups, recency and
// eviction, metrics, qualities, synthesised styles and face fallback.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/cp932.h"
#include "common/error.h"
#include "text/char_code.h"
#include "text/coverage_levels.h"
#include "text/font_faces.h"
#include "text/font_rasterizer.h"
#include "text/fontpixel_manager.h"
#include "text/tag_values.h"

using namespace vesk;

namespace {

std::uint16_t Code(const char* utf8) { return CharCodeAt(Utf8ToSjis(utf8), 0); }

const std::string& Gothic() { return DefaultFaceName(); }

std::vector<std::uint8_t> CoverageBytes(const TFontPixel& g) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < g.Coverage.Height(); ++y)
        for (int x = 0; x < g.Coverage.Width(); ++x) out.push_back(std::uint8_t(g.Coverage.GetPixel(x, y)));
    return out;
}

long Ink(const TFontPixel& g) {
    long sum = 0;
    for (const std::uint8_t c : CoverageBytes(g)) sum += c;
    return sum;
}

int Advance(const TFontPixel& g) { return g.LeftBearing + g.Coverage.Width() + g.RightGap; }

// One key per index: codes "!" … "~" at three heights.
std::uint16_t KeyCode(int i) { return std::uint16_t(0x21 + i % 94); }
std::int32_t KeyHeight(int i) { return 12 + i / 94; }

// Fontconfig for every face but the ones named here, which lie elsewhere.
struct TRedirectingResolver : TFontFaceResolver {
    TFontconfigResolver installed;
    std::map<std::string, std::optional<TFontFile>> overrides;
    std::optional<TFontFile> Resolve(const std::string& name, bool bold, bool italic) override {
        if (const auto it = overrides.find(name); it != overrides.end()) return it->second;
        return installed.Resolve(name, bold, italic);
    }
};

}  // namespace

TEST(FontPixelCache, HitsMissesAndEvictionOrder) {
    TFontPixelManager cache;
    for (int i = 0; i < TFontPixelManager::kCapacity; ++i) cache.GetGlyph(KeyCode(i), Gothic(), 0, KeyHeight(i));
    ASSERT_EQ(cache.Count(), 256);
    ASSERT_EQ(cache.Misses(), 256);

    // A hit is the same glyph and makes nothing.
    const TFontPixel& first = cache.GetGlyph(KeyCode(0), Gothic(), 0, KeyHeight(0));
    EXPECT_EQ(&first, &cache.GetGlyph(KeyCode(0), Gothic(), 0, KeyHeight(0)));
    EXPECT_EQ(cache.Misses(), 256);
    // The key is code, face (by bytes), style, height and quality.
    EXPECT_FALSE(cache.Holds(KeyCode(0), Gothic() + " ", 0, KeyHeight(0)));
    EXPECT_FALSE(cache.Holds(KeyCode(0), Gothic(), FS_BOLD, KeyHeight(0)));
    cache.Quality = 2;
    EXPECT_FALSE(cache.Holds(KeyCode(0), Gothic(), 0, KeyHeight(0)));
    cache.Quality = 3;

    // The 257th glyph evicts the least recently used one: key 1, since key
    // 0 was just used.
    cache.GetGlyph(KeyCode(256), Gothic(), 0, KeyHeight(256));
    EXPECT_EQ(cache.Count(), 256);
    EXPECT_TRUE(cache.Holds(KeyCode(0), Gothic(), 0, KeyHeight(0)));
    EXPECT_FALSE(cache.Holds(KeyCode(1), Gothic(), 0, KeyHeight(1)));
    EXPECT_TRUE(cache.Holds(KeyCode(2), Gothic(), 0, KeyHeight(2)));
    // Looking an evicted glyph up makes it again, and evicts the next one.
    cache.GetGlyph(KeyCode(1), Gothic(), 0, KeyHeight(1));
    EXPECT_EQ(cache.Misses(), 258);
    EXPECT_FALSE(cache.Holds(KeyCode(2), Gothic(), 0, KeyHeight(2)));
    EXPECT_TRUE(cache.Holds(KeyCode(3), Gothic(), 0, KeyHeight(3)));
}

TEST(FontPixelCache, MetricsOfIpaGothic) {
    TFontPixelManager cache;
    const TFontPixel& a = cache.GetGlyph(Code("あ"), Gothic(), 0, 16);
    EXPECT_NE(cache.Rasterizer().SelectedFile().Path.find("gothic"), std::string::npos);
    EXPECT_EQ(a.Code, Code("あ"));
    EXPECT_EQ(a.Quality, 3);
    EXPECT_EQ(a.Coverage.BitCount(), 8);
    EXPECT_EQ(a.Coverage.Width(), 14);
    EXPECT_EQ(a.Coverage.Height(), 14);
    EXPECT_EQ(a.LeftBearing, 1);
    EXPECT_EQ(a.TopOffset, 1);
    EXPECT_EQ(a.RightGap, 1);
    // The IPA stand-in is as wide as the face it stands for: full-width
    // characters one height, half-width ones half.
    EXPECT_EQ(Advance(a), 16);
    EXPECT_EQ(a.CharA + a.CharB + a.CharC, 16);
    EXPECT_EQ(Advance(cache.GetGlyph('a', Gothic(), 0, 16)), 8);
    EXPECT_EQ(Advance(cache.GetGlyph(Code("ｱ"), Gothic(), 0, 16)), 8);
    // The black box sits on the baseline: "a" starts lower than "l".
    EXPECT_GT(cache.GetGlyph('a', Gothic(), 0, 16).TopOffset, cache.GetGlyph('l', Gothic(), 0, 16).TopOffset);

    // Blanks have no pixels and their width as the gap.
    const TFontPixel& space = cache.GetGlyph(' ', Gothic(), 0, 16);
    EXPECT_TRUE(space.IsEmpty());
    EXPECT_EQ(space.RightGap, 8);
    EXPECT_EQ(cache.GetGlyph(Code("　"), Gothic(), 0, 16).RightGap, 16);

    // Lines only with their styles.
    EXPECT_EQ(a.UnderlineSize, 0);
    const TFontPixel& lined = cache.GetGlyph(Code("あ"), Gothic(), FS_UNDERLINE | FS_STRIKEOUT, 16);
    EXPECT_GE(lined.UnderlineSize, 1);
    EXPECT_GE(lined.StrikeSize, 1);
    EXPECT_GT(lined.StrikeTop, 0);
    EXPECT_LT(lined.StrikeTop, 16);
    EXPECT_EQ(CoverageBytes(lined), CoverageBytes(a));
}

TEST(FontPixelCache, QualitiesUseTheirLevelTables) {
    TFontPixelManager cache;
    for (int q = 0; q < kQualityCount; ++q) {
        SCOPED_TRACE(q);
        cache.Quality = q;
        const TFontPixel& g = cache.GetGlyph(Code("永"), Gothic(), 0, 24);
        EXPECT_EQ(g.Quality, q);
        std::set<int> table;
        for (int l = 0; l < LevelCount(q); ++l) table.insert(LevelCoverage(q, l));
        std::set<int> seen;
        for (const std::uint8_t c : CoverageBytes(g)) seen.insert(c);
        EXPECT_TRUE(std::includes(table.begin(), table.end(), seen.begin(), seen.end()));
        EXPECT_TRUE(seen.count(255));
        // Monochrome has ink and no ink; the finest grey shows many edges.
        EXPECT_EQ(seen.size() == 2, q == 0);
        EXPECT_EQ(seen.size() > 5, q >= 2);
    }
    EXPECT_EQ(cache.Count(), 4);
    EXPECT_EQ(LevelCount(2), 17);
    EXPECT_EQ(LevelCoverage(1, 3), 207);
    EXPECT_EQ(CoverageOfGrey(3, 0), 0);
    EXPECT_EQ(CoverageOfGrey(3, 255), 255);
    EXPECT_EQ(CoverageOfGrey(1, 128), 127);
}

TEST(FontPixelCache, BoldAndItalicAreSynthesised) {
    TFontPixelManager cache;
    const TFontPixel& plain = cache.GetGlyph('I', Gothic(), 0, 32);
    const TFontPixel& bold = cache.GetGlyph('I', Gothic(), FS_BOLD, 32);
    const TFontPixel& italic = cache.GetGlyph('I', Gothic(), FS_ITALIC, 32);
    // The IPA faces have no bold or italic of their own.
    EXPECT_GT(Ink(bold), Ink(plain) * 5 / 4);
    EXPECT_GT(bold.Coverage.Width(), plain.Coverage.Width());
    EXPECT_GT(Advance(bold), Advance(plain));
    // A slanted "I" leans right: its top row lies further right than its
    // bottom row, and it is wider than it is upright.
    EXPECT_GT(italic.Coverage.Width(), plain.Coverage.Width() + 2);
    auto inkCentre = [](const TFontPixel& g, int y) {
        long sum = 0, weighted = 0;
        for (int x = 0; x < g.Coverage.Width(); ++x) {
            sum += long(g.Coverage.GetPixel(x, y));
            weighted += long(g.Coverage.GetPixel(x, y)) * x;
        }
        return sum ? double(weighted) / double(sum) : 0.0;
    };
    const int h = italic.Coverage.Height();
    EXPECT_GT(inkCentre(italic, 1), inkCentre(italic, h - 2) + 2);
    EXPECT_NEAR(inkCentre(plain, 1), inkCentre(plain, plain.Coverage.Height() - 2), 1.0);
}

TEST(FontPixelCache, FaceNamesMapToInstalledFaces) {
    TFontPixelManager cache;
    const struct {
        const char* name;
        const char* file;  // part of the file name fontconfig gives
    } cases[] = {
        {"ＭＳ ゴシック", "gothic"}, {"ＭＳ Ｐゴシック", "ipagp"}, {"ＭＳ 明朝", "mincho"},
        {"ＭＳ Ｐ明朝", "ipamp"},    {"MS PGothic", "ipagp"},     {"DejaVu Sans", "DejaVuSans"},
        {"No Such Face", "gothic"},  {"", "gothic"},
    };
    for (const auto& c : cases) {
        cache.GetGlyph('a', Utf8ToSjis(c.name), 0, 16);
        EXPECT_NE(cache.Rasterizer().SelectedFile().Path.find(c.file), std::string::npos)
            << c.name << ": " << cache.Rasterizer().SelectedFile().Path;
    }
    // A missing face draws exactly as the default one.
    EXPECT_EQ(CoverageBytes(cache.GetGlyph(Code("永"), Sj("存在しない書体"), 0, 20)),
              CoverageBytes(cache.GetGlyph(Code("永"), Gothic(), 0, 20)));
    EXPECT_NE(CoverageBytes(cache.GetGlyph(Code("永"), Sj("ＭＳ 明朝"), 0, 20)),
              CoverageBytes(cache.GetGlyph(Code("永"), Gothic(), 0, 20)));
}

TEST(FontPixelCache, DamagedFontsAndOddCodesGiveEmptyGlyphsOrTheDefault) {
    const std::filesystem::path broken = std::filesystem::temp_directory_path() / "vesk_broken_font.ttf";
    {
        std::ofstream out(broken, std::ios::binary);
        out << "\x00\x01\x00\x00 this is no font at all";
    }
    auto resolver = std::make_unique<TRedirectingResolver>();
    resolver->overrides["Broken"] = TFontFile{broken.string(), 0};
    resolver->overrides["Gone"] = TFontFile{"/nonexistent/font.ttf", 0};
    TFontPixelManager cache(std::move(resolver));
    const auto reference = CoverageBytes(cache.GetGlyph('k', Gothic(), 0, 18));
    EXPECT_EQ(CoverageBytes(cache.GetGlyph('k', "Broken", 0, 18)), reference);
    EXPECT_EQ(CoverageBytes(cache.GetGlyph('k', "Gone", 0, 18)), reference);
    std::filesystem::remove(broken);

    // Codes that are no character, and sizes no text has, draw nothing.
    for (const std::uint16_t code : {std::uint16_t(0x81), std::uint16_t(0x85A0), std::uint16_t(0x0A)})
        EXPECT_TRUE(cache.GetGlyph(code, Gothic(), 0, 16).IsEmpty()) << code;
    for (const std::int32_t height : {0, -12, kMaxGlyphHeight + 1, 1 << 30})
        EXPECT_TRUE(cache.GetGlyph('W', Gothic(), 0, height).IsEmpty()) << height;
    EXPECT_FALSE(cache.GetGlyph('W', Gothic(), 0, kMaxGlyphHeight).IsEmpty());
}

TEST(FontPixelCache, NoFaceAtAllIsAnError) {
    struct TNothing : TFontFaceResolver {
        std::optional<TFontFile> Resolve(const std::string&, bool, bool) override { return std::nullopt; }
    };
    TFontPixelManager cache(std::make_unique<TNothing>());
    try {
        cache.GetGlyph('a', Gothic(), 0, 12);
        FAIL() << "no error";
    } catch (const EVeskError& e) {
        EXPECT_STREQ(e.what(), "Error:GetOutlineTextMetrics");
    }
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.Misses(), 0);
}
