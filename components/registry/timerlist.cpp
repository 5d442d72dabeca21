#include "components/registry/timerlist.h"

#include <algorithm>

namespace vesk {

void TTimerList::Add(TTimerData entry) { items_.push_back(std::make_unique<TTimerData>(std::move(entry))); }

TTimerData* TTimerList::FirstPending() {
    for (auto& e : items_)
        if (e->Level == 0) return e.get();
    return nullptr;
}

void TTimerList::RemoveLevel(std::int32_t level) {
    std::erase_if(items_, [level](const auto& e) { return e->Level == level; });
}

void TTimerList::RemoveRunning() {
    std::erase_if(items_, [](const auto& e) { return e->Level != 0; });
}

void TTimerList::RemovePendingFrom(TObjectId sender) {
    std::erase_if(items_, [sender](const auto& e) { return e->Level == 0 && e->Sender == sender; });
}

}  // namespace vesk
