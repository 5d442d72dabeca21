// A game screen's frame step after the interpreter: the registry's update
// pass, its draw pass and the presentation of the changed areas into memory.
// The scene is a full-screen 800x600 background and 100 pictures of 64x64
// with per-pixel alpha, 10 of which move every frame. It runs once on the
// dirty-rectangle path and once redrawing the whole screen every frame;
// the drawn pixels per second of both are set against DrawAlpha (the whole
// 800x600 frame at alpha 128, as the surfaces benchmark measures it) and
// against a masked 64x64 draw, all measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/registry_frame.h"
#include "app/screenman.h"
#include "archive/vrfiles.h"
#include "components/kinds/kinds.h"
#include "components/registry/vbaselist.h"
#include "gfx/fenks.h"
#include "platform/window.h"
#include "bench/noise.h"
#include "bench/ratio_reporter.h"

namespace vesk {
namespace {

constexpr int kW = 800, kH = 600;
constexpr int kSprite = 64, kSprites = 100, kMoving = 10;
constexpr std::int32_t kFrameMs = 16;
constexpr int kPeriod = 40;  // frames of one round of the movement

std::int64_t Area(const TRect& r) { return r.IsEmpty() ? 0 : std::int64_t{r.Width()} * r.Height(); }

using bench::Noise;

// A window that keeps what it is given: the presented rectangles are
// copied into a frame of its own, as a display's buffer would take them.
class TMemoryWindow final : public platform::TPlatformWindow {
public:
    std::vector<std::uint32_t> Frame = std::vector<std::uint32_t>(std::size_t(kW) * kH);
    void SetTitle(const std::string&) override {}
    void SetGameSize(int, int) override {}
    void SetPosition(int, int) override {}
    void Show() override {}
    bool PollEvent(platform::TPlatformEvent&) override { return false; }
    bool WaitEvent(platform::TPlatformEvent&, int) override { return false; }
    void Wake() override {}
    void Present(const std::uint32_t* pixels, int stride, std::span<const platform::TScreenRect> rects) override {
        for (const platform::TScreenRect& r : rects)
            for (int y = r.Top; y < r.Top + r.Height; ++y) {
                const std::uint32_t* src = pixels + std::size_t(kH - 1 - y) * std::size_t(stride) + r.Left;
                std::copy(src, src + r.Width, Frame.data() + std::size_t(y) * kW + r.Left);
            }
    }
    std::vector<platform::TDisplayMode> DisplayModes() override { return {}; }
    platform::TDisplayFormat DesktopFormat() override { return {}; }
    bool SetFullScreen(const platform::TDisplayMode*) override { return false; }
    bool FullScreen() const override { return false; }
    void WarpMouse(int, int) override {}
    bool ShowCursor(std::span<const std::uint32_t>, int, int, int, int) override { return true; }
    void ShowDefaultCursor() override {}
    void* NativeHandle() override { return nullptr; }
};

// Writes a one-frame layered image into the memory archive: varied colour,
// and with alpha a round sprite with a soft edge (opaque inside,
// transparent corners, a band of partial alpha between).
void WriteImage(const std::string& name, int w, int h, bool alpha, std::uint32_t seed) {
    TFenkFrameList list;
    TFenkFrame& f = list.AddFrame();
    f.Image.SetSize(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f.Image.SetPixel(x, y, Noise(seed) & 0x00FFFFFF);
    if (alpha) {
        TDIBSurface& a = f.Image.CreateAlpha(255);
        const int r = w / 2;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int dx = x - r, dy = y - r, d2 = dx * dx + dy * dy;
                const int inner = (r - 8) * (r - 8), outer = r * r;
                const int v = d2 <= inner ? 255 : d2 >= outer ? 0 : 255 * (outer - d2) / (outer - inner);
                a.SetPixel(x, y, std::uint32_t(v));
            }
    }
    list.SaveToStream(VrFileManager().CreateMemFile(name), FK_ZLIB, 90);
}

struct TSceneRun {
    TMemoryWindow window;
    TScreenManager screen{&window, kW, kH, kW, kH, 32};
    TVeskBaseList registry;
    std::vector<TVeskControl*> sprites;
    struct TMover {
        TVeskControl* sprite;
        int left, top;
    };
    std::vector<TMover> movers;
    int frame = 0;

