// Surface drawing speed at 800x600, hot in cache: each operation in
// megapixels per second, as a ratio to a plain memcpy of the same frame and
// to pixman's nearest equivalent, all measured in the same run. A build
// without pixman leaves its benchmarks out, and their ratios print as 0.
#include <benchmark/benchmark.h>
#ifdef VESK_HAVE_PIXMAN
#include <pixman.h>
#endif

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "gfx/dibx.h"
#include "gfx/pixel_kernels.h"
#include "bench/noise.h"
#include "bench/ratio_reporter.h"

using namespace vesk;

namespace {

constexpr int kW = 800, kH = 600;
constexpr std::int64_t kPixels = std::int64_t(kW) * kH;

using bench::Noise;

struct Frames {
    TDIBX src32{kW, kH, 32}, dst32{kW, kH, 32}, mask{kW, kH, 8}, half32{kW / 2, kH / 2, 32};
    TDIBX src16{kW, kH, 16}, dst16{kW, kH, 16};
    std::vector<std::uint32_t> pmSrc, pmDst, pmHalf;
    std::vector<std::uint16_t> pmSrc16, pmDst16;
    std::vector<std::uint8_t> pmMask;

    Frames() {
        std::uint32_t s = 1;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                src32.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
                dst32.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
                src16.SetPixel(x, y, Noise(s) >> 16);
                dst16.SetPixel(x, y, Noise(s) >> 16);
                mask.SetPixel(x, y, Noise(s) >> 24);
                if (x < kW / 2 && y < kH / 2) half32.SetPixel(x, y, Noise(s) & 0x00FFFFFF);
            }
        pmSrc.assign(std::size_t(kPixels), 0);
        pmDst.assign(std::size_t(kPixels), 0);
        pmHalf.assign(std::size_t(kPixels / 4), 0);
        pmSrc16.assign(std::size_t(kPixels), 0);
        pmDst16.assign(std::size_t(kPixels), 0);
        pmMask.assign(std::size_t(kPixels), 0);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const std::size_t i = std::size_t(y) * kW + std::size_t(x);
                pmSrc[i] = src32.GetPixel(x, y) | 0xFF000000u;
                pmDst[i] = dst32.GetPixel(x, y);
                pmSrc16[i] = std::uint16_t(src16.GetPixel(x, y));
                pmDst16[i] = std::uint16_t(dst16.GetPixel(x, y));
                pmMask[i] = std::uint8_t(mask.GetPixel(x, y));
                if (x < kW / 2 && y < kH / 2) pmHalf[std::size_t(y) * (kW / 2) + std::size_t(x)] = half32.GetPixel(x, y);
            }
    }
};

Frames& F() {
    static Frames f;
    return f;
}

const TRect kFull{0, 0, kW, kH};

void Finish(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * kPixels); }

// ---- Baseline ----

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

// ---- Ours ----

// Argument: the kernel set, 0 baseline, 1 AVX2, 2 AVX-512 (skipped when the
// processor lacks it).
const pixel::PixelKernels* SetOf(std::int64_t arg) {
    // A set's table may only be asked for where the processor runs it.
    switch (arg) {
        case 0: return &pixel::BaselineKernels();
        case 1: return pixel::CpuHasAvx2() ? &pixel::Avx2Kernels() : nullptr;
        default: return pixel::CpuHasAvx512() ? &pixel::Avx512Kernels() : nullptr;
    }
}

template <class Body>
void Ours(benchmark::State& state, Body&& body) {
    const pixel::PixelKernels* set = SetOf(state.range(0));
    if (!set) {
        state.SkipWithError("kernel set not supported by this processor");
        return;
    }
    pixel::UseKernels(set);
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    pixel::UseKernels(nullptr);
    Finish(state);
}

