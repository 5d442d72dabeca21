#include "text/wd_composite.h"

#include <algorithm>

namespace vesk {

TWdGlyph* TWdComposite::Child(int index) const {
    return index >= 0 && index < ChildCount() ? children_[static_cast<std::size_t>(index)] : nullptr;
}

std::string TWdComposite::Text() const {
    std::string out;
    for (const TWdGlyph* c : children_) out += c->Text();
    return out;
}

std::string TWdComposite::RevealedText() const {
    std::string out;
    for (const TWdGlyph* c : children_) {
        if (c->Alpha() <= 0) break;
        out += c->RevealedText();
    }
    return out;
}

TWdGlyph* TWdComposite::FirstTextGlyph() {
    for (TWdGlyph* c : children_)
        if (TWdGlyph* g = c->FirstTextGlyph()) return g;
    return nullptr;
}

TWdGlyph* TWdComposite::LastTextGlyph() {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if (TWdGlyph* g = (*it)->LastTextGlyph()) return g;
    return nullptr;
}

void TWdComposite::SetAlphaAll(int alpha) {
    for (TWdGlyph* c : children_) c->SetAlphaAll(alpha);
}

void TWdComposite::AddVarLines(std::vector<std::string>& lines) const {
    for (const TWdGlyph* c : children_) c->AddVarLines(lines);
}

int TWdComposite::IndexOf(const TWdGlyph* child) const {
    const auto it = std::find(children_.begin(), children_.end(), child);
    return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

void TWdComposite::Append(TWdGlyph& child) {
    children_.push_back(&child);
    child.SetParent(this);
}

TWdGlyph& TWdComposite::AddOwned(std::unique_ptr<TWdGlyph> glyph) {
    owned_.push_back(std::move(glyph));
    return *owned_.back();
}

std::unique_ptr<TWdGlyph> TWdComposite::RemoveOwned(const TWdGlyph* glyph) {
    const auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& g) { return g.get() == glyph; });
    if (it == owned_.end()) return nullptr;
    std::unique_ptr<TWdGlyph> out = std::move(*it);
    owned_.erase(it);
    return out;
}

void TWdComposite::RemoveChildAt(int index) {
    if (index < 0 || index >= ChildCount()) return;
    TWdGlyph* child = children_[static_cast<std::size_t>(index)];
    if (child->Parent() == this) child->SetParent(nullptr);
    children_.erase(children_.begin() + index);
}

void TWdComposite::RemoveAllChildren() {
    // A glyph laid out again since belongs to its new row by now.
    for (TWdGlyph* c : children_)
        if (c->Parent() == this) c->SetParent(nullptr);
    children_.clear();
}

}  // namespace vesk
