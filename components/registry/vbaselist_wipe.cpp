// The registry's screen transition: made on a switch of the active base,
// drawn once per draw pass after both bases, ended when its caller says
// the switch is over.
#include "common/error.h"
#include "components/registry/vbaselist.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"

namespace vesk {

TCustomWipe* TVeskBaseList::SwitchActive(int index, int kind, bool flag, std::int32_t duration, bool force) {
    TCustomWipe* made = nullptr;
    if ((kind != WP_NONE && !wipe_) || force) {
        EndTransition();
        if (kind != WP_NONE) made = MakeTransition(index & 1, kind, flag, duration);
    }
    SetActiveIndex(index);
    return made;
}

TCustomWipe* TVeskBaseList::MakeTransition(int from, int kind, bool flag, std::int32_t duration) {
    for (auto& b : bases_) b->MakeSurface(bitCount_);
    TCustomDIBX& old = *Base(from).Surface();
    TCustomDIBX& shown = *Base(from ^ 1).Surface();
    if (!screen_) screen_ = std::make_unique<TDIBX>();
    if (screen_->Width() != old.Width() || screen_->Height() != old.Height() || screen_->BitCount() != old.BitCount())
        screen_->SetSize(old.Width(), old.Height(), old.BitCount());
    // A step that leaves the screen as it is (an unchanged mask) must show
    // the picture being left, as the screen did before the switch.
    screen_->Assign(old);
    wipe_ = CreateWipe(kind, *screen_, old, shown);
    if (!wipe_) return nullptr;
    wipe_->Duration = duration;
    wipe_->SetFlag(flag ? 1 : 0);
    wipe_->Position = 0;
    wipe_->MaskSource = maskSource_.get();
    return wipe_.get();
}

void TVeskBaseList::StartTransition() {
    if (!wipe_) return;
    try {
        wipe_->Prepare();
    } catch (const EVeskError&) {
        // The mask picture could not be read: the kinds keep the uniform
        // picture they start with, and the switch goes on.
    } catch (const std::exception&) {
        EndTransition();
    }
}

void TVeskBaseList::EndTransition() {
    wipe_.reset();
    wipeRect_ = {};
    for (auto& b : bases_) b->InvalidateAll();
}

void TVeskBaseList::StepTransition() {
    wipeRect_ = {};
    if (!wipe_) return;
    try {
        wipe_->Step();
        wipeRect_ = wipe_->UpdateRect;
    } catch (const std::exception&) {
        // A step that cannot draw ends the picture's change; the caller
        // still ends the switch when its time is up.
        EndTransition();
    }
}

}  // namespace vesk