void BM_Draw(benchmark::State& st) {
    Ours(st, [] { F().dst32.Draw(0, 0, false, false, false, kFull, F().src32); });
}
void BM_DrawAlpha(benchmark::State& st) {
    Ours(st, [] { F().dst32.DrawAlpha(0, 0, 128, false, false, false, kFull, F().src32); });
}
void BM_DrawMasked(benchmark::State& st) {
    Ours(st, [] { F().dst32.DrawMasked(0, 0, F().mask, false, false, kFull, F().src32); });
}
void BM_DrawAlphaMasked(benchmark::State& st) {
    Ours(st, [] { F().dst32.DrawAlphaMasked(0, 0, 200, F().mask, false, false, kFull, F().src32); });
}
void BM_DrawAdd(benchmark::State& st) {
    Ours(st, [] { F().dst32.DrawAdd(0, 0, 128, false, false, kFull, F().src32); });
}
void BM_StretchDraw(benchmark::State& st) {
    Ours(st, [] { F().dst32.StretchDraw(kFull, F().half32, 255, false, false, false, F().half32.BoundsRect()); });
}
// 30 degrees (about 21/256 of a turn) around the frame's centre.
void BM_DrawRotate(benchmark::State& st) {
    Ours(st, [] {
        F().dst32.DrawRotate(kW / 2, kH / 2, 255, false, false, false, 21, kH / 2, kW / 2, kFull, F().src32, 256, 256);
    });
}
void BM_DrawRotateAlpha(benchmark::State& st) {
    Ours(st, [] {
        F().dst32.DrawRotate(kW / 2, kH / 2, 128, false, false, false, 21, kH / 2, kW / 2, kFull, F().src32, 256, 256);
    });
}
void BM_DrawAlpha16(benchmark::State& st) {
    Ours(st, [] { F().dst16.DrawAlpha(0, 0, 128, false, false, false, kFull, F().src16); });
}

BENCHMARK(BM_Draw)->DenseRange(0, 2);
BENCHMARK(BM_DrawAlpha)->DenseRange(0, 2);
BENCHMARK(BM_DrawMasked)->DenseRange(0, 2);
BENCHMARK(BM_DrawAlphaMasked)->DenseRange(0, 2);
BENCHMARK(BM_DrawAdd)->DenseRange(0, 2);
BENCHMARK(BM_StretchDraw)->DenseRange(0, 2);
BENCHMARK(BM_DrawRotate)->DenseRange(0, 2);
BENCHMARK(BM_DrawRotateAlpha)->DenseRange(0, 2);
BENCHMARK(BM_DrawAlpha16)->DenseRange(0, 2);

// ---- pixman ----
#ifdef VESK_HAVE_PIXMAN

struct PixmanImage {
    pixman_image_t* img;
    PixmanImage(pixman_format_code_t fmt, int w, int h, void* bits, int stride)
        : img(pixman_image_create_bits(fmt, w, h, static_cast<std::uint32_t*>(bits), stride)) {}
    ~PixmanImage() { pixman_image_unref(img); }
};

pixman_image_t* Solid(std::uint16_t alpha) {
    const pixman_color_t c{0, 0, 0, alpha};
    return pixman_image_create_solid_fill(&c);
}

