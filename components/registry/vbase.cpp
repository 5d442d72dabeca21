#include "components/registry/vbase.h"

#include <utility>
#include <vector>

#include "components/registry/vbaselist.h"

namespace vesk {

TVeskBase::TVeskBase(TVeskBaseList* owner, int number) : TVeskControl(owner), number_(number) {
    SetRawName(std::string(1, kSystemNameMark) + "BASE" + std::to_string(number));
}

void TVeskBase::MakeSurface(int bitCount) {
    const int w = std::max(1, GetWidth()), h = std::max(1, GetHeight());
    if (surface_ && surface_->Width() == w && surface_->Height() == h && surface_->BitCount() == bitCount) return;
    if (!surface_) surface_ = std::make_unique<TDIBX>();
    surface_->SetSize(w, h, bitCount);
    InvalidateAll();
}

void TVeskBase::AddDirty(const TRect& r) { dirty_.Add(Intersect(r, Bounds(0, 0, GetWidth(), GetHeight()))); }

void TVeskBase::InvalidateAll() { AddDirty(Bounds(0, 0, GetWidth(), GetHeight())); }

void TVeskBase::Draw(TCustomDIBX& dest) {
    if (!Showing()) return;
    const TRect saved = dest.ClipRect;
    // Where each child draws is worked out once for all the rectangles:
    // drawing changes no placement.
    std::vector<std::pair<TVeskControl*, TRect>> children;
    for (int i = 0; i < ChildCount(); ++i)
        if (TVeskControl* c = Child(i); c->Showing()) children.emplace_back(c, c->DrawnArea());
    const TRect bounds = ScreenBounds();
    for (const TRect& r : dirty_.Rects()) {
        dest.ClipRect = Intersect(r, dest.BoundsRect());
        if (dest.ClipRect.IsEmpty()) continue;
        if (GetColor() >= 0) dest.FillRect(bounds, static_cast<TPixel>(dest.ColorToPixel(GetColor())));
        const TRect area = Intersect(bounds, dest.EffectiveClip());
        for (auto& [child, drawn] : children) DrawChild(dest, *child, area, drawn);
    }
    dest.ClipRect = saved;
}

void TVeskBase::ConsumeLeftPress() {
    Mouse.LeftPress = false;
    if (Owner() && Owner()->Input()) Owner()->Input()->SetLClick(false);
}

void TVeskBase::ConsumeRightPress() {
    Mouse.RightPress = false;
    if (Owner() && Owner()->Input()) Owner()->Input()->SetRClick(false);
}

}  // namespace vesk
