// Drawing a page's characters, with their ruby, into the engine's page
// surfaces. Images are not drawn here: composition shows their frames.
#include <algorithm>

#include "common/sjis.h"
#include "text/char_code.h"
#include "text/char_look.h"
#include "text/fontpixel_manager.h"
#include "text/qsword.h"
#include "text/tag_values.h"
#include "text/wd_char.h"
#include "text/wd_page.h"
#include "text/wd_row.h"

namespace vesk {

namespace {

int RoundHalfEven(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    const std::int64_t r = n % d;
    if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
    return static_cast<int>(q);
}

TRect Union(const TRect& a, const TRect& b) {
    if (b.IsEmpty()) return a;
    if (a.IsEmpty()) return b;
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

TWdChar* CharAt(const TWdRow& row, int i) {
    TWdGlyph* g = row.Child(i);
    return g && g->ClassCode() == WD_CHAR ? static_cast<TWdChar*>(g) : nullptr;
}

// Outlines of neighbours join when they are drawn alike.
bool OutlineDiffers(const TCharLook& a, const TWdChar* neighbour) {
    if (!neighbour) return true;
    const TCharLook b = LookOf(*neighbour);
    return a.Border != b.Border || a.Shadow != b.Shadow || a.BorderColor != b.BorderColor ||
           a.ShadowColor != b.ShadowColor;
}

// The characters of one row drawn into the page surfaces.
class TRowPainter {
public:
    TRowPainter(TQsWord& engine, const TWdRow& row)
        : e_(engine), s_(engine.Surfaces()), cache_(engine.Cache()), row_(row) {}

    void Paint() {
        for (int i = 0; i < row_.ChildCount(); ++i)
            if (TWdChar* c = CharAt(row_, i)) PaintChar(*c, i);
    }

private:
    struct TInk {
        TPixel Text, Border, Shadow;
    };

    TInk InkOf(const TCharLook& look, std::int32_t text) const {
        return {TPixel(s_.Colour.ColorToPixel(text)), TPixel(s_.Colour.ColorToPixel(look.BorderColor)),
                TPixel(s_.Colour.ColorToPixel(look.ShadowColor))};
    }

    TRect DrawGlyph(std::uint16_t code, const std::string& font, std::uint8_t style, int size, const TInk& ink,
                    bool nextDiffers, bool previousDiffers, int shadow, int border, const TRect& cell) {
        cache_.Quality = e_.RenderQuality;
        const TFontPixel& g = cache_.GetGlyph(code, font, style, size);
        return g.DrawTo(s_.Colour, s_.Alpha, false, ink.Shadow, ink.Border, ink.Text, nextDiffers, previousDiffers,
                        shadow, border, cell);
    }

    void PaintChar(TWdChar& c, int i) {
        const TCharLook look = LookOf(c);
        const TInk ink = InkOf(look, TextColourOf(c));
        const int x = c.Left(), y = row_.Top() + c.Top();
        const TRect cell = Bounds(x, y + look.RubyBand, c.Width(), c.Height() - look.RubyBand);
        TRect drawn = DrawGlyph(c.Code(), look.FontName, look.Style, look.Size, ink,
                                OutlineDiffers(look, CharAt(row_, i + 1)), OutlineDiffers(look, CharAt(row_, i - 1)),
                                look.Shadow, look.Border, cell);
        const TWdChar* previous = CharAt(row_, i - 1);
        if (look.RubyBand > 0 && !(previous && previous->Ruby() == c.Ruby()))
            drawn = Union(drawn, PaintRuby(c, i, look, ink));
        c.DrawnRect = drawn;
    }

    // The ruby of the run of characters that starts at i and shares it,
    // spread evenly over the run's width at half the size, its outline at
    // most one pixel wide.
    TRect PaintRuby(const TWdChar& first, int i, const TCharLook& look, const TInk& ink) {
        const std::string ruby = first.Ruby();
        int runWidth = 0;
        for (int k = i; const TWdChar* c = CharAt(row_, k); ++k) {
            if (c->Ruby() != ruby) break;
            runWidth += c->Width();
        }
        std::vector<std::uint16_t> codes;
        for (std::size_t b = 0; b < ruby.size(); b += SjisCharLen(ruby, b)) codes.push_back(CharCodeAt(ruby, b));
        const int n = static_cast<int>(codes.size());
        const int r = std::max(1, look.Size / 2);
        const int border = std::min(1, look.Border), shadow = std::min(1, look.Shadow);
        const std::uint8_t style = look.Style & ~(FS_UNDERLINE | FS_STRIKEOUT);
        const int top = row_.Top() + first.Top();
        TRect drawn{};
        for (int k = 0; k < n; ++k) {
            const bool wide = codes[std::size_t(k)] > 0xFF;
            const int centre = RoundHalfEven(std::int64_t(2 * k + 1) * runWidth, 2 * std::int64_t(n));
            const int left = first.Left() + centre - (wide ? r / 2 : r / 4);
            const TRect cell = Bounds(left, top, (wide ? r : r / 2) + 2 * border + shadow, r + 2 * border + shadow);
            drawn = Union(drawn, DrawGlyph(codes[std::size_t(k)], look.FontName, style, r, ink, k == n - 1, k == 0,
                                           shadow, border, cell));
        }
        return drawn;
    }

    TQsWord& e_;
    TPageSurfaces& s_;
    TFontPixelManager& cache_;
    const TWdRow& row_;
};

}  // namespace

void TWdPage::Draw(bool fromStart) {
    if (fromStart) Hide();
    TPageSurfaces& s = Engine().Surfaces();
    s.Prepare(Width(), Height(), Engine().SurfaceBitCount);
    s.Holder = this;
    for (int r = 0; r < RowCount(); ++r) TRowPainter(Engine(), Row(r)).Paint();
}

void TWdPage::Redraw(const std::vector<TWdGlyph*>& glyphs) {
    TPageSurfaces& s = Engine().Surfaces();
    if (s.Holder != this) return;
    std::vector<const TWdRow*> rows;
    for (const TWdGlyph* g : glyphs) {
        const auto* row = static_cast<const TWdRow*>(g->Parent());
        if (row && row->Parent() == this && std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
    }
    for (const TWdRow* row : rows) {
        const TRect band = Bounds(0, row->Top(), Width(), row->Height());
        s.Colour.FillRect(band, 0);
        s.Alpha.FillRect(band, 0);
        TRowPainter(Engine(), *row).Paint();
    }
}

}  // namespace vesk
