#include "text/wd_page.h"

#include <algorithm>

#include "common/error.h"
#include "text/qsword.h"
#include "text/wd_row.h"

namespace vesk {

TWdPage::TWdPage(TQsWord& engine) : TWdComposite(engine) {}

TWdPage::~TWdPage() {
    // The glyphs outlive their rows: they must not point at them after.
    for (int r = 0; r < RowCount(); ++r) Row(r).RemoveAllChildren();
    if (Engine().Surfaces().Holder == this) Engine().Surfaces().Holder = nullptr;
}

int TWdPage::Width() const { return Engine().WrapWidth; }
int TWdPage::X() const { return Engine().OriginX; }
int TWdPage::Y() const { return Engine().OriginY - (Engine().Paging ? 0 : Scroll); }

std::unique_ptr<TWdGlyph> TWdPage::Clone(TQsWord& engine) const { return std::make_unique<TWdPage>(engine); }

TWdRow& TWdPage::Row(int index) const {
    TWdGlyph* row = Child(index);
    if (!row) throw EVeskError("a page has no row " + std::to_string(index));
    return static_cast<TWdRow&>(*row);
}

TWdRow& TWdPage::AddRow(std::uint8_t align, int leftBound, int rightBound, int y) {
    auto& row = static_cast<TWdRow&>(AddOwned(std::make_unique<TWdRow>(Engine(), align, leftBound, rightBound)));
    row.SetBounds(0, y, 0, 0);
    Append(row);
    return row;
}

void TWdPage::RemoveLastRow() {
    if (RowCount() == 0) return;
    TWdRow& row = Row(RowCount() - 1);
    row.RemoveAllChildren();
    RemoveChildAt(RowCount() - 1);
    RemoveOwned(&row);
}

void TWdPage::Arrange() {
    int bottom = 0;
    for (int r = 0; r < RowCount(); ++r) {
        TWdRow& row = Row(r);
        row.Arrange();
        bottom = std::max(bottom, row.Top() + row.Height());
    }
    SetBounds(0, 0, 0, bottom);
}

void TWdPage::Clear() {
    DropHover();
    while (RowCount() > 0) RemoveLastRow();
    Engine().CaretX = Engine().CaretY = Engine().CaretHeight = 0;
    endReported_ = false;
    fading_.clear();
    animated_.clear();
}

int TWdPage::FirstTextPosition() {
    const int i = Engine().IndexOf(FirstTextGlyph());
    return i < 0 ? -1 : Engine().TextPositionOf(i);
}

int TWdPage::LastTextPosition() {
    const int i = Engine().IndexOf(LastTextGlyph());
    return i < 0 ? -1 : Engine().TextPositionOf(i);
}

}  // namespace vesk
