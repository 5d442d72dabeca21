// Supersampled glyph draws (DrawSampledMono, DrawSampledGlyph): each
// destination pixel averages a Factor x Factor block of source samples.
#include <algorithm>

#include "gfx/channel_math.h"
#include "gfx/dibx.h"
#include "gfx/draw_clip.h"
#include "gfx/pixel_rows.h"

namespace vesk {

namespace {

using namespace pixel;

// The clipped destination of a sampled draw and, per destination pixel,
// the source block it reads.
struct SampledClip {
    TRect dest;
    int blockX0 = 0, blockY0 = 0;  // block index of dest's top-left pixel
};

bool ClipSampled(const TCustomDIBX& dst, int x, int y, int factor, const TRect& srcRect, SampledClip& out) {
    if (srcRect.IsEmpty()) return false;
    const int w = srcRect.Width() / factor, h = srcRect.Height() / factor;
    const TRect d = Intersect(TRect{x, y, x + w, y + h}, dst.EffectiveClip());
    if (d.IsEmpty()) return false;
    out = SampledClip{d, d.Left - x, d.Top - y};
    return true;
}

// The first source column (row) of block b, counted from the right
// (bottom) edge when mirrored.
int BlockStart(int lo, int hi, int factor, int b, bool flip) { return flip ? hi - factor * (b + 1) : lo + factor * b; }

template <class Count>
void ForEachBlock(TCustomDIBX& dst, TCustomDIBX& src, int x, int y, int factor, bool flipV, bool flipH,
                  const TRect& srcRect, Count&& pixel) {
    SampledClip c;
    if (!ClipSampled(dst, x, y, factor, srcRect, c)) return;
    LockedSurface d(dst);
    if (!d) return;
    LockedSurface s(src);
    if (!s) return;
    const int sw = src.Width(), sh = src.Height();
    for (int j = 0; j < c.dest.Height(); ++j) {
        const int sy = BlockStart(srcRect.Top, srcRect.Bottom, factor, c.blockY0 + j, flipV);
        std::uint8_t* drow = d.Row(c.dest.Top + j);
        for (int i = 0; i < c.dest.Width(); ++i) {
            const int sx = BlockStart(srcRect.Left, srcRect.Right, factor, c.blockX0 + i, flipH);
            // Samples outside the source surface count as background.
            auto sample = [&](int bx, int by) -> int {
                const int px = sx + bx, py = sy + by;
                if (px < 0 || py < 0 || px >= sw || py >= sh) return -1;
                return int(ReadPixel(s.Row(py), px, s.Bpp()));
            };
            const int dx = c.dest.Left + i;
            const std::uint32_t old = ReadPixel(drow, dx, d.Bpp());
            std::uint32_t v = old;
            if (pixel(sample, old, v)) WritePixel(drow, dx, d.Bpp(), v);
        }
    }
}

}  // namespace

void TCustomDIBX::DrawSampledMono(int x, int y, int factor, int alpha, bool flipV, bool flipH, TPixel colour,
                                  const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0 || !IsPowerOfTwo(factor) || src.BitCount() != 1 || &src == this) return;
    const std::uint64_t n = std::uint64_t(factor) * factor;
    const int shift = Log2(int(n));  // 4 for the usual factor 4
    ForEachBlock(*this, src, x, y, factor, flipV, flipH, srcRect, [&](auto sample, std::uint32_t d, std::uint32_t& out) {
        std::uint64_t ink = 0;
        for (int by = 0; by < factor; ++by)
            for (int bx = 0; bx < factor; ++bx) ink += sample(bx, by) == 0;  // a 0 bit is ink
        const std::uint64_t c = alpha >= 255 ? ink : (std::uint64_t(alpha) * ink) >> 8;
        if (c == 0) return false;
        out = PerChannel(*this, [&](std::uint64_t m) {
            return (((colour & m) * c + (d & m) * (n - c)) >> shift) & m;
        });
        return true;
    });
}

void TCustomDIBX::DrawSampledGlyph(int x, int y, int factor, int alpha, bool flipV, bool flipH,
                                   const TGlyphColours& colours, const TRect& srcRect, TCustomDIBX& src) {
    if (alpha <= 0 || !IsPowerOfTwo(factor) || src.BitCount() != 4 || &src == this) return;
    const std::uint64_t n = std::uint64_t(factor) * factor;
    const int shift = Log2(int(n)) + 8;
    ForEachBlock(*this, src, x, y, factor, flipV, flipH, srcRect, [&](auto sample, std::uint32_t d, std::uint32_t& out) {
        std::uint64_t k[4] = {0, 0, 0, 0};
        for (int by = 0; by < factor; ++by)
            for (int bx = 0; bx < factor; ++bx) {
                const int v = sample(bx, by);
                if (v > 0) ++k[v & 3];
            }
        if (k[1] + k[2] + k[3] == 0) return false;
        if (alpha == 255 && (k[1] == n || k[2] == n)) {
            out = k[1] == n ? colours[0] : colours[1];
            return true;
        }
        if (alpha > 255) {
            // Additive: the destination keeps its full weight.
            const std::uint64_t in = std::uint64_t(std::min(alpha - 256, 255));
            out = PerChannel(*this, [&](std::uint64_t m) {
                std::uint64_t sum = (d & m) * n * 256;
                for (int j = 1; j <= 3; ++j) sum += k[j] * in * (colours[std::size_t(j - 1)] & m);
                return std::min<std::uint64_t>(m, sum >> shift) & m;
            });
            return true;
        }
        const std::uint64_t unit = alpha == 255 ? 256 : std::uint64_t(alpha);
        const std::uint64_t bg = n * 256 - (k[1] + k[2] + k[3]) * unit;
        out = PerChannel(*this, [&](std::uint64_t m) {
            std::uint64_t sum = (d & m) * bg;
            for (int j = 1; j <= 3; ++j) sum += k[j] * unit * (colours[std::size_t(j - 1)] & m);
            return (sum >> shift) & m;
        });
        return true;
    });
}

}  // namespace vesk