    TSceneRun() {
        TVrFileManager& vfm = VrFileManager();
        if (vfm.ArchiveCount() == 0) vfm.AddMemoryArchive();
        if (!vfm.Exists("mem:bg.fnk")) {
            WriteImage("mem:bg.fnk", kW, kH, false, 7);
            for (int i = 0; i < 4; ++i)
                WriteImage("mem:sprite" + std::to_string(i) + ".fnk", kSprite, kSprite, true, 100u + unsigned(i));
        }
        registry.SetSize(kW, kH);
        TVeskControl& bg = Add("bg", "mem:bg.fnk", 0, 0);
        bg.SetPriority(0);
        // A grid of 10 x 10 with some overlap, the way characters and
        // icons crowd a screen.
        for (int i = 0; i < kSprites; ++i) {
            const int col = i % 10, row = i / 10;
            TVeskControl& s = Add("s" + std::to_string(i), "mem:sprite" + std::to_string(i % 4) + ".fnk",
                                  20 + col * 76, 10 + row * 58);
            s.SetPriority(1 + i);
            sprites.push_back(&s);
        }
        // The moving ones lie apart (every other row, five columns
        // between), so their dirty rectangles stay separate.
        for (int k = 0; k < kMoving; ++k) {
            const int row = (k / 2) * 2, col = (k % 2) * 5 + row % 4;
            movers.push_back({sprites[std::size_t(row * 10 + col)], 20 + col * 76, 10 + row * 58});
        }
        Step(false);
    }

    TVeskControl& Add(const std::string& name, const std::string& source, int left, int top) {
        TVeskObject& o = *registry.CreateKind(LT_IMAGES);
        o.SetName(name);
        o.SetSource(source);
        o.SetLeft(left);
        o.SetTop(top);
        return *o.AsControl();
    }

    // The movers go a few pixels a frame along a small circuit, so that
    // old and new places overlap as a walking figure's do.
    void Move() {
        ++frame;
        int k = 0;
        for (const TMover& m : movers) {
            const int phase = (frame + 7 * k++) % kPeriod;
            const int d = phase < kPeriod / 2 ? phase : kPeriod - phase;
            m.sprite->SetLeft(m.left + d * 2);
            m.sprite->SetTop(m.top + d / 2 - 5);
        }
    }

    // The pixels the draw pass composites this frame: every dirty
    // rectangle's share of the base fill, the background and each picture.
    std::int64_t DrawnPixels() const {
        std::int64_t n = 0;
        const TVeskBase& base = registry.ActiveBase();
        for (const TRect& d : base.Dirty().Rects()) {
            n += Area(Intersect(d, base.ScreenBounds())) * 2;  // fill and background
            for (const TVeskControl* s : sprites) n += Area(Intersect(d, s->ScreenBounds()));
        }
        return n;
    }

