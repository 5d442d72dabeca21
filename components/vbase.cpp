#include "components/vbase.h"

#include "components/vbaselist.h"

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
    for (const TRect& r : dirty_.Rects()) {
        dest.ClipRect = Intersect(r, dest.BoundsRect());
        if (dest.ClipRect.IsEmpty()) continue;
        if (GetColor() >= 0) dest.FillRect(ScreenBounds(), static_cast<TPixel>(dest.ColorToPixel(GetColor())));
        DrawChildren(dest);
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
