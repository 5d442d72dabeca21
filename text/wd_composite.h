#pragma once

#include <memory>
#include <vector>

#include "text/wd_glyph.h"

namespace vesk {

// A glyph made of glyphs (rows and pages): its children in layout order,
// which it does not own, and the glyphs it does own (fillers it made),
// freed with it.
class TWdComposite : public TWdGlyph {
public:
    using TWdGlyph::TWdGlyph;

    int ChildCount() const override { return static_cast<int>(children_.size()); }
    TWdGlyph* Child(int index) const override;
    std::string Text() const override;
    std::string RevealedText() const override;
    TWdGlyph* FirstTextGlyph() override;
    TWdGlyph* LastTextGlyph() override;
    void SetAlphaAll(int alpha) override;
    void AddVarLines(std::vector<std::string>& lines) const override;

    // -1 when child is not one of the children.
    int IndexOf(const TWdGlyph* child) const;
    // Appends child and makes this its parent.
    virtual void Append(TWdGlyph& child);
    // Takes ownership of a glyph (it need not be a child).
    TWdGlyph& AddOwned(std::unique_ptr<TWdGlyph> glyph);
    // Gives up ownership without freeing; nullptr when glyph is not owned.
    std::unique_ptr<TWdGlyph> RemoveOwned(const TWdGlyph* glyph);
    // Removes children without freeing them; they lose their parent.
    void RemoveChildAt(int index);
    virtual void RemoveAllChildren();

protected:
    TWdComposite(const TWdComposite& o, TQsWord& engine) : TWdGlyph(o, engine) {}

private:
    std::vector<TWdGlyph*> children_;
    std::vector<std::unique_ptr<TWdGlyph>> owned_;
};

}  // namespace vesk
