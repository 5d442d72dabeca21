// Putting a cached glyph into a page's colour and alpha surfaces, with its
// border, shadow, underline and strike-out.
#include <algorithm>

#include "gfx/pixel_rows.h"
#include "text/fontpixel.h"
#include "text/tag_values.h"

namespace vesk {

namespace {

using pixel::LockedSurface;
using pixel::ReadPixel;
using pixel::WritePixel;

std::int64_t RoundHalfEven(std::int64_t n, std::int64_t d) {
    if (d < 0) n = -n, d = -d;
    std::int64_t q = n / d, r = n % d;
    if (r < 0) --q, r += d;
    if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
    return q;
}

TRect Union(const TRect& a, const TRect& b) {
    if (b.IsEmpty()) return a;
    if (a.IsEmpty()) return b;
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

// The two page surfaces locked for one glyph, with the writes the glyph
// draw is made of. Every write is clipped to the colour surface's clip and
// to the alpha surface.
class TPagePainter {
public:
    TPagePainter(TCustomDIBX& colour, TCustomDIBX& alpha, const TDIBX& coverage)
        : colour_(colour), alpha_(alpha), coverage_(coverage),
          clip_(Intersect(Intersect(colour.EffectiveClip(), colour.BoundsRect()), alpha.BoundsRect())),
          masks_{colour.RedMask(), colour.GreenMask(), colour.BlueMask()} {}

    bool Ready() const {
        return colour_ && alpha_ && (colour_.Bpp() == 16 || colour_.Bpp() == 32) && alpha_.Bpp() == 8;
    }

    // A band: colour where one is given, alpha 255.
    TRect Band(const TRect& r, const TPixel* colour) {
        const TRect c = Intersect(r, clip_);
        if (c.IsEmpty()) return r;
        for (int y = c.Top; y < c.Bottom; ++y)
            for (int x = c.Left; x < c.Right; ++x) {
                if (colour) WritePixel(colour_.Row(y), x, colour_.Bpp(), *colour);
                alpha_.Row(y)[x] = 255;
            }
        return r;
    }

    // Calls f(x, y, c) for every coverage pixel placed at (x0, y0) that lies
    // inside the clip.
    template <class F>
    void ForEach(int x0, int y0, F&& f) const {
        const int w = coverage_.Width(), h = coverage_.Height();
        const TRect c = Intersect(Bounds(x0, y0, w, h), clip_);
        for (int y = c.Top; y < c.Bottom; ++y) {
            const std::uint8_t* src = coverage_.ScanLine(y - y0);
            for (int x = c.Left; x < c.Right; ++x) f(x, y, src[x - x0]);
        }
    }

    // Colour where there is ink; alpha the stronger of the two.
    void Stamp(int x0, int y0, TPixel colour) {
        ForEach(x0, y0, [&](int x, int y, std::uint8_t c) {
            if (c == 0) return;
            WritePixel(colour_.Row(y), x, colour_.Bpp(), colour);
            std::uint8_t& a = alpha_.Row(y)[x];
            a = std::max(a, c);
        });
    }

    // The coverage copied into the alpha, colour where there is ink.
    void Copy(int x0, int y0, TPixel colour, bool fillAll) {
        ForEach(x0, y0, [&](int x, int y, std::uint8_t c) {
            if (c != 0 || fillAll) WritePixel(colour_.Row(y), x, colour_.Bpp(), colour);
            alpha_.Row(y)[x] = c;
        });
    }

    void Accumulate(int x0, int y0, TPixel colour) {
        ForEach(x0, y0, [&](int x, int y, std::uint8_t c) { AccumulatePixel(x, y, c, colour); });
    }

    // The coverage accumulated at every offset of the (2b + 1)² square but
    // its centre: source pixels row by row, and for each the offsets row by
    // row. Pixels outside the clip are skipped one by one.
    void Dilate(int x0, int y0, int b, TPixel colour) {
        const int w = coverage_.Width(), h = coverage_.Height();
        for (int v = 0; v < h; ++v) {
            const std::uint8_t* src = coverage_.ScanLine(v);
            for (int u = 0; u < w; ++u) {
                const std::uint8_t c = src[u];
                if (c == 0) continue;
                for (int i = -b; i <= b; ++i)
                    for (int j = -b; j <= b; ++j) {
                        if (i == 0 && j == 0) continue;
                        const int x = x0 + u + j, y = y0 + v + i;
                        if (x >= clip_.Left && x < clip_.Right && y >= clip_.Top && y < clip_.Bottom)
                            AccumulatePixel(x, y, c, colour);
                    }
            }
        }
    }

    // The body over its border: full alpha where there is ink, the colour
    // blended from the border to the text by the coverage.
    void BodyOverBorder(int x0, int y0, TPixel text, TPixel border) {
        ForEach(x0, y0, [&](int x, int y, std::uint8_t c) {
            if (c == 0) return;
            alpha_.Row(y)[x] = 255;
            const TPixel p = c == 255 ? text : Mix(text, border, c);
            WritePixel(colour_.Row(y), x, colour_.Bpp(), p);
        });
    }

private:
    // Per masked channel field: (w · a + (255 − w) · b) >> 8.
    TPixel Mix(TPixel a, TPixel b, std::uint32_t w) const {
        TPixel out = 0;
        for (const std::uint32_t m : masks_) out |= TPixel(((w * std::uint64_t(a & m) + (255 - w) * std::uint64_t(b & m)) >> 8) & m);
        return out;
    }

    // Coverage c laid over what the pixel holds: the alpha grows towards
    // 255 and the colour moves towards colour by c's share of the new alpha.
    void AccumulatePixel(int x, int y, std::uint8_t c, TPixel colour) {
        if (c == 0) return;
        std::uint8_t& a = alpha_.Row(y)[x];
        std::uint8_t* row = colour_.Row(y);
        if (c == 255) {
            WritePixel(row, x, colour_.Bpp(), colour);
            a = 255;
            return;
        }
        const int next = a + c * (255 - a) / 255;
        const std::uint32_t v = next == 0 ? 255 : std::uint32_t(c * 255 / next);
        WritePixel(row, x, colour_.Bpp(), Mix(colour, ReadPixel(row, x, colour_.Bpp()), v));
        a = std::uint8_t(next);
    }

    LockedSurface colour_, alpha_;
    const TDIBX& coverage_;
    TRect clip_;
    std::uint32_t masks_[3];
};

}  // namespace

int TFontPixel::CentringOffset(int cellWidth) const {
    const int free = std::min(cellWidth, Height) - Coverage.Width();
    if (LeftBearing + RightGap >= free) return 0;
    const std::int64_t total = std::int64_t(CharA) + CharB + CharC;
    const std::int64_t s = CharA + CharC != 0 && total != 0
                               ? RoundHalfEven((std::int64_t(CharA) + CharB / 2) * free, total)
                               : free / 2;
    return static_cast<int>(std::max<std::int64_t>(0, s - LeftBearing));
}

TRect TFontPixel::DrawTo(TCustomDIBX& colour, TCustomDIBX& alpha, bool clearFirst, TPixel shadowColour,
                         TPixel borderColour, TPixel textColour, bool nextDiffers, bool previousDiffers,
                         int shadowWidth, int borderWidth, const TRect& cell) const {
    if (IsEmpty()) return {};
    TPagePainter page(colour, alpha, Coverage);
    if (!page.Ready()) return {};
    const int b = std::clamp(borderWidth, 0, kMaxOutlineWidth), d = std::clamp(shadowWidth, 0, kMaxOutlineWidth);
    const int L = cell.Left, T = cell.Top, CW = cell.Width(), CH = cell.Height();
    const int w = Coverage.Width(), h = Coverage.Height();
    const int s = CentringOffset(CW);
    const bool underline = (Style & FS_UNDERLINE) != 0, strike = (Style & FS_STRIKEOUT) != 0;
    TRect changed = Bounds(L + LeftBearing + s, T + TopOffset, w + 2 * b + d, h + 2 * b + d);

    if (b == 0 && d == 0) {
        const int x = L + LeftBearing + s, y = T + TopOffset;
        if (clearFirst)
            page.Copy(x, y, textColour, true);
        else
            page.Stamp(x, y, textColour);
        if (underline) changed = Union(changed, page.Band(Bounds(L, T + CH - UnderlineSize, CW, UnderlineSize), nullptr));
        if (strike) changed = Union(changed, page.Band(Bounds(L, T + StrikeTop, CW, StrikeSize), nullptr));
        return changed;
    }

    if (d > 0) {
        // Shadow bands of equal neighbours run on from one cell into the
        // next; the first of a run starts under its own glyph's shadow.
        const int from = L + (previousDiffers ? d : 0), width = CW - (previousDiffers ? d : 0);
        if (underline)
            changed = Union(changed, page.Band(Bounds(from, T + CH - 2 * b - UnderlineSize, width, 2 * b + UnderlineSize),
                                               &shadowColour));
        if (b == 0)
            page.Copy(L + LeftBearing + d + s, T + TopOffset + d, shadowColour, false);
        else
            page.Dilate(L + b + LeftBearing + d + s, T + b + TopOffset + d, b, shadowColour);
        if (strike)
            changed = Union(changed, page.Band(Bounds(from, T + d + StrikeTop, width, 2 * b + StrikeSize), &shadowColour));
    }

    const int x = L + b + LeftBearing + s, y = T + b + TopOffset;
    // The glyph's own bands stop short of the next cell's shadow when that
    // cell is drawn differently.
    const int bandWidth = CW - (nextDiffers ? d : 0);
    if (underline) {
        const int top = T + CH - d - b - UnderlineSize;
        changed = Union(changed, page.Band(Bounds(L, top, bandWidth, UnderlineSize), &textColour));
        if (b > 0) {
            changed = Union(changed, page.Band(Bounds(L, top - b, bandWidth, b), &borderColour));
            changed = Union(changed, page.Band(Bounds(L, top + UnderlineSize, bandWidth, b), &borderColour));
        }
    }
    if (strike) {
        changed = Union(changed, page.Band(Bounds(L, T + b + StrikeTop, bandWidth, StrikeSize), &textColour));
        if (b > 0) {
            changed = Union(changed, page.Band(Bounds(L, T + StrikeTop, bandWidth, b), &borderColour));
            changed = Union(changed, page.Band(Bounds(L, T + StrikeTop + b + StrikeSize, bandWidth, b), &borderColour));
        }
    }
    if (b == 0) {
        page.Accumulate(x, y, textColour);
    } else {
        page.Dilate(x, y, b, borderColour);
        page.BodyOverBorder(x, y, textColour, borderColour);
    }
    return changed;
}

}  // namespace vesk
