#include "transitions/grey_rows.h"

#include "transitions/wide_kernels.h"

#if VESK_WIPE_HAS_AVX2
#include <immintrin.h>
#endif

namespace vesk::wipe {

// Every loop reads both pictures at every pixel and selects afterwards: a
// read that depends on the level would keep it from being vectorised.

namespace {

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;

// The pixel (old or new) and its grey level at spot level b over distance n.
struct SpotLevel {
    bool fromOld;
    int level;
    SpotLevel(int b, int n) {
        fromOld = b < n + 256;
        const int v = fromOld ? b - n : n + 511 - b;
        level = (b >= n && b < n + 512) ? v : 0;
    }
};

struct ShadowLevel {
    bool fromNew;
    int level;
    ShadowLevel(int q, int g) {
        int s = q + g - 256;
        s = s < 0 ? 0 : s > 511 ? 511 : s;
        fromNew = s > 255;
        level = fromNew ? 511 - s : s;
    }
};

struct Spot32 {
    VESK_WIPE_INLINE void operator()(u32* d, const u32* o, const u32* n, const std::int32_t* dist, int w,
                                     int b) const {
        for (int i = 0; i < w; ++i) {
            const SpotLevel s(b, dist[i]);
            const u32 ov = o[i], nv = n[i];
            d[i] = Bytes32::AddSat(s.fromOld ? ov : nv, u32(s.level) * 0x010101u);
        }
    }
};

struct Spot16 {
    const Fields16& f;
    const u16* grey;
    VESK_WIPE_INLINE void operator()(u16* d, const u16* o, const u16* n, const std::int32_t* dist, int w,
                                     int b) const {
        for (int i = 0; i < w; ++i) {
            const SpotLevel s(b, dist[i]);
            const u16 ov = o[i], nv = n[i];
            d[i] = f.AddSat(s.fromOld ? ov : nv, grey[s.level]);
        }
    }
};

template <bool Darken>
struct Shadow32 {
    VESK_WIPE_INLINE void operator()(u32* d, const u32* o, const u32* n, const u8* g, int w, int q) const {
        for (int i = 0; i < w; ++i) {
            const ShadowLevel s(q, g[i]);
            const u32 ov = o[i], nv = n[i];
            const u32 px = s.fromNew ? nv : ov, grey = u32(s.level) * 0x010101u;
            d[i] = Darken ? Bytes32::SubSat(px, grey) : Bytes32::AddSat(px, grey);
        }
    }
};

template <bool Darken>
struct Shadow16 {
    const Fields16& f;
    const u16* grey;
    VESK_WIPE_INLINE void operator()(u16* d, const u16* o, const u16* n, const u8* g, int w, int q) const {
        for (int i = 0; i < w; ++i) {
            const ShadowLevel s(q, g[i]);
            const u16 ov = o[i], nv = n[i];
            const u16 px = s.fromNew ? nv : ov;
            d[i] = Darken ? f.SubSat(px, grey[s.level]) : f.AddSat(px, grey[s.level]);
        }
    }
};

#if VESK_WIPE_HAS_AVX2
// The 32-bit loops with the grey added or taken by the saturating byte
// instructions, which the vectoriser does not find for the word arithmetic
// of Bytes32. Eight pixels at a time; the tail goes to the plain loop.
constexpr int kLanes = 8;

VESK_WIPE_AVX2 __m256i GreyOf(__m256i level) {
    return _mm256_or_si256(level, _mm256_or_si256(_mm256_slli_epi32(level, 8), _mm256_slli_epi32(level, 16)));
}

VESK_WIPE_AVX2 void Spot32Wide(u32* d, const u32* o, const u32* n, const std::int32_t* dist, int w, int b) {
    const __m256i vb = _mm256_set1_epi32(b), c256 = _mm256_set1_epi32(256), c511 = _mm256_set1_epi32(511),
                  c512 = _mm256_set1_epi32(512), one = _mm256_set1_epi32(1);
    int i = 0;
    for (; i + kLanes <= w; i += kLanes) {
        const __m256i nd = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dist + i));
        const __m256i fromOld = _mm256_cmpgt_epi32(_mm256_add_epi32(nd, c256), vb);
        const __m256i up = _mm256_sub_epi32(vb, nd), down = _mm256_sub_epi32(_mm256_add_epi32(nd, c511), vb);
        const __m256i in = _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_add_epi32(vb, one), nd),
                                            _mm256_cmpgt_epi32(_mm256_add_epi32(nd, c512), vb));
        const __m256i level = _mm256_and_si256(in, _mm256_blendv_epi8(down, up, fromOld));
        const __m256i ov = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(o + i));
        const __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(n + i));
        const __m256i px = _mm256_blendv_epi8(nv, ov, fromOld);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), _mm256_adds_epu8(px, GreyOf(level)));
    }
    Spot32{}(d + i, o + i, n + i, dist + i, w - i, b);
}

template <bool Darken>
VESK_WIPE_AVX2 void Shadow32Wide(u32* d, const u32* o, const u32* n, const u8* g, int w, int q) {
    const __m256i base = _mm256_set1_epi32(q - 256), zero = _mm256_setzero_si256(), c255 = _mm256_set1_epi32(255),
                  c511 = _mm256_set1_epi32(511);
    int i = 0;
    for (; i + kLanes <= w; i += kLanes) {
        const __m256i gv = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(g + i)));
        const __m256i s = _mm256_min_epi32(_mm256_max_epi32(_mm256_add_epi32(base, gv), zero), c511);
        const __m256i fromNew = _mm256_cmpgt_epi32(s, c255);
        const __m256i level = _mm256_blendv_epi8(s, _mm256_sub_epi32(c511, s), fromNew);
        const __m256i ov = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(o + i));
        const __m256i nv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(n + i));
        const __m256i px = _mm256_blendv_epi8(ov, nv, fromNew);
        const __m256i r = Darken ? _mm256_subs_epu8(px, GreyOf(level)) : _mm256_adds_epu8(px, GreyOf(level));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), r);
    }
    Shadow32<Darken>{}(d + i, o + i, n + i, g + i, w - i, q);
}
#endif

}  // namespace

void SpotRow(u32* d, const u32* o, const u32* n, const std::int32_t* dist, int w, int b) {
#if VESK_WIPE_HAS_AVX2
    if (UseWideKernels()) {
        Spot32Wide(d, o, n, dist, w, b);
        return;
    }
#endif
    Spot32{}(d, o, n, dist, w, b);
}

void SpotRow(u16* d, const u16* o, const u16* n, const std::int32_t* dist, int w, int b, const Fields16& f,
             const u16* grey16) {
    RunRow(Spot16{f, grey16}, d, o, n, dist, w, b);
}

void ShadowRow(u32* d, const u32* o, const u32* n, const u8* g, int w, int q, bool darken) {
#if VESK_WIPE_HAS_AVX2
    if (UseWideKernels()) {
        darken ? Shadow32Wide<true>(d, o, n, g, w, q) : Shadow32Wide<false>(d, o, n, g, w, q);
        return;
    }
#endif
    darken ? Shadow32<true>{}(d, o, n, g, w, q) : Shadow32<false>{}(d, o, n, g, w, q);
}

void ShadowRow(u16* d, const u16* o, const u16* n, const u8* g, int w, int q, bool darken, const Fields16& f,
               const u16* grey16) {
    if (darken) RunRow(Shadow16<true>{f, grey16}, d, o, n, g, w, q);
    else RunRow(Shadow16<false>{f, grey16}, d, o, n, g, w, q);
}

}  // namespace vesk::wipe
