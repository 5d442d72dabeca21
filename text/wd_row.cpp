#include "text/wd_row.h"

#include <algorithm>

#include "text/tag_values.h"
#include "text/wd_img.h"

namespace vesk {

namespace {

bool IsImage(const TWdGlyph& g) { return g.ClassCode() == WD_IMG; }

// Images that sit in the row's flow with a vertical alignment of their own.
bool IsAlignedImage(const TWdGlyph& g) {
    return IsImage(g) && (g.Align() == VA_CENTER || g.Align() == VA_TOP || g.Align() == VA_BOTTOM);
}

int HalfUp(int v) { return v <= 0 ? 0 : (v + 1) / 2; }

}  // namespace

bool IsFloatingImage(const TWdGlyph& g) { return IsImage(g) && (g.Align() == HA_LEFT || g.Align() == HA_RIGHT); }

TWdRow::TWdRow(TQsWord& engine, std::uint8_t align, int leftBound, int rightBound)
    : TWdComposite(engine), align_(align), left_(leftBound), right_(rightBound) {}

void TWdRow::Append(TWdGlyph& child) {
    TWdComposite::Append(child);
    if (!IsFloatingImage(child)) content_ += child.Width();
    if (child.ClassCode() == WD_CHAR || IsImage(child)) visible_ = true;
    Widen(child);
}

void TWdRow::Widen(const TWdGlyph& child) {
    const int h = child.Height();
    if (!IsAlignedImage(child)) band_ = std::max(band_, h);
    else if (child.Align() == VA_CENTER) centre_ = std::max(centre_, h);
    else if (child.Align() == VA_TOP) top_ = std::max(top_, h);
    else bottom_ = std::max(bottom_, h);
    const int centred = HalfUp(centre_ - band_);
    above_ = std::max({0, centred, bottom_ - band_});
    below_ = std::max({0, centred, top_ - band_});
}

void TWdRow::RemoveAllChildren() {
    TWdComposite::RemoveAllChildren();
    content_ = 0;
    visible_ = false;
    band_ = above_ = below_ = centre_ = top_ = bottom_ = 0;
}

void TWdRow::Arrange() {
    const int start = align_ == HA_RIGHT    ? right_ - content_
                      : align_ == HA_CENTER ? left_ + (right_ - left_ - content_) / 2
                                            : left_;
    const int rowHeight = Height();
    int x = start;
    for (int i = 0; i < ChildCount(); ++i) {
        TWdGlyph& g = *Child(i);
        const int w = g.Width(), h = g.Height();
        int y = rowHeight - below_ - h;
        if (h == 0 || IsFloatingImage(g) || (IsAlignedImage(g) && g.Align() == VA_TOP)) y = above_;
        else if (IsAlignedImage(g) && g.Align() == VA_CENTER) y = above_ + (band_ - h) / 2;
        if (IsFloatingImage(g)) {
            // A floating image stands in the band it narrowed the row by.
            g.SetBounds(g.Align() == HA_LEFT ? left_ - w : right_, y, w, h);
            continue;
        }
        g.SetBounds(x, y, w, h);
        x += w;
    }
    SetBounds(0, Top(), start + content_, rowHeight);
}

TWdGlyph* TWdRow::GlyphAt(int x, int y) const {
    for (int i = 0; i < ChildCount(); ++i) {
        TWdGlyph* g = Child(i);
        const int gx = g->X(), gy = g->Y();
        if (x >= gx && x < gx + g->Width() && y >= gy && y < gy + g->Height()) return g;
    }
    return nullptr;
}

std::unique_ptr<TWdGlyph> TWdRow::Clone(TQsWord& engine) const {
    auto copy = std::make_unique<TWdRow>(engine, align_, left_, right_);
    copy->SetBounds(Left(), Top(), Width(), Height());
    return copy;
}

}  // namespace vesk
