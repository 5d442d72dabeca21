#pragma once

#include "text/wd_composite.h"

namespace vesk {

// One row of a page: the glyphs that layout put on it, an alignment
// (HA_LEFT, HA_RIGHT, HA_CENTER) and the bounds the glyphs are aligned
// between. Its height is the text band, the tallest glyph that is not an
// inline image, plus the room above and below that taller images need.
class TWdRow : public TWdComposite {
public:
    TWdRow(TQsWord& engine, std::uint8_t align, int leftBound, int rightBound);

    std::uint8_t Align() const override { return align_; }
    void SetAlign(std::uint8_t v) override { align_ = v; }
    int LeftBound() const { return left_; }
    int RightBound() const { return right_; }
    void SetBoundsRange(int left, int right) {
        left_ = left;
        right_ = right;
    }

    int Height() const override { return above_ + band_ + below_; }
    int TextBand() const { return band_; }
    int Above() const { return above_; }
    int Below() const { return below_; }
    // The width of the glyphs that flow along the row (floating images
    // stand aside and do not count).
    int ContentWidth() const { return content_; }
    // Whether the row holds a character or an image.
    bool HoldsVisible() const { return visible_; }

    // Appends child and widens the bands for it: a line break is as high as
    // default text only while it is the row's one glyph, so its height is
    // taken when it comes (a line break always ends its row).
    void Append(TWdGlyph& child) override;
    void RemoveAllChildren() override;
    // Places the glyphs by the alignment: along the row from the start the
    // alignment gives, text on the band's bottom edge, images by their own
    // alignment; the row's width becomes its start plus the glyphs' width.
    void Arrange();
    // The glyph whose rectangle holds the point on the owner's surface.
    TWdGlyph* GlyphAt(int x, int y) const;

    // Rows are never stored or copied with their glyphs; a copy has the
    // geometry alone.
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override;

private:
    void Widen(const TWdGlyph& child);

    std::uint8_t align_;
    int left_, right_;
    int content_ = 0;
    bool visible_ = false;
    // The tallest text glyph and the tallest image of each vertical
    // alignment; the bands follow from them.
    int band_ = 0, above_ = 0, below_ = 0;
    int centre_ = 0, top_ = 0, bottom_ = 0;
};

// Whether an image glyph stands aside from the row's flow: stored lists may
// give images HA_LEFT or HA_RIGHT, which float against that bound.
bool IsFloatingImage(const TWdGlyph& g);

}  // namespace vesk
