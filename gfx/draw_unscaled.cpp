#include "gfx/draw_unscaled.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "gfx/draw_clip.h"

namespace vesk::pixel {

namespace {

// A draw from a surface onto itself reads a copy of the source area, so
// overlapping rows never see pixels the draw has already written.
std::unique_ptr<TDIBX> CopyOfArea(TCustomDIBX& src, TRect& srcRect) {
    auto copy = std::make_unique<TDIBX>();
    if (src.BitCount() == 0) return nullptr;
    copy->SetSize(srcRect.Width(), srcRect.Height(), src.BitCount());
    std::array<TPaletteEntry, 256> palette{};
    src.GetPalette(palette);
    copy->SetPalette(palette);
    copy->TransparentColor = src.TransparentColor;
    LockedSurface from(src), to(*copy);
    if (!from || !to) return nullptr;
    const int bpp = from.Bpp();
    for (int y = 0; y < srcRect.Height(); ++y) {
        const std::uint8_t* s = from.Row(srcRect.Top + y);
        std::uint8_t* d = to.Row(y);
        for (int x = 0; x < srcRect.Width(); ++x) WritePixel(d, x, bpp, ReadPixel(s, srcRect.Left + x, bpp));
    }
    srcRect = TRect{0, 0, srcRect.Width(), srcRect.Height()};
    return copy;
}

// A plain copy of whole, unpadded rows between stores of one layout is one
// block of memory: copying it at once saves the per-row calls, which cost a
// fifth of a full-frame copy.
bool CopyAsBlock(const LockedSurface& d, const LockedSurface* s, const UnscaledDraw& draw, const ClippedDraw& c) {
    if (draw.family != Family::Copy || draw.flipV || draw.flipH || !s || !IsNativeBpp(d.Bpp())) return false;
    const int rowBytes = c.dest.Width() * (d.Bpp() / 8);
    if (s->Bpp() != d.Bpp() || s->Pitch() != d.Pitch() || std::abs(d.Pitch()) != rowBytes || c.dest.Left != 0 ||
        c.src.Left != 0)
        return false;
    // Rows run downwards in memory when the pitch is negative: the block
    // starts at the lowest row address.
    const int last = c.dest.Height() - 1;
    const int dFirst = d.Pitch() < 0 ? c.dest.Top + last : c.dest.Top;
    const int sFirst = d.Pitch() < 0 ? c.src.Top + last : c.src.Top;
    std::memcpy(d.Row(dFirst), s->Row(sFirst), std::size_t(rowBytes) * std::size_t(c.dest.Height()));
    return true;
}

void Walk(TCustomDIBX& dst, TCustomDIBX* src, TCustomDIBX* mask, const UnscaledDraw& draw, const ClippedDraw& c) {
    LockedSurface d(dst);
    if (!d) return;
    std::unique_ptr<LockedSurface> s, m;
    if (src) {
        s = std::make_unique<LockedSurface>(*src);
        if (!*s) return;
    }
    if (mask) {
        m = std::make_unique<LockedSurface>(*mask);
        if (!*m) return;
    }
    const int h = c.dest.Height(), w = c.dest.Width();
    if (CopyAsBlock(d, s.get(), draw, c)) return;
    SpanDrawer drawer(d, s.get(), m.get(), draw.family, draw.params);
    for (int j = 0; j < h; ++j) {
        const int sy = draw.flipV ? c.src.Bottom - 1 - j : c.src.Top + j;
        const SourceSpan span{sy, c.src.Left, draw.flipH, nullptr, false};
        drawer.Span(c.dest.Top + j, c.dest.Left, w, span, mask ? &span : nullptr);
    }
}

}  // namespace

std::unique_ptr<TDIBX> CopyOfSurface(TCustomDIBX& src) {
    TRect all = src.BoundsRect();
    return CopyOfArea(src, all);
}

void DrawUnscaled(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, const UnscaledDraw& draw) {
    if (mask && mask->BitCount() != 8) return;
    UnscaledDraw dr = draw;
    CropSource(dr.srcRect, dr.x, dr.y, src.BoundsRect(), dr.flipV, dr.flipH);
    if (mask) CropSource(dr.srcRect, dr.x, dr.y, mask->BoundsRect(), dr.flipV, dr.flipH);
    ClippedDraw c;
    if (!ClipUnscaled(dr.x, dr.y, dr.srcRect, dr.flipV, dr.flipH, dst.EffectiveClip(), c)) return;
    if (&src == &dst || mask == &dst) {
        TRect area = c.src;
        std::unique_ptr<TDIBX> copy = CopyOfArea(src, area);
        if (!copy) return;
        std::unique_ptr<TDIBX> maskCopy;
        if (mask) {
            TRect maskArea = c.src;
            maskCopy = CopyOfArea(*mask, maskArea);
            if (!maskCopy) return;
        }
        Walk(dst, copy.get(), maskCopy.get(), dr, ClippedDraw{c.dest, area});
        return;
    }
    Walk(dst, &src, mask, dr, c);
}

void DrawCoverageSpans(TCustomDIBX& dst, TCustomDIBX& coverage, const UnscaledDraw& draw) {
    if (coverage.BitCount() != 8 || &coverage == &dst) return;
    ClippedDraw c;
    if (!ClipUnscaled(draw.x, draw.y, draw.srcRect, draw.flipV, draw.flipH, dst.EffectiveClip(), c)) return;
    // A coverage rectangle that reaches outside its surface draws nothing.
    if (c.src.Left < 0 || c.src.Top < 0 || c.src.Right > coverage.Width() || c.src.Bottom > coverage.Height())
        return;
    Walk(dst, nullptr, &coverage, draw, c);
}

}  // namespace vesk::pixel
