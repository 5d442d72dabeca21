#include "script/flip_snapshot.h"

#include "components/kinds.h"
#include "components/vbaselist.h"

namespace vesk {

void MakeFlipSnapshot(TVeskBaseList& registry) {
    registry.DrawPass();
    TVeskObject* made = registry.CreateKind(LT_IMAGES);
    TVeskControl* snapshot = made ? made->AsControl() : nullptr;
    if (!snapshot) return;
    // The image takes its surface from the copy of the active base's
    // surface once images can hold a surface of their own; until then it
    // only covers the screen.
    snapshot->SetName(kFlipSnapshotName);
    snapshot->SetParent(&registry.ActiveBase());
    snapshot->SetLeft(0);
    snapshot->SetTop(0);
    snapshot->SetWidth(registry.Width());
    snapshot->SetHeight(registry.Height());
    snapshot->SetVisible(true);
}

}  // namespace vesk
