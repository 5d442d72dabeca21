#pragma once

#include <memory>

#include "script/command.h"

namespace vesk {

class TVeskBaseList;
class TVeskObject;

// The value a creation command gives a property whose operation list is
// present but yields nothing: 0, 0.0, false or "" in the property's type,
// except the properties whose neutral value is something else (zoom 256,
// colours -1, alpha 255, visible true, ...).
std::unique_ptr<TCustomParam> AbsentPropertyValue(int prop);

// Applies a creation command's property set to a new component: every
// present property in creation order, through its setter, with the rules
// of creation (a name only when not empty, the parent found as a control
// or else the active base, the images' hook before the position, the
// properties a command never sets), then the component's
// applied-properties hook.
void ApplyPropertySet(TVeskObject& obj, const TPropertySet& props, TVeskBaseList& registry);

}  // namespace vesk
