// Laying glyphs out into pages of rows: break units placed on rows while
// they fit, rows stacked down the page while it has room.
#include <algorithm>

#include "text/line_break.h"
#include "text/qsword.h"
#include "text/tag_values.h"
#include "text/wd_ops.h"
#include "text/wd_page.h"
#include "text/wd_row.h"

namespace vesk {

namespace {

// The room a floating image takes beside the rows that start next to it.
struct TFloatBand {
    int Top, Bottom;
    int Left, Right;
    bool LeftSide;
};

std::uint8_t RowAlign(std::uint8_t a) { return a == HA_RIGHT || a == HA_CENTER ? a : HA_LEFT; }

class TLayout {
public:
    TLayout(TQsWord& engine, TWdPageList& pages) : e_(engine), pages_(pages) {}

    void Run(int first, int last) {
        for (int i = first; i <= last; ++i) glyphs_.push_back(&e_.Glyph(i));
        for (TWdGlyph* g : glyphs_) g->Measure();
        const int n = static_cast<int>(glyphs_.size());
        int i = 0;
        while (i < n) i = Place(i, n);
        Finish();
    }

private:
    // Places what starts at glyph i; answers where the walk goes on.
    int Place(int i, int n) {
        TWdGlyph& g = *glyphs_[std::size_t(i)];
        switch (g.ClassCode()) {
            case WD_ALIGN:
                align_ = RowAlign(g.Align());
                if (row_ && !row_->HoldsVisible()) row_->SetAlign(align_);
                return i + 1;
            case WD_INDENT:
                if (row_) indent_ = row_->ContentWidth();
                return i + 1;
            case WD_UNDENT: indent_ = 0; return i + 1;
            default: break;
        }
        if (!row_) StartRow(i);
        if (IsFloatingImage(g)) return PlaceFloating(i);

        const int end = BreakUnitEnd(glyphs_, i, n);
        int width = 0;
        for (int k = i; k < end; ++k) width += glyphs_[std::size_t(k)]->Width();
        // A row that holds nothing but its indent filler takes the unit
        // whatever its width: a new row would start with the same filler.
        const bool fits = row_->RightBound() - row_->LeftBound() >= row_->ContentWidth() + width;
        if (e_.WrapWidth != 0 && width > 0 && row_->ContentWidth() != 0 && HoldsMoreThanFiller() && !fits) {
            EndRow(e_.LineSpacing);
            StartRow(i);
        }
        for (int k = i; k < end; ++k) row_->Append(*glyphs_[std::size_t(k)]);
        if (PassesPage()) return Restart();
        const TWdGlyph& lastGlyph = *glyphs_[std::size_t(end - 1)];
        if (lastGlyph.ClassCode() == WD_RETURN) {
            EndRow(e_.LineSpacing);
            if (lastGlyph.ClearFlag()) newPage_ = true;
        }
        return end;
    }

    // A floating image starts a row of its own and narrows that row by its
    // width against the bound it floats to.
    int PlaceFloating(int i) {
        TWdGlyph& g = *glyphs_[std::size_t(i)];
        if (HoldsMoreThanFiller()) {
            EndRow(0);
            StartRow(i);
        }
        const int w = g.Width(), left = row_->LeftBound(), right = row_->RightBound();
        const bool leftSide = g.Align() == HA_LEFT;
        if (leftSide) {
            bands_.push_back({y_, y_ + g.Height(), left, left + w, true});
            row_->SetBoundsRange(left + w, right);
        } else {
            bands_.push_back({y_, y_ + g.Height(), right - w, right, false});
            row_->SetBoundsRange(left, right - w);
        }
        row_->Append(g);
        return PassesPage() ? Restart() : i + 1;
    }

    bool HoldsMoreThanFiller() const { return row_->ChildCount() > (rowHasFiller_ ? 1 : 0); }

    bool PassesPage() const {
        return e_.Paging && page_->RowCount() > 1 && y_ + row_->Height() > e_.PageHeight;
    }

    // The row goes back and is laid out again from its first glyph at the
    // top of a new page, with the alignment and indent it started with.
    int Restart() {
        page_->RemoveLastRow();
        row_ = nullptr;
        newPage_ = true;
        align_ = rowAlign_;
        indent_ = rowIndent_;
        return rowFirst_;
    }

    void StartRow(int i) {
        if (newPage_ || !page_) {
            pages_.push_back(std::make_unique<TWdPage>(e_));
            page_ = pages_.back().get();
            laidOut_.push_back(page_);
            y_ = 0;
            newPage_ = false;
            bands_.clear();
        }
        int left = 0, right = e_.WrapWidth;
        for (const TFloatBand& b : bands_) {
            if (y_ < b.Top || y_ >= b.Bottom) continue;
            if (b.LeftSide) left = std::max(left, b.Right);
            else right = std::min(right, b.Left);
        }
        row_ = &page_->AddRow(align_, left, right, y_);
        rowFirst_ = i;
        rowAlign_ = align_;
        rowIndent_ = indent_;
        rowHasFiller_ = indent_ > 0;
        if (rowHasFiller_) {
            TWdGlyph& filler = row_->AddOwned(std::make_unique<TWdSpace>(e_));
            filler.SetBounds(0, 0, indent_, 0);
            row_->Append(filler);
        }
    }

    void EndRow(int spacing) {
        y_ += row_->Height() + spacing;
        row_ = nullptr;
    }

    // Without a wrap width the rows ran freely: the widest of them gives
    // the width, and every row is aligned within it.
    void Finish() {
        if (e_.WrapWidth == 0) {
            int widest = 0;
            for (TWdPage* p : laidOut_)
                for (int r = 0; r < p->RowCount(); ++r)
                    widest = std::max(widest, p->Row(r).LeftBound() + p->Row(r).ContentWidth());
            e_.WrapWidth = widest;
            for (TWdPage* p : laidOut_)
                for (int r = 0; r < p->RowCount(); ++r) p->Row(r).SetBoundsRange(p->Row(r).LeftBound(), widest);
        }
        for (TWdPage* p : laidOut_) p->Arrange();
    }

    TQsWord& e_;
    TWdPageList& pages_;
    std::vector<TWdGlyph*> glyphs_;
    std::vector<TWdPage*> laidOut_;
    TWdPage* page_ = nullptr;
    TWdRow* row_ = nullptr;
    int y_ = 0;
    std::uint8_t align_ = HA_LEFT;
    int indent_ = 0;
    bool newPage_ = true;
    int rowFirst_ = 0;
    std::uint8_t rowAlign_ = HA_LEFT;
    int rowIndent_ = 0;
    bool rowHasFiller_ = false;
    std::vector<TFloatBand> bands_;
};

}  // namespace

void TQsWord::Layout(TWdPageList& pages, int first, int lastTextPosition) {
    int last = Count() - 1;
    if (lastTextPosition >= 0 && lastTextPosition < Count()) {
        const int at = GlyphAtTextPosition(lastTextPosition);
        if (at >= 0) last = at;
    }
    first = std::max(first, 0);
    if (first > last) return;
    TLayout(*this, pages).Run(first, last);
}

}  // namespace vesk
