// Presenting a frame through the SDL window: 1, 10 and 100 changed
// rectangles of 32x32 against the whole 800x600 frame; and the frame step's
// own cost: with nothing hooked in, and with the registry's passes over an
// empty registry (no script: the interpreter has its own benchmark). Runs in whatever display SDL finds
// (start it under xvfb-run, or SDL_VIDEODRIVER=offscreen).

#include <benchmark/benchmark.h>

#include <memory>

#include "app/registry_frame.h"
#include "app/view.h"
#include "platform/sdl/sdl_window.h"

namespace vesk {
namespace {

constexpr int kWidth = 800, kHeight = 600;

struct TScreen {
    TScreen() : window(kWidth, kHeight), screen(&window, kWidth, kHeight, kWidth, kHeight) {
        window.Show();
        screen.BackBuffer().Fill(0x336699);
        screen.Present();
    }
    platform::TSdlWindow window;
    TScreenManager screen;
};

TScreen& Screen() {
    static TScreen s;
    return s;
}

void PresentRects(benchmark::State& state) {
    TScreen& s = Screen();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            const int x = (i * 97) % (kWidth - 32), y = (i * 61) % (kHeight - 32);
            s.screen.AddChangedRect(Bounds(x, y, 32, 32));
        }
        s.screen.Present();
    }
    state.SetLabel(std::to_string(count) + " rects");
}
BENCHMARK(PresentRects)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void PresentWholeFrame(benchmark::State& state) {
    TScreen& s = Screen();
    for (auto _ : state) {
        s.screen.AddChangedRect(Bounds(0, 0, kWidth, kHeight));
        s.screen.Present();
    }
}
BENCHMARK(PresentWholeFrame)->Unit(benchmark::kMicrosecond);

void FrameStepEmpty(benchmark::State& state) {
    TScreen& s = Screen();
    TInputState input;
    TFrameTiming timing;
    platform::TSystemClock clock;
    TFormView view(s.window, s.screen, input, timing, TFrameHooks{}, clock);
    for (auto _ : state) view.FrameStep();
}
BENCHMARK(FrameStepEmpty)->Unit(benchmark::kMicrosecond);

void FrameStepEmptyRegistry(benchmark::State& state) {
    TScreen& s = Screen();
    TVeskBaseList registry;
    registry.SetSize(kWidth, kHeight);
    TInputState input;
    registry.AttachInput(&input);
    TFrameTiming timing;
    timing.LastFrameMs = 16;
    platform::TSystemClock clock;
    TFormView view(s.window, s.screen, input, timing, RegistryFrameHooks(registry, timing), clock);
    view.SkipSplash();
    for (auto _ : state) view.FrameStep();
}
BENCHMARK(FrameStepEmptyRegistry)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
