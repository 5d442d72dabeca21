#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/objects/objectid.h"

namespace vesk {

// One queued event: the page an event property names, who raised it, and
// which nesting level of the interpreter is running it.
struct TTimerData {
    std::string Page;                // page name, optionally ":" and a label
    TObjectId Sender = kNoObject;    // the component that raised the event
    std::uint8_t Code = 0;           // the event property's id
    std::int32_t Level = 0;          // 0 while pending, else the level running it
    std::vector<std::string> Args;   // the page's parameters
};

// The event queue of the component registry. Components append to it; the
// interpreter takes pending entries in order and removes them by level when
// the event pages that ran them return.
class TTimerList {
public:
    void Add(TTimerData entry);
    int Count() const { return static_cast<int>(items_.size()); }
    TTimerData& Item(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TTimerData& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

    // The first entry with level 0, in queue order, or nullptr.
    TTimerData* FirstPending();
    void RemoveLevel(std::int32_t level);
    void RemoveRunning();  // every entry whose level is not 0
    // Every waiting (level 0) entry that sender raised; a destroyed
    // component's events go with it.
    void RemovePendingFrom(TObjectId sender);
    void Clear() { items_.clear(); }

private:
    // Entries are held by pointer so one the interpreter is holding stays
    // put while components append more.
    std::vector<std::unique_ptr<TTimerData>> items_;
};

}  // namespace vesk
