// The glyph cache: the cost of a hit (the text engine's every character
// of every redraw) and of a miss (rasterising with FreeType), and drawing a
// glyph into a page with and without an outline.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "text/char_code.h"
#include "text/font_faces.h"
#include "text/fontpixel_manager.h"

using namespace vesk;

namespace {

// The distinct characters of a typical message line: kana, kanji and
// punctuation.
std::vector<std::uint16_t> LineCodes() {
    const std::string s = Utf8ToSjis("今日はいい天気ですね。散歩に行きましょうか？「はい」と彼女は答えた。ABCxyz");
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < s.size(); i += SjisCharLen(s, i))
        if (std::find(out.begin(), out.end(), CharCodeAt(s, i)) == out.end()) out.push_back(CharCodeAt(s, i));
    return out;
}

void BM_GlyphHit(benchmark::State& state) {
    TFontPixelManager cache;
    const std::vector<std::uint16_t> codes = LineCodes();
    const std::string& face = DefaultFaceName();
    for (const std::uint16_t c : codes) cache.GetGlyph(c, face, 0, 16);
    const std::int64_t made = cache.Misses();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&cache.GetGlyph(codes[i], face, 0, 16));
        if (++i == codes.size()) i = 0;
    }
    if (cache.Misses() != made) state.SkipWithError("a lookup missed");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlyphHit);

// Cycling through more glyphs than the cache holds makes every lookup a
// miss: each evicts the one needed next.
void BM_GlyphMiss(benchmark::State& state) {
    TFontPixelManager cache;
    const std::vector<std::uint16_t> codes = LineCodes();
    const std::string& face = DefaultFaceName();
    const int keys = TFontPixelManager::kCapacity + 64;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&cache.GetGlyph(codes[std::size_t(i) % codes.size()], face,
                                                 std::uint8_t(i / int(codes.size()) % 2), 14 + i / int(2 * codes.size())));
        if (++i == keys) i = 0;
    }
    if (cache.Misses() < std::int64_t(state.iterations())) state.SkipWithError("a lookup hit");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GlyphMiss)->Unit(benchmark::kMicrosecond);

void BM_DrawTo(benchmark::State& state) {
    TFontPixelManager cache;
    const TFontPixel& g = cache.GetGlyph(LineCodes()[1], DefaultFaceName(), 0, 24);
    TDIBX colour(64, 64, 32), alpha(64, 64, 8);
    const int border = int(state.range(0)), shadow = int(state.range(1));
    for (auto _ : state) {
        alpha.Fill(0);
        benchmark::DoNotOptimize(g.DrawTo(colour, alpha, false, 0x202020, 0x808080, 0xFFFFFF, false, false, shadow,
                                          border, Bounds(8, 8, 24, 24)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawTo)->Args({0, 0})->Args({1, 0})->Args({2, 2})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
