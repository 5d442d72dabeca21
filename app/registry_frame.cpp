#include "app/registry_frame.h"

namespace vesk {

TFrameHooks RegistryFrameHooks(TVeskBaseList& registry, const TFrameTiming& timing) {
    auto elapsed = [&timing] { return static_cast<std::int32_t>(timing.LastFrameMs.load()); };
    TFrameHooks h;
    h.StartOfFrame = [&registry, elapsed] { registry.InputPass(elapsed()); };
    h.Update = [&registry, elapsed] { registry.UpdatePass(elapsed()); };
    h.Draw = [&registry](TScreenManager& screen) { ComposeFrame(registry, screen); };
    h.Presented = [&registry] { registry.ClearDirty(); };
    return h;
}

namespace {

void CopyArea(TCustomDIBX& from, const TRect& area, TScreenManager& screen) {
    TDIBX& back = screen.BackBuffer();
    const TRect r = Intersect(area, Intersect(back.BoundsRect(), from.BoundsRect()));
    if (r.IsEmpty()) return;
    back.Draw(r.Left, r.Top, false, false, false, r, from);
    screen.AddChangedRect(r);
}

}  // namespace

void ComposeFrame(TVeskBaseList& registry, TScreenManager& screen) {
    registry.DrawPass();
    // While a transition runs the screen shows its picture, which it has
    // composed from both bases.
    if (TCustomDIBX* composed = registry.ScreenSurface(); composed && !registry.TransitionRect().IsEmpty()) {
        CopyArea(*composed, registry.TransitionRect(), screen);
        return;
    }
    const int active = registry.ActiveIndex();
    TCustomDIBX* surface = registry.BaseSurface(active);
    if (!surface) return;
    for (const TRect& dirty : registry.DirtyRects(active)) CopyArea(*surface, dirty, screen);
}

}  // namespace vesk