void Composite(benchmark::State& state, pixman_op_t op, pixman_image_t* src, pixman_image_t* mask,
               pixman_image_t* dst) {
    for (auto _ : state) {
        pixman_image_composite32(op, src, mask, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    Finish(state);
}

void BM_PixmanSrc(benchmark::State& st) {
    PixmanImage s(PIXMAN_x8r8g8b8, kW, kH, F().pmSrc.data(), kW * 4), d(PIXMAN_x8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    Composite(st, PIXMAN_OP_SRC, s.img, nullptr, d.img);
}
void BM_PixmanOverSolid(benchmark::State& st) {
    PixmanImage s(PIXMAN_a8r8g8b8, kW, kH, F().pmSrc.data(), kW * 4), d(PIXMAN_x8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    pixman_image_t* m = Solid(0x8080);
    Composite(st, PIXMAN_OP_OVER, s.img, m, d.img);
    pixman_image_unref(m);
}
void BM_PixmanOverA8(benchmark::State& st) {
    PixmanImage s(PIXMAN_a8r8g8b8, kW, kH, F().pmSrc.data(), kW * 4), d(PIXMAN_x8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    PixmanImage m(PIXMAN_a8, kW, kH, F().pmMask.data(), kW);
    Composite(st, PIXMAN_OP_OVER, s.img, m.img, d.img);
}
void BM_PixmanAddSolid(benchmark::State& st) {
    PixmanImage s(PIXMAN_a8r8g8b8, kW, kH, F().pmSrc.data(), kW * 4), d(PIXMAN_a8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    pixman_image_t* m = Solid(0x8080);
    Composite(st, PIXMAN_OP_ADD, s.img, m, d.img);
    pixman_image_unref(m);
}
void BM_PixmanStretchNearest(benchmark::State& st) {
    PixmanImage s(PIXMAN_x8r8g8b8, kW / 2, kH / 2, F().pmHalf.data(), kW / 2 * 4);
    PixmanImage d(PIXMAN_x8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
    pixman_image_set_transform(s.img, &t);
    pixman_image_set_filter(s.img, PIXMAN_FILTER_NEAREST, nullptr, 0);
    Composite(st, PIXMAN_OP_SRC, s.img, nullptr, d.img);
}
void BM_PixmanRotateNearestOver(benchmark::State& st) {
    PixmanImage s(PIXMAN_a8r8g8b8, kW, kH, F().pmSrc.data(), kW * 4), d(PIXMAN_x8r8g8b8, kW, kH, F().pmDst.data(), kW * 4);
    // Destination to source: translate to the centre, rotate back, translate.
    const double a = 21 * 2 * M_PI / 256;
    pixman_f_transform_t ft;
    pixman_f_transform_init_translate(&ft, -kW / 2.0, -kH / 2.0);
    pixman_f_transform_rotate(&ft, nullptr, std::cos(-a), std::sin(-a));
    pixman_f_transform_translate(&ft, nullptr, kW / 2.0, kH / 2.0);
    pixman_transform_t t;
    pixman_transform_from_pixman_f_transform(&t, &ft);
    pixman_image_set_transform(s.img, &t);
    pixman_image_set_filter(s.img, PIXMAN_FILTER_NEAREST, nullptr, 0);
    Composite(st, PIXMAN_OP_OVER, s.img, nullptr, d.img);
}
void BM_PixmanOverSolid565(benchmark::State& st) {
    PixmanImage s(PIXMAN_r5g6b5, kW, kH, F().pmSrc16.data(), kW * 2), d(PIXMAN_r5g6b5, kW, kH, F().pmDst16.data(), kW * 2);
    pixman_image_t* m = Solid(0x8080);
    Composite(st, PIXMAN_OP_OVER, s.img, m, d.img);
    pixman_image_unref(m);
}

BENCHMARK(BM_PixmanSrc);
BENCHMARK(BM_PixmanOverSolid);
BENCHMARK(BM_PixmanOverA8);
BENCHMARK(BM_PixmanAddSolid);
BENCHMARK(BM_PixmanStretchNearest);
BENCHMARK(BM_PixmanRotateNearestOver);
BENCHMARK(BM_PixmanOverSolid565);
#endif

using vesk::bench::RatioReporter;

void PrintRatios(const RatioReporter& rep) {
    auto get = [&](const std::string& n) {
        auto it = rep.rate.find(n);
        return it == rep.rate.end() ? 0.0 : it->second;
    };
    const double mem = get("BM_Memcpy");
    struct Row {
        const char* ours;
        const char* pixman;
        const char* goal;
    };
    const Row rows[] = {
        {"BM_Draw", "BM_PixmanSrc", ">= 0.8x memcpy"},
        {"BM_DrawAlpha", "BM_PixmanOverSolid", ">= 0.5x memcpy, >= 2x pixman"},
        {"BM_DrawMasked", "BM_PixmanOverA8", ">= 2x pixman"},
        {"BM_DrawAlphaMasked", "BM_PixmanOverA8", ">= 2x pixman"},
        {"BM_DrawAdd", "BM_PixmanAddSolid", ">= 2x pixman"},
        {"BM_StretchDraw", "BM_PixmanStretchNearest", ">= 1x pixman"},
        {"BM_DrawRotate", "BM_PixmanRotateNearestOver", ">= 2x pixman"},
        {"BM_DrawRotateAlpha", "BM_PixmanRotateNearestOver", "(blend)"},
        {"BM_DrawAlpha16", "BM_PixmanOverSolid565", ">= 2x pixman"},
    };
    // Each set's rate as a ratio to memcpy and to pixman; the set the
    // processor selects is the last one it runs.
    const char* sets[] = {"baseline", "avx2", "avx512"};
    std::printf("\n%-20s", "operation");
    for (const char* s : sets) std::printf(" %9s MP/s xmem xpix", s);
    std::printf("  goal\n");
    for (const Row& r : rows) {
        const double pm = get(r.pixman);
        std::printf("%-20s", r.ours + 3);
        for (int k = 0; k < 3; ++k) {
            const double v = get(std::string(r.ours) + "/" + std::to_string(k));
            std::printf(" %14.0f %4.2f %4.2f", v / 1e6, mem > 0 ? v / mem : 0.0, pm > 0 ? v / pm : 0.0);
        }
        std::printf("  %s\n", r.goal);
    }
    std::printf("memcpy: %.0f MP/s; kernels selected: %s\n", mem / 1e6, pixel::Kernels().name);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    F();
    RatioReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    PrintRatios(rep);
    benchmark::Shutdown();
    return 0;
}
