// Composing a page onto its owner's surface: characters from the page
// surfaces, images from their current frames, each at its glyph's alpha.
#include "gfx/clip_scope.h"
#include "gfx/draw_options.h"
#include "text/char_look.h"
#include "text/qsword.h"
#include "text/wd_img.h"
#include "text/wd_page.h"
#include "text/wd_row.h"

namespace vesk {

namespace {

bool UsableDepth(int bits) { return bits == 15 || bits == 16 || bits == 32; }

// A stretch of adjacent character cells of one row that compose alike:
// the same kind, alpha, colour and band. The cells tile the row, so one
// draw of the stretch puts the same pixels as one draw per cell, and the
// blend loops run over whole rows of text instead of single cells.
struct TCharRun {
    bool Outlined = false;
    int Alpha = 0;
    TPixel Colour = 0;
    TRect Cell{};  // in the page

    bool Extends(const TCharRun& next) const {
        return !Cell.IsEmpty() && next.Outlined == Outlined && next.Alpha == Alpha && next.Colour == Colour &&
               next.Cell.Top == Cell.Top && next.Cell.Bottom == Cell.Bottom && next.Cell.Left == Cell.Right;
    }
};

// The page surfaces hold what every outlined character looks like; plain
// characters are only coverage, tinted here, so a hover or link colour
// shows without drawing the page again.
void ComposeRun(TCustomDIBX& dest, TPageSurfaces& s, int pageX, int pageY, const TCharRun& run) {
    if (run.Cell.IsEmpty()) return;
    const int x = pageX + run.Cell.Left, y = pageY + run.Cell.Top;
    if (run.Outlined) {
        TDrawOptions o;
        o.Alpha = run.Alpha;
        o.Mask = &s.Alpha;
        DrawSurface(dest, x, y, s.Colour, run.Cell, o);
    } else {
        dest.DrawCoverage(x, y, run.Alpha, run.Colour, false, false, run.Cell, s.Alpha);
    }
}

// An image's strength: its glyph's alpha, scaled by the engine's image
// alpha below 256 and turned additive above it.
std::int32_t ImageStrength(int glyphAlpha, std::int32_t imageAlpha) {
    if (imageAlpha == 255) return glyphAlpha;
    if (imageAlpha < 256) return (glyphAlpha * imageAlpha) >> 8;
    return ((glyphAlpha * (imageAlpha - 256)) >> 8) + 256;
}

void ComposeImage(TCustomDIBX& dest, const TWdImg& img, std::int32_t imageAlpha) {
    const TInlinePicture* picture = img.Picture();
    if (!picture || img.FrameIndex() >= picture->FrameCount()) return;
    const TInlineFrame frame = picture->Frame(img.FrameIndex());
    if (!frame.Surface) return;
    TDrawOptions o;
    o.Alpha = ImageStrength(img.Alpha(), imageAlpha);
    o.Mask = frame.Mask;
    o.Keyed = frame.Surface->TransparentColor != -1;
    const TRect source = Intersect(frame.Surface->BoundsRect(), Bounds(0, 0, img.Width(), img.Height()));
    DrawSurface(dest, img.X(), img.Y(), *frame.Surface, source, o);
}

}  // namespace

void TWdPage::Compose(TCustomDIBX& dest) {
    TQsWord& e = Engine();
    TPageSurfaces& s = e.Surfaces();
    if (UsableDepth(dest.BitCount()) && dest.BitCount() != e.SurfaceBitCount) {
        e.SurfaceBitCount = dest.BitCount();
        s.Holder = nullptr;
    }
    if (s.Holder != this) Draw();

    const int pageHeight = e.PageHeight > 0 ? e.PageHeight : Height();
    const TRect clip = Intersect(dest.EffectiveClip(), Bounds(e.OriginX, e.OriginY, Width(), pageHeight));
    if (clip.IsEmpty()) return;
    pixel::ClipScope scope(dest, clip);
    for (int r = 0; r < RowCount(); ++r) {
        const TWdRow& row = Row(r);
        if (Intersect(Bounds(row.X(), row.Y(), Width(), row.Height()), clip).IsEmpty()) continue;
        TCharRun run;
        for (int i = 0; i < row.ChildCount(); ++i) {
            const TWdGlyph& g = *row.Child(i);
            if (g.Alpha() <= 0 || (g.ClassCode() != WD_CHAR && g.ClassCode() != WD_IMG)) continue;
            if (g.ClassCode() == WD_IMG) {
                ComposeImage(dest, static_cast<const TWdImg&>(g), e.ImageAlpha);
                continue;
            }
            TCharRun next;
            next.Outlined = g.BorderWidth() > 0 || g.ShadowWidth() > 0;
            next.Alpha = g.Alpha();
            if (!next.Outlined) next.Colour = TPixel(dest.ColorToPixel(TextColourOf(g)));
            next.Cell = Bounds(g.Left(), row.Top() + g.Top(), g.Width(), g.Height());
            if (run.Extends(next)) {
                run.Cell.Right = next.Cell.Right;
                continue;
            }
            ComposeRun(dest, s, X(), Y(), run);
            run = next;
        }
        ComposeRun(dest, s, X(), Y(), run);
    }
}

}  // namespace vesk
