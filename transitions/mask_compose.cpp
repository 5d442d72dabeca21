#include "transitions/mask_compose.h"

#include <cstring>

#include "transitions/wide_kernels.h"

#if VESK_WIPE_HAS_AVX2
#include <immintrin.h>
#endif

namespace vesk::wipe {

namespace {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;

// ---- Mixed spans, pixel by pixel. ----

// Both pictures are read at every pixel: a read that depends on the mask
// would keep the loop from being vectorised.
struct Select {
    template <class P>
    VESK_WIPE_INLINE void operator()(P* d, const P* o, const P* n, const u8* m, int k) const {
        for (int i = 0; i < k; ++i) {
            const P ov = o[i], nv = n[i];
            d[i] = m[i] ? nv : ov;
        }
    }
};

// The blend of new over old, except that mask 0 keeps the old pixel and
// 255 takes the new one exactly.
template <class P, class Channels>
VESK_WIPE_INLINE void BlendPixels(P* d, const P* o, const P* n, const u8* m, int k, const Channels& c) {
    for (int i = 0; i < k; ++i) {
        const u32 mv = m[i];
        const P ov = o[i], nv = n[i];
        P r = P(c.Blend(nv, ov, mv));
        r = mv == 0 ? ov : r;
        d[i] = mv == 255 ? nv : r;
    }
}

struct Blend16 {
    const Fields16& f;
    VESK_WIPE_INLINE void operator()(u16* d, const u16* o, const u16* n, const u8* m, int k) const {
        BlendPixels(d, o, n, m, k, f);
    }
};

void Blend32Plain(u32* d, const u32* o, const u32* n, const u8* m, int k) { BlendPixels(d, o, n, m, k, Bytes32{}); }

#if VESK_WIPE_HAS_AVX2
// Eight 32-bit pixels at a time, each byte a channel, with one signed
// multiply-add per byte pair. The weight bytes (w, 255 - w) read as signed
// are (w, -(w + 1)) for w <= 127 and (w - 256, 255 - w) above, so the
// multiply-add of the pairs (new, old) is n*w + o*(255 - w) less 256*o, or
// less 256*n; the part lies within -255*128 .. 255*127, never saturating,
// and its floor over 256 plus o (or n) is the blend exactly. The high bit
// of the weight byte picks which. The tail goes to the plain loop, which
// computes the same.
VESK_WIPE_AVX2 void Blend32Wide(u32* d, const u32* o, const u32* n, const u8* m, int k) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i full = _mm256_set1_epi8(char(0xFF));
    // Each mask byte repeated over the four bytes of its pixel; shuffles
    // stay within 128-bit lanes, so the upper lane takes bytes 4 to 7.
    const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 6,
                                            6, 6, 6, 7, 7, 7, 7);
    int i = 0;
    for (; i + 8 <= k; i += 8) {
        u64 mm;
        std::memcpy(&mm, m + i, 8);
        const __m256i wv = _mm256_shuffle_epi8(_mm256_set1_epi64x(static_cast<long long>(mm)), spread);
        const __m256i iv = _mm256_xor_si256(wv, full);
        const __m256i ov = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(o + i));
        const __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(n + i));
        const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(nv, ov), _mm256_unpacklo_epi8(wv, iv));
        const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(nv, ov), _mm256_unpackhi_epi8(wv, iv));
        const __m256i part = _mm256_packs_epi16(_mm256_srai_epi16(lo, 8), _mm256_srai_epi16(hi, 8));
        __m256i r = _mm256_add_epi8(part, _mm256_blendv_epi8(ov, nv, wv));
        r = _mm256_blendv_epi8(r, ov, _mm256_cmpeq_epi8(wv, zero));
        r = _mm256_blendv_epi8(r, nv, _mm256_cmpeq_epi8(wv, full));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), r);
    }
    Blend32Plain(d + i, o + i, n + i, m + i, k - i);
}
#endif

// ---- Runs. ----

// Pixels per classified chunk: long enough that a copy beats the pixel
// loop, short enough that the edges of shapes stay in the copies.
constexpr int kChunk = 16;

enum class Chunk { Old, New, Mixed };

Chunk Classify(const u8* m) {
    u64 a, b;
    std::memcpy(&a, m, 8);
    std::memcpy(&b, m + 8, 8);
    if ((a | b) == 0) return Chunk::Old;
    if ((a & b) == ~u64(0)) return Chunk::New;
    return Chunk::Mixed;
}

// Walks a row in chunks and hands each maximal stretch of one class to
// copy (old or new pixels) or to mixed; the tail shorter than a chunk is
// mixed.
template <class Copy, class Mixed>
void Runs(const u8* m, int w, Copy&& copy, Mixed&& mixed) {
    int start = 0;
    Chunk run = Chunk::Mixed;
    auto flush = [&](int end) {
        if (end <= start) return;
        if (run == Chunk::Mixed) mixed(start, end - start);
        else copy(run == Chunk::New, start, end - start);
    };
    int x = 0;
    for (; x + kChunk <= w; x += kChunk) {
        const Chunk c = Classify(m + x);
        if (c != run) {
            flush(x);
            start = x;
            run = c;
        }
    }
    if (run != Chunk::Mixed) {
        flush(x);
        start = x;
        run = Chunk::Mixed;
    }
    flush(w);
}

// The row with uniform stretches copied and the rest handed to mixed(d, o,
// n, m, k) at their start.
template <class P, class Mixed>
void ComposeRuns(P* d, const P* o, const P* n, const u8* m, int w, Mixed&& mixed) {
    auto copy = [&](bool fromNew, int x, int k) {
        std::memcpy(d + x, (fromNew ? n : o) + x, std::size_t(k) * sizeof(P));
    };
    Runs(m, w, copy, [&](int x, int k) { mixed(d + x, o + x, n + x, m + x, k); });
}

template <class P, class Body>
void ComposeRunsWith(P* d, const P* o, const P* n, const u8* m, int w, const Body& body) {
    ComposeRuns(d, o, n, m, w,
                [&](P* dd, const P* oo, const P* nn, const u8* mm, int k) { RunRow(body, dd, oo, nn, mm, k); });
}

}  // namespace

void ComposeRow(u32* d, const u32* o, const u32* n, const u8* m, int w, bool twoLevel) {
    if (twoLevel) {
        ComposeRunsWith(d, o, n, m, w, Select{});
        return;
    }
    auto* blend = Blend32Plain;
#if VESK_WIPE_HAS_AVX2
    if (UseWideKernels()) blend = Blend32Wide;
#endif
    ComposeRuns(d, o, n, m, w, blend);
}

void ComposeRow(u16* d, const u16* o, const u16* n, const u8* m, int w, bool twoLevel, const Fields16& f) {
    if (twoLevel) ComposeRunsWith(d, o, n, m, w, Select{});
    else ComposeRunsWith(d, o, n, m, w, Blend16{f});
}

}  // namespace vesk::wipe
