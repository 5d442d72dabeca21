#pragma once

#include <cstdint>

#include "script/command.h"

namespace vesk {

class TVeskBaseList;
class TVeskObject;

// The value a property takes when its operation list yields nothing.
Extended AbsentPropertyDefault(int prop);

// Applies a creation command's property set to a new component: each
// property whose list the command carries, in creation order, evaluated and
// set through the property's setter (an absent value gives the property's
// default). A name is set only when not empty; PR_PARENT names a control or
// else puts the component on the active base; images recompute their size
// before PR_LEFT. The applied-properties step ends it.
void ApplyPropertySet(TVeskObject& obj, TVeskBaseList& registry, const TPropertySet& props);

}  // namespace vesk
