// The glyph cache: the cost of a hit (the text engine's every character
// of every redraw) and of a miss (rasterising with FreeType), and drawing a
// glyph into a page with and without an outline. The text engine: laying
// out a 400-character page, one reveal step and one composition of a full
// 800 × 600 message page, against a plain DrawAlpha of the same area.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "common/cp932.h"
#include "text/char_code.h"
#include "text/font_faces.h"
#include "text/fontpixel_manager.h"
#include "text/qsword.h"
#include "values/param_collection.h"

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

// Japanese prose with punctuation and brackets, repeated to n characters.
std::string Prose(int n) {
    const std::string line = Utf8ToSjis(
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。「何でも薄暗いじめじめした所で"
        "ニャーニャー泣いていた事だけは記憶している」。吾輩はここで始めて人間というものを見た、");
    std::string out;
    int count = 0;
    for (std::size_t i = 0; count < n; i = (i + SjisCharLen(line, i)) % line.size(), ++count)
        out += line.substr(i, SjisCharLen(line, i));
    return out;
}

// A message box's engine: 800 × 600, 24-pixel text, a link colour and
// waits as a game sets them.
struct TMessage {
    TParamCollection vars;
    TFontPixelManager cache;
    TQsWord engine;
    TWdPageList pages;

    explicit TMessage(const std::string& markup) {
        vars.TextDelay = 16;
        engine.Variables = &vars;
        engine.GlyphCache = &cache;
        engine.DefaultSize = 24;
        engine.WrapWidth = 800;
        engine.PageHeight = 600;
        engine.LineSpacing = 6;
        engine.FadeTime = 200;
        engine.Parse({markup});
    }
    TWdPage& Lay() {
        pages.clear();
        engine.Layout(pages);
        return *pages.front();
    }
};

void BM_LayoutPage400(benchmark::State& state) {
    TMessage m(Prose(400));
    for (auto _ : state) benchmark::DoNotOptimize(&m.Lay());
    if (m.pages.size() != 1) state.SkipWithError("the text did not fit one page");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LayoutPage400)->Unit(benchmark::kMicrosecond);

// A full page: 20 rows of 33 characters, plain or outlined.
std::string FullPage(bool outlined) {
    const std::string text = Prose(20 * 33);
    return outlined ? Utf8ToSjis("<FONT BORDER=1 SHADOW=2>") + text + "</FONT>" : text;
}

// One frame of typing: a reveal step in the middle of the page (a glyph
// every 16 ms, each fading in over 200 ms) and the composition of the
// whole page, all glyphs shown, onto an 800 × 600 screen.
void BM_RevealAndCompose(benchmark::State& state) {
    TMessage m(FullPage(state.range(0) != 0));
    TWdPage& page = m.Lay();
    TDIBX screen(800, 600, 32);
    screen.Fill(0x203040);
    page.Draw(true);
    page.Compose(screen);
    for (auto _ : state) {
        if (!page.StillTyping()) {
            page.ResetReveal();
            page.SetAlphaAll(255);
        }
        benchmark::DoNotOptimize(page.Reveal(16));
        m.engine.TakeDirtyRects();
        page.Compose(screen);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RevealAndCompose)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RevealStep(benchmark::State& state) {
    TMessage m(FullPage(false));
    TWdPage& page = m.Lay();
    page.Draw(true);
    for (auto _ : state) {
        if (!page.StillTyping()) {
            page.ResetReveal();
            page.Hide();
        }
        benchmark::DoNotOptimize(page.Reveal(16));
        m.engine.TakeDirtyRects();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RevealStep)->Unit(benchmark::kMicrosecond);

// The yardstick: a constant-alpha draw of the page's whole area.
void BM_DrawAlpha800x600(benchmark::State& state) {
    TDIBX screen(800, 600, 32), page(800, 600, 32);
    screen.Fill(0x203040);
    page.Fill(0xFFFFFF);
    for (auto _ : state) screen.DrawAlpha(0, 0, 128, false, false, false, page.BoundsRect(), page);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawAlpha800x600)->Unit(benchmark::kMicrosecond);

void PrintRatios(const bench::RatioReporter& rep) {
    auto time = [&](const std::string& n) {
        auto it = rep.time.find(n);
        return it == rep.time.end() ? 0.0 : it->second;
    };
    const double alpha = time("BM_DrawAlpha800x600");
    if (alpha <= 0) return;
    std::printf("\n%-28s %10s %14s\n", "800x600 page", "time", "x DrawAlpha");
    for (const char* n : {"BM_RevealAndCompose/0", "BM_RevealAndCompose/1", "BM_RevealStep"}) {
        const double t = time(n);
        if (t > 0) std::printf("%-28s %10.1f %14.2f\n", n, t, t / alpha);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    PrintRatios(rep);
    benchmark::Shutdown();
    return 0;
}