    // The frame step after the interpreter; counts the pixels drawn when
    // asked (that is not part of the step).
    void Step(bool wholeScreen, std::int64_t* drawn = nullptr, std::size_t* rects = nullptr) {
        registry.UpdatePass(kFrameMs);
        if (wholeScreen) registry.ActiveBase().InvalidateAll();
        if (drawn) *drawn = DrawnPixels();
        if (rects) *rects += registry.ActiveBase().Dirty().Rects().size();
        ComposeFrame(registry, screen);
        screen.Present();
        registry.ClearDirty();
    }
};

void RunScene(benchmark::State& state, bool wholeScreen) {
    TSceneRun run;
    // The movement repeats every kPeriod frames, and so does the work of a
    // frame: one untimed round counts the pixels of each of them.
    std::vector<std::int64_t> drawn(kPeriod);
    std::size_t rects = 0;
    for (std::int64_t& n : drawn) {
        run.Move();
        run.Step(wholeScreen, &n, &rects);
    }
    std::int64_t pixels = 0;
    for (auto _ : state) {
        pixels += drawn[std::size_t(run.frame % kPeriod)];
        run.Move();
        run.Step(wholeScreen);
        benchmark::DoNotOptimize(run.window.Frame.data());
    }
    state.SetItemsProcessed(pixels);
    state.counters["px/frame"] = benchmark::Counter(double(pixels) / double(state.iterations()));
    state.counters["rects/frame"] = benchmark::Counter(double(rects) / kPeriod);
}

void BM_SceneDirty(benchmark::State& state) { RunScene(state, false); }
void BM_SceneFullRedraw(benchmark::State& state) { RunScene(state, true); }
BENCHMARK(BM_SceneDirty)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SceneFullRedraw)->Unit(benchmark::kMicrosecond);

// The baselines: DrawAlpha of the whole frame, and the masked draw one
// picture of the scene makes.
struct TBaseline {
    TDIBX src{kW, kH, 32}, dst{kW, kH, 32}, sprite{kSprite, kSprite, 32}, mask{kSprite, kSprite, 8};
    TBaseline() {
        std::uint32_t s = 1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                src.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
                dst.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
            }
        for (int y = 0; y < kSprite; ++y)
            for (int x = 0; x < kSprite; ++x) {
                sprite.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
                mask.SetPixel(x, y, Noise(s) >> 24);
            }
    }
};

TBaseline& Baseline() {
    static TBaseline b;
    return b;
}

void BM_DrawAlpha(benchmark::State& state) {
    TBaseline& b = Baseline();
    const TRect all = b.src.BoundsRect();
    for (auto _ : state) {
        b.dst.DrawAlpha(0, 0, 128, false, false, false, all, b.src);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_DrawAlpha)->Unit(benchmark::kMicrosecond);

void BM_DrawMasked64(benchmark::State& state) {
    TBaseline& b = Baseline();
    const TRect all = b.sprite.BoundsRect();
    int i = 0;
    for (auto _ : state) {
        b.dst.DrawMasked((i * 67) % (kW - kSprite), (i * 41) % (kH - kSprite), b.mask, false, false, all, b.sprite);
        ++i;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprite * kSprite);
}
BENCHMARK(BM_DrawMasked64)->Unit(benchmark::kMicrosecond);

using vesk::bench::RatioReporter;

void PrintRatios(RatioReporter& rep) {
    const double alpha = rep.rate["BM_DrawAlpha"], masked = rep.rate["BM_DrawMasked64"];
    std::printf("\n%-20s %12s %10s %14s %14s\n", "scene", "CPU/frame us", "MP/s", "x DrawAlpha", "x masked 64");
    for (const char* name : {"BM_SceneDirty", "BM_SceneFullRedraw"}) {
        const double v = rep.rate[name];
        std::printf("%-20s %12.1f %10.1f %14.2f %14.2f\n", name + 3, rep.time[name], v / 1e6,
                    alpha > 0 ? v / alpha : 0.0, masked > 0 ? v / masked : 0.0);
    }
    const double dirty = rep.time["BM_SceneDirty"], full = rep.time["BM_SceneFullRedraw"];
    std::printf("DrawAlpha 800x600: %.1f MP/s; masked 64x64: %.1f MP/s; full redraw / dirty frame time: %.2f\n",
                alpha / 1e6, masked / 1e6, dirty > 0 ? full / dirty : 0.0);
}

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    vesk::bench::RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    vesk::PrintRatios(rep);
    benchmark::Shutdown();
    return 0;
}
