#include "components/objects/vcomponent.h"

#include "components/registry/vbaselist.h"

namespace vesk {

TVeskComponent::~TVeskComponent() {
    if (Owner() && Id() != kNoObject) Owner()->EventQueue().RemovePendingFrom(Id());
}

bool TVeskComponent::IsPendingDestruction() const { return Owner() && Owner()->IsPendingDestruction(*this); }

void TVeskComponent::MarkForDestruction() {
    if (Owner()) Owner()->MarkForDestruction(*this);
}

void TVeskComponent::RaiseEvent(const std::string& page, int code, std::vector<std::string> args, bool once) {
    if (page.empty() || !Owner()) return;
    TTimerList& queue = Owner()->EventQueue();
    const auto eventCode = static_cast<std::uint8_t>(code);
    if (once)
        for (int i = 0; i < queue.Count(); ++i) {
            const TTimerData& e = queue.Item(i);
            if (e.Sender == Id() && e.Code == eventCode) return;
        }
    queue.Add(TTimerData{page, Id(), eventCode, 0, std::move(args)});
}

}  // namespace vesk
