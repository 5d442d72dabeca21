// The row kernels compiled for AVX2, chosen at run time when the processor
// has it (see pixel_kernels.cpp). The build gives this one file -mavx2 on
// x86 (CMakeLists.txt), which works the same with every compiler. Because the
// whole file is compiled for AVX2, it must not include headers with inline
// code of their own: the linker could pick this file's AVX2 copy of such a
// function for callers on processors without it. The kernels themselves live
// in a namespace of their own. (The intrinsics header is safe: its functions
// are always inlined and never emitted on their own.)
#include <cstdint>

#include "gfx/pixel_kernels.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace vesk::pixel::avx2 {
constexpr const char* kKernelName = "avx2";
#include "gfx/pixel_kernels.inc"

namespace {

#if defined(__AVX2__)

// The constant-alpha blend and the additive draw of 32-bit stores, eight
// pixels at a time with every byte a channel in a 16-bit lane. The
// vectoriser makes packed 32-bit words of Bytes32's arithmetic, which needs
// twice the multiplies. Tails shorter than a vector go to the plain kernels,
// so both give the same results by construction there.
constexpr int kLanes = 8;

__m256i Load(const u32* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
void Store(u32* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// The pixels before the first vector-aligned one of a row: a vector access
// that straddles two cache lines costs about twice as much, and surface
// stores are aligned to 16 bytes only. (The source row usually has the same
// alignment as the destination.)
int HeadToAlign(const u32* d, int n) {
    const int head = int((32 - (reinterpret_cast<std::uintptr_t>(d) & 31)) & 31) / 4;
    return head < n ? head : n;
}

// (s*w + d*(255 - w)) >> 8 per byte, exactly. For w <= 127 the sum is
// s*w - d*(w + 1) + 256*d, whose first part is one multiply-add of the
// unsigned pairs (s, d) by the signed weights (w, -(w + 1)); it lies within
// -255*128 .. 255*127, so the 16-bit lanes never saturate, and
// floor(sum / 256) = floor(part / 256) + d, a byte add. For w >= 128 the
// same holds with the roles of s and d swapped (weights (-(iw + 1), iw),
// iw = 255 - w, plus s).
template <bool LowWeight>
struct BlendBytes {
    explicit BlendBytes(u32 w) : weights(Weights(w)) {}
    static __m256i Weights(u32 w) {
        const u32 iw = 255 - w;
        const u32 pair = LowWeight ? (w | (u32(-int(w + 1)) & 0xFF) << 8) : ((u32(-int(iw + 1)) & 0xFF) | iw << 8);
        return _mm256_set1_epi16(short(pair));
    }
    __m256i operator()(__m256i s, __m256i d) const {
        const __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(s, d), weights);
        const __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(s, d), weights);
        const __m256i q = _mm256_packs_epi16(_mm256_srai_epi16(lo, 8), _mm256_srai_epi16(hi, 8));
        return _mm256_add_epi8(q, LowWeight ? d : s);
    }
    __m256i weights;
};

// The skip rules and the weight's half are template arguments so a draw
// pays only for the rules it uses.
template <bool UseKey, bool SkipEqual, bool LowWeight>
void Alpha32(u32* __restrict d, const u32* __restrict s, int n, const RowParams& p, const Channels& c) {
    const BlendBytes<LowWeight> blend(u32(p.weight));
    const __m256i key = _mm256_set1_epi32(int(p.key));
    auto one = [&](int i) {
        const __m256i sv = Load(s + i), dv = Load(d + i);
        __m256i skip = _mm256_setzero_si256();
        if constexpr (UseKey) skip = _mm256_cmpeq_epi32(sv, key);
        if constexpr (SkipEqual) skip = _mm256_or_si256(skip, _mm256_cmpeq_epi32(sv, dv));
        const __m256i r = blend(sv, dv);
        Store(d + i, UseKey || SkipEqual ? _mm256_blendv_epi8(r, dv, skip) : r);
    };
    const int head = HeadToAlign(d, n);
    if (head > 0) Alpha<u32, Bytes32>(d, s, head, p, c);
    int i = head;
    for (; i + 2 * kLanes <= n; i += 2 * kLanes) {
        one(i);
        one(i + kLanes);
    }
    if (i + kLanes <= n) {
        one(i);
        i += kLanes;
    }
    if (i < n) Alpha<u32, Bytes32>(d + i, s + i, n - i, p, c);
}

template <bool UseKey, bool SkipEqual>
void Alpha32By(u32* __restrict d, const u32* __restrict s, int n, const RowParams& p, const Channels& c) {
    p.weight <= 127 ? Alpha32<UseKey, SkipEqual, true>(d, s, n, p, c) : Alpha32<UseKey, SkipEqual, false>(d, s, n, p, c);
}

void Alpha32Any(u32* __restrict d, const u32* __restrict s, int n, const RowParams& p, const Channels& c) {
    if (p.useKey) {
        p.skipEqual ? Alpha32By<true, true>(d, s, n, p, c) : Alpha32By<true, false>(d, s, n, p, c);
    } else {
        p.skipEqual ? Alpha32By<false, true>(d, s, n, p, c) : Alpha32By<false, false>(d, s, n, p, c);
    }
}

// min(255, d + ((s*w) >> 8)) per byte: s in the high byte of a 16-bit lane
// times w, keeping the high half of the product, gives (s*w) >> 8 exactly.
void Add32Avx2(u32* __restrict d, const u32* __restrict s, int n, const RowParams& p, const Channels& c) {
    const __m256i w = _mm256_set1_epi16(short(p.weight));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i key = _mm256_set1_epi32(int(p.key));
    const __m256i useKey = _mm256_set1_epi32(p.useKey ? -1 : 0);
    const int head = HeadToAlign(d, n);
    if (head > 0) Add32(d, s, head, p, c);
    int i = head;
    for (; i + kLanes <= n; i += kLanes) {
        const __m256i sv = Load(s + i), dv = Load(d + i);
        const __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, sv), w);
        const __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, sv), w);
        const __m256i sum = _mm256_adds_epu8(dv, _mm256_packus_epi16(lo, hi));
        const __m256i skip = _mm256_and_si256(useKey, _mm256_cmpeq_epi32(sv, key));
        Store(d + i, _mm256_blendv_epi8(sum, dv, skip));
    }
    if (i < n) Add32(d + i, s + i, n - i, p, c);
}

void SpecialiseBytes32(KernelSet<u32>& k) {
    k.alpha = &Alpha32Any;
    k.add = &Add32Avx2;
}

#else

void SpecialiseBytes32(KernelSet<u32>&) {}

#endif

}  // namespace
}  // namespace vesk::pixel::avx2

namespace vesk::pixel {
const PixelKernels& Avx2Kernels() { return avx2::KernelTable(); }
}  // namespace vesk::pixel
