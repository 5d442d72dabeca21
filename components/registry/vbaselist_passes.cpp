// The registry's frame: input, update and draw passes, focus, the active
// base, surfaces.
#include <algorithm>

#include "archive/vrfiles.h"
#include "components/kinds/vcustomimage.h"
#include "components/kinds/vitemex.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"
#include "gfx/cursorfile.h"
#include "values/param_collection.h"

namespace vesk {

bool TVeskBaseList::IsWaiting(const TVeskObject& obj, int code) const {
    for (int i = 0; i < queue_.Count(); ++i) {
        const TTimerData& e = queue_.Item(i);
        if (e.Level == 0 && e.Sender == obj.Id() && e.Code == code) return true;
    }
    return false;
}

TVeskControl* TVeskBaseList::Registered(TObjectId id) const {
    TVeskObject* obj = id == kNoObject ? nullptr : FindById(id);
    return obj ? obj->AsControl() : nullptr;
}

void TVeskBaseList::SetFocus(TVeskControl* control) {
    focusRequested_ = false;
    if (control == focused_) return;
    TVeskControl* old = focused_;
    focused_ = control;
    // The old control may have gone since it took the focus.
    if (old && Registered(old->Id()) == old && !old->Name().empty() && !old->SuppressesEvents())
        old->RaiseEvent(old->GetOnFocusOut(), PR_ONFOCUSOUT, {}, false);
    if (control) {
        if (!control->SuppressesEvents()) control->RaiseEvent(control->GetOnFocusIn(), PR_ONFOCUSIN, {}, false);
        control->FocusReceived();
    }
}

void TVeskBaseList::DropFocus() {
    SetFocus(nullptr);
    focusRequested_ = true;
}

void TVeskBaseList::AddRClick(TVeskControl* control) { rclick_.push_back(control); }

void TVeskBaseList::RemoveRClick(TVeskControl* control) { std::erase(rclick_, control); }

void TVeskBaseList::SetSelection(const std::string& name, std::int32_t index) {
    selStr_ = name;
    selIndex_ = index;
    if (TParamCollection* vars = TParamCollection::Global()) {
        vars->SelStr = name;
        vars->SelIndex = index;
    }
}

void TVeskBaseList::SetActiveIndex(int index) {
    active_ = index & 1;
    for (auto& b : bases_) b->InvalidateAll();
    if (!focused_ || !focused_->OnActiveBase()) DropFocus();
}

void TVeskBaseList::SetBitCount(int bitCount) {
    if (bitCount == bitCount_) return;
    bitCount_ = bitCount;
    EndTransition();
    images_->SetBitCount(bitCount);
    ReloadSurfaces();
}

void TVeskBaseList::ReleaseSurfaces() {
    EndTransition();
    screen_.reset();
    images_->ReleaseSurfaces();
    for (auto& o : items_)
        if (TVeskControl* c = o->AsControl()) c->ReleaseSurfaces();
    for (auto& b : bases_) b->ReleaseSurface();
}

void TVeskBaseList::ReloadSurfaces() {
    images_->ReloadSurfaces();
    for (auto& o : items_)
        if (TVeskControl* c = o->AsControl()) c->ReloadSurfaces();
    for (auto& b : bases_) {
        b->MakeSurface(bitCount_);
        b->InvalidateAll();
    }
}

TCustomDIBX* TVeskBaseList::BaseSurface(int number) const { return Base(number).Surface(); }

const std::vector<TRect>& TVeskBaseList::DirtyRects(int number) const { return Base(number).Dirty().Rects(); }

void TVeskBaseList::ClearDirty() {
    for (auto& b : bases_) b->Dirty().Clear();
}

void TVeskBaseList::DrawPass() {
    for (auto& b : bases_) {
        if (!b->Surface()) b->MakeSurface(bitCount_);
        b->Draw(*b->Surface());
    }
    StepTransition();
}

TVeskCustomImage& TVeskBaseList::MakeSnapshot() {
    if (TVeskObject* old = FindByName(kSnapshotName)) Destroy(*old);
    DrawPass();
    auto made = CreateComponent(LT_IMAGES, this);
    auto& snap = static_cast<TVeskCustomImage&>(*made);
    Adopt(std::move(made));
    snap.SetRawName(kSnapshotName);
    snap.SetParent(&ActiveBase());
    ActiveBase().SortChildren();
    TCustomDIBX& screen = *ActiveBase().Surface();
    TDIBX& own = snap.OwnSurface();
    own.SetSize(screen.Width(), screen.Height(), screen.BitCount());
    own.Assign(screen);
    snap.SetWidth(screen.Width());
    snap.SetHeight(screen.Height());
    snap.SetVisible(true);
    snap.Invalidate();
    return snap;
}

void TVeskBaseList::ChooseCursor(TVeskBase& base, const TVeskControl& target) {
    std::string file = target.CursorFile();
    if (file.empty())
        if (const TParamCollection* vars = TParamCollection::Global()) file = vars->Cursor;
    if (file != base.CursorName()) base.SetCursorName(file);
    // Compared with what the window shows rather than with the base's
    // name: after a switch of the active base the window still shows the
    // other base's cursor.
    if (cursorWindow_ && file != windowCursor_) ShowCursorFile(file);
}

void TVeskBaseList::ShowCursorFile(const std::string& file) {
    // Remembered even when it cannot be loaded, so a broken file is not
    // read again in every frame.
    windowCursor_ = file;
    if (!file.empty()) {
        try {
            const std::string bytes = VrFileManager().ReadString(file);
            const TCursorImage cursor = ReadCursorFile(
                std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
            if (cursorWindow_->ShowCursor(cursor.Pixels, cursor.Width, cursor.Height, cursor.HotX, cursor.HotY))
                return;
        } catch (const std::exception&) {
            // A missing or damaged cursor file shows no custom cursor; the
            // game goes on without a word.
        }
    }
    cursorWindow_->ShowDefaultCursor();
}

void TVeskBaseList::MousePass(TVeskBase& base) {
    TBaseMouse& m = base.Mouse;
    if (input_) {
        m.Moved = m.Moved || input_->MouseX() != m.X || input_->MouseY() != m.Y;
        m.X = input_->MouseX();
        m.Y = input_->MouseY();
        m.LeftPress = input_->LClick();
        m.RightPress = input_->RClick();
        m.WheelDown = input_->WheelDown();
        m.WheelUp = input_->WheelUp();
        m.LeftHeld = input_->LPush();
        m.RightHeld = input_->RPush();
    }

    if (m.RightPress) {
        // Copied: a destroyed entry leaves the list while it is walked.
        const std::vector<TVeskControl*> list = rclick_;
        for (TVeskControl* c : list) {
            if (std::find(rclick_.begin(), rclick_.end(), c) == rclick_.end()) continue;
            const std::int32_t mode = c->GetIgnoreMouse();
            if (!c->GetRClickScrap() || !c->Showing() || c->OwnerBase() != &base || c->GetPaused() ||
                c->InsideCabinet() || (mode != IM_NONE && mode != IM_LCLICK))
                continue;
            if (c->RClickDestroy()) {
                base.ConsumeRightPress();
                break;
            }
        }
    }

    if (m.Capture != 0) {
        if (TVeskControl* captured = Registered(m.Hover)) {
            if ((m.Capture & kCaptureLeft) && !m.LeftHeld) {
                captured->MouseLeftUp();
                m.Capture &= ~kCaptureLeft;
            } else if ((m.Capture & kCaptureRight) && !m.RightHeld) {
                captured->MouseRightUp();
                m.Capture &= ~kCaptureRight;
            }
            if (m.Moved && (captured = Registered(m.Hover))) captured->MouseMoved();
            if ((captured = Registered(m.Hover))) captured->CapturedUpdate();
            m.Moved = false;
            return;
        }
    }

    const std::uint32_t modes = m.LeftPress ? kHitLeftPress : m.RightPress ? kHitRightPress : kHitNoPress;
    TVeskControl* hit = base.HitTest(m.X, m.Y, modes);
    m.Capture = 0;
    // Handlers may destroy the target (or anything else): it is looked up
    // again after each of them.
    const TObjectId targetId = hit ? hit->Id() : kNoObject;
    auto target = [&] { return Registered(targetId); };
    if (TVeskControl* t = target()) {
        ChooseCursor(base, *t);
        if (m.LeftPress) {
            t->MouseLeftDown();
            if ((t = target()) && !t->GetPaused() && t->GetHandleKey()) SetFocus(t);
        } else if (m.RightPress) {
            t->MouseRightDown();
        } else if (!t->SuppressesEvents()) {
            if (m.WheelDown && !IsWaiting(*t, PR_ONWHEELDOWN)) t->RaiseEvent(t->GetOnWheelDown(), PR_ONWHEELDOWN);
            if (m.WheelUp && !IsWaiting(*t, PR_ONWHEELUP)) t->RaiseEvent(t->GetOnWheelUp(), PR_ONWHEELUP);
        }
    }
    const TObjectId previousId = m.Hover;
    if (TVeskControl* previous = Registered(previousId); previous && previousId != targetId) previous->MouseOut();
    if (TVeskControl* t = target(); t && (m.Moved || targetId != previousId)) {
        if (targetId != previousId) t->MouseIn();
        if ((t = target())) t->MouseMoved();
    }
    m.Hover = target() ? targetId : kNoObject;
    m.Moved = false;
}

void TVeskBaseList::InputPass(std::int32_t) {
    if (focusRequested_) SetFocus(ActiveBase().FindFocusable());
    MousePass(ActiveBase());
    if (focused_ && focused_->GetHandleKey() && input_) {
        TVeskControl* f = focused_;
        const TObjectId id = f->Id();
        if (!input_->WentDown().empty()) f->KeyDown();
        if (Registered(id) == f && !input_->Repeated().empty()) f->KeyRepeat();
        if (Registered(id) == f && !input_->WentUp().empty()) f->KeyUp();
    }
}

void TVeskBaseList::UpdatePass(std::int32_t elapsedMs) {
    for (auto& b : bases_) b->Update(elapsedMs);
    for (std::size_t i = 0; i < items_.size();) {
        TVeskObject& obj = *items_[i];
        const TVeskControl* c = obj.AsControl();
        const bool stored = c && c->InsideCabinet();
        auto* comp = dynamic_cast<TVeskComponent*>(&obj);
        if (!stored && comp) {
            const bool quiet = c && c->SuppressesEvents();
            if (!quiet && !IsWaiting(obj, PR_ONIDLE)) comp->RaiseEvent(obj.GetOnIdle(), PR_ONIDLE, {}, false);
        }
        if (comp && !obj.GetPaused() && !IsPendingDestruction(obj) && !stored && comp->Update(elapsedMs)) {
            Destroy(obj);  // the next component moved into this index
            continue;
        }
        ++i;
    }
    DestroyPending();
}

}  // namespace vesk
