#include "transitions/grey_rows.h"

#include "transitions/wide_kernels.h"

namespace vesk::wipe {

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
        level = (b >= n) & (b < n + 512) ? v : 0;
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
            d[i] = Bytes32::AddSat(s.fromOld ? o[i] : n[i], u32(s.level) * 0x010101u);
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
            d[i] = f.AddSat(s.fromOld ? o[i] : n[i], grey[s.level]);
        }
    }
};

template <bool Darken>
struct Shadow32 {
    VESK_WIPE_INLINE void operator()(u32* d, const u32* o, const u32* n, const u8* g, int w, int q) const {
        for (int i = 0; i < w; ++i) {
            const ShadowLevel s(q, g[i]);
            const u32 px = s.fromNew ? n[i] : o[i], grey = u32(s.level) * 0x010101u;
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
            const u16 px = s.fromNew ? n[i] : o[i];
            d[i] = Darken ? f.SubSat(px, grey[s.level]) : f.AddSat(px, grey[s.level]);
        }
    }
};

}  // namespace

void SpotRow(u32* d, const u32* o, const u32* n, const std::int32_t* dist, int w, int b) {
    RunRow(Spot32{}, d, o, n, dist, w, b);
}

void SpotRow(u16* d, const u16* o, const u16* n, const std::int32_t* dist, int w, int b, const Fields16& f,
             const u16* grey16) {
    RunRow(Spot16{f, grey16}, d, o, n, dist, w, b);
}

void ShadowRow(u32* d, const u32* o, const u32* n, const u8* g, int w, int q, bool darken) {
    if (darken) RunRow(Shadow32<true>{}, d, o, n, g, w, q);
    else RunRow(Shadow32<false>{}, d, o, n, g, w, q);
}

void ShadowRow(u16* d, const u16* o, const u16* n, const u8* g, int w, int q, bool darken, const Fields16& f,
               const u16* grey16) {
    if (darken) RunRow(Shadow16<true>{f, grey16}, d, o, n, g, w, q);
    else RunRow(Shadow16<false>{f, grey16}, d, o, n, g, w, q);
}

}  // namespace vesk::wipe
