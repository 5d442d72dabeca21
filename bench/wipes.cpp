// One step of every transition kind at 800x600 in 32 bits, as a ratio to a
// constant-alpha DrawAlpha of the whole frame and to a memcpy of it, both
// measured in the same run. Each iteration steps at 40 % or at 60 % of the
// duration in turn, so the mask kinds rebuild their mask every time instead
// of finding it unchanged.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/noise.h"
#include "bench/ratio_reporter.h"
#include "common/process_random.h"
#include "common/stream.h"
#include "gfx/dibsfc.h"
#include "gfx/dibx.h"
#include "gfx/pixel_kernels.h"
#include "gfx/pngwrite.h"
#include "transitions/mask_source.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"

using namespace vesk;

namespace {

constexpr int kW = 800, kH = 600;
constexpr std::int64_t kPixels = std::int64_t(kW) * kH;

struct Frames {
    TDIBX old{kW, kH, 32}, nw{kW, kH, 32}, target{kW, kH, 32};

    Frames() {
        std::uint32_t s = 1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                old.SetPixel(x, y, bench::Noise(s) & 0x00FFFFFF);
                nw.SetPixel(x, y, bench::Noise(s) & 0x00FFFFFF);
            }
        target.Assign(old);
    }
};

Frames& F() {
    static Frames f;
    return f;
}

// A grey ramp of a quarter of the screen for the mask-picture kinds, so
// their levels vary across every row.
class TRampSource : public TWipeMaskSource {
public:
    TRampSource() {
        TDIBSurface image;
        image.SetSize(kW / 2, kH / 2, 8);
        image.SetGreyPalette();
        for (int y = 0; y < kH / 2; ++y)
            for (int x = 0; x < kW / 2; ++x) image.SetPixel(x, y, std::uint32_t((x + y) % 256));
        TMemoryStream out;
        SavePng(out, image);
        png_ = out.Bytes();
    }
    bool Exists(const std::string& name) override { return name == "ramp.png"; }
    std::unique_ptr<TStream> Open(const std::string&) override { return std::make_unique<TMemoryStream>(png_); }
    std::int32_t IdCode() const override { return 0; }

private:
    std::vector<std::uint8_t> png_;
};

void Finish(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kPixels); }

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint32_t> a(std::size_t(kPixels), 1), b(std::size_t(kPixels), 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), std::size_t(kPixels) * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    Finish(state);
}
BENCHMARK(BM_Memcpy);

void BM_DrawAlpha(benchmark::State& state) {
    for (auto _ : state) {
        F().target.DrawAlpha(0, 0, 128, false, false, false, F().nw.BoundsRect(), F().nw);
        benchmark::ClobberMemory();
    }
    Finish(state);
}
BENCHMARK(BM_DrawAlpha);

void BM_Wipe(benchmark::State& state) {
    const int kind = int(state.range(0));
    TRampSource ramp;
    ProcessRandom().Seed(1);
    F().target.Assign(F().old);
    std::unique_ptr<TCustomWipe> wipe = CreateWipe(kind, F().target, F().old, F().nw);
    wipe->Duration = 1000;
    wipe->SetFlag(0);
    wipe->MaskSource = &ramp;
    wipe->SetMaskName("ramp.png");
    wipe->Prepare();
    int i = 0;
    for (auto _ : state) {
        wipe->Position = (i++ & 1) ? 600 : 400;
        benchmark::DoNotOptimize(wipe->Step());
        benchmark::ClobberMemory();
    }
    Finish(state);
    state.SetLabel(WipeKinds()[std::size_t(kind)].Name);
}
BENCHMARK(BM_Wipe)->DenseRange(1, kWipeKindCount - 1);

void PrintRatios(const bench::RatioReporter& rep) {
    auto rate = [&](const std::string& n) {
        auto it = rep.rate.find(n);
        return it == rep.rate.end() ? 0.0 : it->second;
    };
    const double alpha = rate("BM_DrawAlpha"), mem = rate("BM_Memcpy");
    std::printf("\n%-16s %9s %12s %10s %6s %s\n", "kind", "us/step", "x DrawAlpha", "x memcpy", "goal", "");
    int over = 0;
    for (int kind = 1; kind < kWipeKindCount; ++kind) {
        const TWipeKindInfo& info = WipeKinds()[std::size_t(kind)];
        const double v = rate("BM_Wipe/" + std::to_string(kind));
        // A step's time over DrawAlpha's: the rates are pixels per second.
        const double xAlpha = v > 0 ? alpha / v : 0, xMem = v > 0 ? mem / v : 0;
        const double goal = info.Mask ? 1.5 : 2.0;
        const bool ok = xAlpha <= goal;
        over += !ok;
        std::printf("%-16s %9.0f %12.2f %10.2f %6.1f %s\n", info.Name, v > 0 ? kPixels / v * 1e6 : 0.0, xAlpha, xMem,
                    goal, ok ? "" : "over");
    }
    std::printf("DrawAlpha: %.0f us per frame, memcpy: %.0f us; kernels: %s; %d kinds over their goal\n",
                alpha > 0 ? kPixels / alpha * 1e6 : 0.0, mem > 0 ? kPixels / mem * 1e6 : 0.0, pixel::Kernels().name,
                over);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    F();
    bench::RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    PrintRatios(rep);
    benchmark::Shutdown();
    return 0;
}
