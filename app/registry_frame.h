#pragma once

#include "app/view.h"
#include "components/registry/vbaselist.h"

namespace vesk {

// The registry's parts of the main window's frame step: its input pass
// after the input is latched, its update pass, its drawing composed into the
// screen manager's back buffer, its dirty lists emptied after the flip.
// Elapsed times are the timing's last frame.
TFrameHooks RegistryFrameHooks(TVeskBaseList& registry, const TFrameTiming& timing);

// The draw part of the frame step: the registry draws, and the regions of
// the active base that changed are copied from its surface into the screen
// manager's back buffer and marked for the next presentation; while a
// transition runs, the area its step changed is copied from the registry's
// screen surface instead. A registry that has not drawn yet (no surface)
// changes nothing.
void ComposeFrame(TVeskBaseList& registry, TScreenManager& screen);

}  // namespace vesk
