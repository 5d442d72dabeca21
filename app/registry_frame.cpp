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

void ComposeFrame(TVeskBaseList& registry, TScreenManager& screen) {
    registry.DrawPass();
    const int active = registry.ActiveIndex();
    TCustomDIBX* surface = registry.BaseSurface(active);
    if (!surface) return;
    TDIBX& back = screen.BackBuffer();
    const TRect frame = Intersect(back.BoundsRect(), surface->BoundsRect());
    for (const TRect& dirty : registry.DirtyRects(active)) {
        const TRect r = Intersect(dirty, frame);
        if (r.IsEmpty()) continue;
        back.Draw(r.Left, r.Top, false, false, false, r, *surface);
        screen.AddChangedRect(r);
    }
}

}  // namespace vesk
