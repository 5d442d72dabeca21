// Decoding an 800x600 32-bit layered image with zlib and with JPEG colour
// data, against a raw inflate and a raw libjpeg-turbo decode of the very same
// bytes, measured in the same run. The goal is at most 1.2x the raw decode.

#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "common/stream.h"
#include "gfx/fenks.h"

#include <libdeflate.h>

using namespace vesk;

namespace {

constexpr int kWidth = 800, kHeight = 600;

// Something like an illustration: smooth shading with edges and a little
// grain, so zlib and JPEG see realistic data.
TFenkFrameList Picture() {
    TFenkFrameList list;
    TFenkFrame& f = list.AddFrame();
    f.Image.SetSize(kWidth, kHeight, 32);
    std::uint32_t grain = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            grain = grain * 1103515245u + 12345u;
            const int n = static_cast<int>((grain >> 16) & 7);
            const int r = static_cast<int>(128 + 100 * std::sin(x * 0.013) * std::cos(y * 0.021)) + n;
            const int g = ((x / 40 + y / 40) & 1) ? 200 - y / 4 : 60 + n;
            const int b = static_cast<int>(128 + 120 * std::sin((x + y) * 0.007));
            auto c = [](int v) { return static_cast<std::uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            f.Image.SetPixel(x, y, c(r) << 16 | c(g) << 8 | c(b));
        }
    }
    return list;
}

struct TEncoded {
    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> colourData;  // the colour data block inside the file
};

TEncoded Encode(int compression) {
    TFenkFrameList list = Picture();
    TMemoryStream s;
    list.SaveToStream(s, compression, 90);
    TEncoded e;
    e.file = s.Bytes();
    // Signature and header, frame fields (no palette at 32 bits), the layer
    // fields up to its name "Layer", then the colour data size and bytes.
    const std::size_t at = 7 + 4 + 40 + 33 + 27;
    std::int32_t size;
    std::memcpy(&size, e.file.data() + at, 4);
    e.colourData.assign(e.file.begin() + at + 4, e.file.begin() + at + 4 + size);
    return e;
}

const TEncoded& Zlibbed() {
    static const TEncoded e = Encode(FK_ZLIB);
    return e;
}

const TEncoded& Jpegged() {
    static const TEncoded e = Encode(FK_JPEG);
    return e;
}

void DecodeFenk(benchmark::State& state, const TEncoded& e) {
    // The image cache reads a file into memory once and decodes from there.
    TMemoryStream s(e.file);
    for (auto _ : state) {
        s.SetPosition(0);
        TFenkFrameList list;
        list.LoadFromStream(s, true, false);
        benchmark::DoNotOptimize(list[0].Image.Bits());
    }
}

void BM_FenkZlib(benchmark::State& state) { DecodeFenk(state, Zlibbed()); }
void BM_FenkJpeg(benchmark::State& state) { DecodeFenk(state, Jpegged()); }

// The baselines write into a buffer allocated once, as a decoder into a
// reused surface would.
void BM_RawInflateZlib(benchmark::State& state) {
    const TEncoded& e = Zlibbed();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        uLongf n = out.size();
        if (uncompress(out.data(), &n, e.colourData.data(), e.colourData.size()) != Z_OK) state.SkipWithError("inflate");
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_RawInflateLibdeflate(benchmark::State& state) {
    const TEncoded& e = Zlibbed();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        if (libdeflate_zlib_decompress(d, e.colourData.data(), e.colourData.size(), out.data(), out.size(), nullptr) !=
            LIBDEFLATE_SUCCESS)
            state.SkipWithError("libdeflate");
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
}

void BM_RawJpegDecode(benchmark::State& state) {
    const TEncoded& e = Jpegged();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr err{};
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, e.colourData.data(), static_cast<unsigned long>(e.colourData.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out.data() + static_cast<std::size_t>(cinfo.output_scanline) * kWidth * 4;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(out.data());
    }
}

}  // namespace

BENCHMARK(BM_RawInflateZlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawInflateLibdeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FenkZlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawJpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FenkJpeg)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
