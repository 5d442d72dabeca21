#pragma once

#include <string>

#include "components/objects/objectid.h"
#include "components/registry/timerlist.h"

namespace vesk {

class TCustomParam;
class TVeskBaseList;
class TVeskReadList;

// What the script interpreter needs from the component registry. The
// registry implements it; the interpreter never sees component classes, only
// ids, names and property numbers, so the two sides can grow separately.
class TComponentPort {
public:
    virtual ~TComponentPort() = default;

    virtual TTimerList& EventQueue() = 0;
    // The read marks, which ClrRead empties and the status data keeps.
    virtual TVeskReadList& ReadMarks() = 0;

    // The script-addressable component of that name, or kNoObject. Names of
    // system components (first byte 0x01) are never found.
    virtual TObjectId FindComponent(const std::string& name) = 0;
    // Whether the component still exists in the registry.
    virtual bool Exists(TObjectId id) = 0;
    // The component's name, "" when it no longer exists.
    virtual std::string NameOf(TObjectId id) = 0;

    // Property access by id; ids out of range raise "GetPropエラー" /
    // "SetPropエラー".
    virtual void GetProp(TCustomParam& dest, TObjectId id, int prop) = 0;
    virtual void SetProp(TObjectId id, int prop, TCustomParam& value) = 0;

    virtual void DeleteComponent(TObjectId id) = 0;
    virtual void DeleteAll() = 0;

    // The registry behind the port, for the commands that create, move and
    // flip components; nullptr for ports without one.
    virtual TVeskBaseList* Registry() { return nullptr; }
};

}  // namespace vesk
