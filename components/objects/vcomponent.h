#pragma once

#include "components/objects/vobject.h"

namespace vesk {

// An object listed in the registry that may raise events: the direct base of
// the non-visual kinds (sound, timer, property motion, HTTP) and of controls.
class TVeskComponent : public TVeskObject {
public:
    using TVeskObject::TVeskObject;
    // The component's waiting events go with it.
    ~TVeskComponent() override;

    bool IsPendingDestruction() const;
    // Deferred destruction: the registry destroys the component at the end of
    // the frame's update pass; until then it has no name and is not saved.
    void MarkForDestruction();
    // One frame of the registry's update pass; true asks to be destroyed.
    virtual bool Update(std::int32_t /*elapsedMs*/) { return false; }

protected:
    friend class TVeskBaseList;
    // Queues the page an event property names, unless it is empty. With
    // once set, nothing is queued while an entry with the same sender and
    // code is still waiting.
    void RaiseEvent(const std::string& page, int code, std::vector<std::string> args = {}, bool once = true);
};

}  // namespace vesk
