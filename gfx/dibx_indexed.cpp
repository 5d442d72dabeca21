// Palette-indexed draws: 4-bit indexes through a colour table
// (DrawIndexed4), and 8-bit indexes added through a table, unscaled
// (DrawIndexedAdd) and stretched (StretchDrawIndexedAdd).
#include <algorithm>

#include "gfx/dibx.h"
#include "gfx/draw_clip.h"
#include "gfx/draw_span.h"
#include "gfx/stretch_map.h"

namespace vesk {

namespace {

using namespace pixel;

// Destination pixels that an additive palette draw leaves alone: already
// white.
bool IsWhite(std::uint32_t d, int bitCount) {
    if (bitCount == 32) return d >= 0xFFFFFFu;
    if (bitCount == 16 || bitCount == 15) return d == 0xFFFFu;
    return false;
}

// Runs rows of prepared values: for each destination row, fill(j, values,
// mask) prepares n values and a 0/255 mask, which the masked kernels draw.
template <class Fill>
void IndexedRows(TCustomDIBX& dst, TCustomDIBX& src, const TRect& dest, Family family, const RowParams& params,
                 Fill&& fill) {
    if (&src == &dst) return;
    LockedSurface d(dst);
    if (!d) return;
    LockedSurface s(src);
    if (!s) return;
    SpanDrawer drawer(d, nullptr, nullptr, family, params);
    const int n = dest.Width();
    std::vector<std::uint32_t> values(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(n));
    for (int j = 0; j < dest.Height(); ++j) {
        if (!fill(j, s, d.Row(dest.Top + j), values.data(), mask.data())) continue;
        drawer.SpanFrom(dest.Top + j, dest.Left, n, values.data(), mask.data());
    }
}

}  // namespace

void TCustomDIBX::DrawIndexed4(int x, int y, std::span<const std::uint32_t> colourTable, int alpha, bool flipV,
                               bool flipH, const TRect& srcRectIn, TCustomDIBX& src) {
    if (alpha <= 0 || colourTable.size() < 16 || src.BitCount() != 4) return;
    TRect srcRect = srcRectIn;
    CropSource(srcRect, x, y, src.BoundsRect(), flipV, flipH);
    ClippedDraw c;
    if (!ClipUnscaled(x, y, srcRect, flipV, flipH, EffectiveClip(), c)) return;
    RowParams p;
    p.mask255Plain = true;
    Family f = Family::Masked;
    const bool add = alpha > 255;
    if (alpha == 255) p.weight = -1;  // the 0/255 mask: copy or keep
    else if (!add) p.weight = alpha;
    else f = Family::AddMasked, p.weight = alpha & 0xFF;
    const bool narrow = StorageBitCount() == 16;
    const int bits = BitCount();
    const std::int32_t key = src.TransparentColor;
    IndexedRows(*this, src, c.dest, f, p, [&](int j, const LockedSurface& s, const std::uint8_t* drow,
                                               std::uint32_t* values, std::uint8_t* mask) {
        const int sy = flipV ? c.src.Bottom - 1 - j : c.src.Top + j;
        const std::uint8_t* srow = s.Row(sy);
        for (int i = 0; i < c.dest.Width(); ++i) {
            const int sx = flipH ? c.src.Right - 1 - i : c.src.Left + i;
            const std::uint32_t index = ReadPixel(srow, sx, 4);
            std::uint32_t v = colourTable[index];
            if (narrow) v &= 0xFFFF;
            bool skip = std::int32_t(index) == key;
            if (add) skip = skip || v == 0 || IsWhite(ReadPixel(drow, c.dest.Left + i, StorageBitCount()), bits);
            values[i] = v;
            mask[i] = skip ? 0 : 255;
        }
        return true;
    });
}

void TCustomDIBX::DrawIndexedAdd(int x, int y, std::span<const std::uint32_t> colourTable, int intensity,
                                 bool flipV, bool flipH, int minIndex, const TRect& srcRectIn, TCustomDIBX& src) {
    if (intensity <= 0 || colourTable.size() < 256 || src.BitCount() != 8) return;
    TRect srcRect = srcRectIn;
    CropSource(srcRect, x, y, src.BoundsRect(), flipV, flipH);
    ClippedDraw c;
    if (!ClipUnscaled(x, y, srcRect, flipV, flipH, EffectiveClip(), c)) return;
    RowParams p;
    p.weight = std::min(intensity, 255);
    p.mask255Plain = true;
    IndexedRows(*this, src, c.dest, Family::AddMasked, p, [&](int j, const LockedSurface& s, const std::uint8_t*,
                                                              std::uint32_t* values, std::uint8_t* mask) {
        const int sy = flipV ? c.src.Bottom - 1 - j : c.src.Top + j;
        const std::uint8_t* srow = s.Row(sy);
        for (int i = 0; i < c.dest.Width(); ++i) {
            const int index = srow[flipH ? c.src.Right - 1 - i : c.src.Left + i];
            values[i] = colourTable[std::size_t(index)];
            mask[i] = index >= minIndex ? 255 : 0;
        }
        return true;
    });
}

void TCustomDIBX::StretchDrawIndexedAdd(const TRect& destRect, TCustomDIBX& src,
                                        std::span<const std::uint32_t> colourTable, int intensity, bool flipV,
                                        bool flipH, int minIndex, const TRect& srcRect) {
    if (intensity <= 0 || colourTable.size() < 256 || src.BitCount() != 8) return;
    StretchMap map;
    if (!BuildStretchMap(destRect, srcRect, src.BoundsRect(), flipV, flipH, EffectiveClip(), map)) return;
    RowParams p;
    p.weight = std::min(intensity, 255);
    p.mask255Plain = true;
    IndexedRows(*this, src, map.dest, Family::AddMasked, p, [&](int j, const LockedSurface& s, const std::uint8_t*,
                                                                std::uint32_t* values, std::uint8_t* mask) {
        const int row = map.SourceRow(j);
        if (row < 0) return false;
        const std::uint8_t* srow = s.Row(row);
        for (std::size_t i = 0; i < map.cols.size(); ++i) {
            const int index = srow[map.cols[i]];
            values[i] = colourTable[std::size_t(index)];
            mask[i] = index >= minIndex ? 255 : 0;
        }
        return true;
    });
}

}  // namespace vesk
