// Links under the mouse: the run of glyphs that share the link under the
// point shows in the hover colour.
#include <algorithm>

#include "text/qsword.h"
#include "text/wd_page.h"
#include "text/wd_row.h"

namespace vesk {

namespace {

// Indent fillers stand between the parts of a link that wraps onto an
// indented row; they neither break a run nor belong to it.
bool IsFiller(const TWdGlyph& g) { return g.ClassCode() == 0; }

void MarkDirty(TQsWord& e, const std::vector<TWdGlyph*>& glyphs) {
    for (const TWdGlyph* g : glyphs) e.AddDirty(Bounds(g->X(), g->Y(), g->Width(), g->Height()));
}

// The fully revealed glyph whose rectangle holds the point.
TWdGlyph* ShownGlyphAt(const TWdPage& page, int x, int y) {
    for (int r = 0; r < page.RowCount(); ++r) {
        const TWdRow& row = page.Row(r);
        if (y < row.Y() || y >= row.Y() + row.Height()) continue;
        TWdGlyph* g = row.GlyphAt(x, y);
        return g && g->Alpha() > 254 ? g : nullptr;
    }
    return nullptr;
}

// The glyphs next to g, across rows, that have g's link.
std::vector<TWdGlyph*> RunOf(const TWdPage& page, const TWdGlyph& g) {
    std::vector<TWdGlyph*> all;
    page.ForEachGlyph([&](TWdGlyph& c) {
        if (!IsFiller(c)) all.push_back(&c);
    });
    const auto at = std::find(all.begin(), all.end(), &g);
    auto first = at, last = at + 1;
    while (first != all.begin() && (*(first - 1))->Link() == g.Link()) --first;
    while (last != all.end() && (*last)->Link() == g.Link()) ++last;
    return {first, last};
}

}  // namespace

void TWdPage::DropHover() {
    if (hoverRun_.empty()) return;
    for (TWdGlyph* g : hoverRun_) g->SetHover(false);
    Redraw(hoverRun_);
    MarkDirty(Engine(), hoverRun_);
    hoverRun_.clear();
    hoverLink_.clear();
}

void TWdPage::SetHoverPoint(int x, int y) {
    const TWdGlyph* g = x < 0 && y < 0 ? nullptr : ShownGlyphAt(*this, x, y);
    std::vector<TWdGlyph*> run;
    if (g && !g->Link().empty()) run = RunOf(*this, *g);
    if (run == hoverRun_) return;
    DropHover();
    if (run.empty()) return;
    for (TWdGlyph* r : run) r->SetHover(true);
    hoverRun_ = std::move(run);
    hoverLink_ = g->Link();
    Redraw(hoverRun_);
    MarkDirty(Engine(), hoverRun_);
}

std::optional<TLinkHit> TWdPage::LinkAt(int x, int y) const {
    const TWdGlyph* g = ShownGlyphAt(*this, x, y);
    if (!g || g->Link().empty()) return std::nullopt;
    TLinkHit hit{g->Link(), {}};
    for (const TWdGlyph* c : RunOf(*this, *g))
        if (c->ClassCode() == WD_CHAR) hit.Text += c->Text();
    return hit;
}

}  // namespace vesk
