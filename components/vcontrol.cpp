#include "components/vcontrol.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "components/kinds.h"
#include "components/propids.h"
#include "components/vbaselist.h"
#include "gfx/dibx.h"

namespace vesk {

namespace {

// Real trees are a few levels deep; a stream nesting deeper than this is
// damaged, and reading it on would only exhaust the stack.
constexpr int kMaxTreeDepth = 256;

int SiblingRank(const std::string& name) {
    if (name == "\x01\x01") return 2;
    return IsSystemName(name) ? 0 : 1;
}

bool SiblingBefore(const TVeskControl* a, const TVeskControl* b) {
    const int ra = SiblingRank(a->Name()), rb = SiblingRank(b->Name());
    if (ra != rb) return ra < rb;
    const std::int64_t pa = std::int64_t{a->Priority()} + a->PriorityOffset();
    const std::int64_t pb = std::int64_t{b->Priority()} + b->PriorityOffset();
    if (pa != pb) return pa < pb;
    return a->Name() < b->Name();  // char_traits compares bytes unsigned
}

// One axis of the screen position of a control's origin.
struct TAxis {
    std::int32_t pos, offset, zoom, size, motion, plus;
    bool flip, posZoomed, hasMotion;
};

std::int64_t Scaled(std::int32_t v, std::int32_t zoom) { return zoom == 256 ? v : std::int64_t{v} * zoom / 256; }

// A zoom of 0 means an explicit size: anchor and position then scale by
// the displayed size against the picture's, so the anchor stays on the same
// pixel of the picture instead of collapsing to the corner.
std::int32_t EffectiveZoom(std::int32_t zoom, std::int32_t shown, const TCustomDIBX* picture, bool horizontal) {
    if (zoom > 0) return zoom;
    const int source = picture ? (horizontal ? picture->Width() : picture->Height()) : 0;
    if (source <= 0) return 256;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{shown} * 256 / source, 0, INT32_MAX));
}

// Anchor and base coordinate, without the parent: c - a.
std::int64_t OwnPosition(const TAxis& a, bool relative) {
    const std::int64_t scaled = Scaled(a.offset, a.zoom);
    const std::int64_t anchor = a.flip ? a.size - scaled - (relative ? 0 : 1) : scaled;
    const std::int64_t c = a.hasMotion ? a.motion : a.posZoomed ? Scaled(a.pos, a.zoom) : a.pos;
    return c - anchor;
}

std::int32_t Clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

int Depth(const TVeskControl* c) {
    int depth = 0;
    for (; c->Parent(); c = c->Parent()) ++depth;
    return depth;
}

}  // namespace

TVeskControl::~TVeskControl() {
    motion_.reset();
    if (parent_) std::erase(parent_->children_, this);
    for (TVeskControl* child : children_) child->parent_ = nullptr;
}

void TVeskControl::SetParent(TVeskControl* parent) {
    if (!parent || parent == parent_ || Contains(parent)) return;
    Invalidate();
    if (parent_) {
        std::erase(parent_->children_, this);
        if (parent_->IsCabinet()) LeftCabinet();
    }
    parent_ = parent;
    parent_->children_.push_back(this);
    parent_->SortChildren();
    if (parent_->IsCabinet()) EnteredCabinet();
    Invalidate();
    TVeskBaseList* owner = Owner();
    if (!owner) return;
    const bool active = OnActiveBase();
    if (owner->Focused() && Contains(owner->Focused()) && !active) owner->DropFocus();
    else if (!owner->Focused() && active) owner->RequestFocus();
}

bool TVeskControl::Contains(const TVeskObject* obj) const {
    for (const TVeskObject* o = obj; o; o = o->Parent())
        if (o == this) return true;
    return false;
}

void TVeskControl::SortChildren() { std::stable_sort(children_.begin(), children_.end(), SiblingBefore); }

void TVeskControl::OrderChanged() {
    if (parent_) parent_->SortChildren();
    Invalidate();
}

void TVeskControl::SetMotionPos(std::int32_t x, std::int32_t y) {
    Change(motionX_, x);
    Change(motionY_, y);
}

void TVeskControl::SetVisible(const bool& v) {
    if (visible_ == v) return;
    Change(visible_, v);
    TVeskBaseList* owner = Owner();
    if (!owner) return;
    if (!v && owner->Focused() && Contains(owner->Focused())) owner->DropFocus();
    else if (v && !owner->Focused()) owner->RequestFocus();
}

void TVeskControl::SetHandleKey(const bool& v) {
    if (handleKey_ == v) return;
    handleKey_ = v;
    TVeskBaseList* owner = Owner();
    if (!owner) return;
    if (v && !owner->Focused()) owner->RequestFocus();
    if (!v && owner->Focused() == this) owner->RequestFocus();
}

bool TVeskControl::GetPlaying() const {
    return motion_ && !motion_->Ended() && !GetPaused() && !aniPaused_;
}

std::int32_t TVeskControl::ScreenX() const {
    const std::int32_t zoom = EffectiveZoom(GetZoomX(), width_, ImageSurface(), true);
    const bool hasMotion = HasMotion();
    const TVeskControl* p = parent_;
    const TCustomDIBX* own = ImageSurface();
    const TCustomDIBX* ps = p ? p->ImageSurface() : nullptr;
    // A zoomed child of a zoomed picture is placed through the parent's
    // real scale, so that it stays on the pixel of the picture it was
    // placed on however the parent's size was rounded.
    if (posZoomed_ && own && ps && !p->IsBase() && p->GetZoomX() == GetZoomX() && !hasMotion && p->GetWidth() > 0) {
        const std::int64_t s = std::int64_t{ps->Width()} * 65536 / p->GetWidth();
        if (s > 0) {
            const std::int64_t n = GetFlipH()
                ? (std::int64_t{ps->Width()} + offsetX_ - left_ - own->Width()) * 65536
                : (std::int64_t{left_} - offsetX_) * 65536;
            const std::int64_t pos = n / s + (n % s > 32767 ? 1 : 0);
            return Clamp32(pos + p->ScreenX() + plusX_ - p->GetScrollX());
        }
    }
    const std::int64_t own0 = OwnPosition({left_, offsetX_, zoom, width_, motionX_, plusX_, GetFlipH(), posZoomed_, hasMotion}, false);
    return Clamp32(own0 + (p ? std::int64_t{p->ScreenX()} - p->GetScrollX() : 0) + plusX_);
}

std::int32_t TVeskControl::ScreenY() const {
    const std::int32_t zoom = EffectiveZoom(GetZoomY(), height_, ImageSurface(), false);
    const bool hasMotion = HasMotion();
    const TVeskControl* p = parent_;
    const TCustomDIBX* own = ImageSurface();
    const TCustomDIBX* ps = p ? p->ImageSurface() : nullptr;
    if (posZoomed_ && own && ps && !p->IsBase() && p->GetZoomY() == GetZoomY() && !hasMotion && p->GetHeight() > 0) {
        const std::int64_t s = std::int64_t{ps->Height()} * 65536 / p->GetHeight();
        if (s > 0) {
            const std::int64_t n = GetFlipV()
                ? (std::int64_t{ps->Height()} + offsetY_ - top_ - own->Height()) * 65536
                : (std::int64_t{top_} - offsetY_) * 65536;
            const std::int64_t pos = n / s + (n % s > 32767 ? 1 : 0);
            return Clamp32(pos + p->ScreenY() + plusY_ - p->GetScrollY());
        }
    }
    const std::int64_t own0 = OwnPosition({top_, offsetY_, zoom, height_, motionY_, plusY_, GetFlipV(), posZoomed_, hasMotion}, false);
    return Clamp32(own0 + (p ? std::int64_t{p->ScreenY()} - p->GetScrollY() : 0) + plusY_);
}

std::int32_t TVeskControl::ParentRelX() const {
    return Clamp32(OwnPosition({left_, offsetX_, EffectiveZoom(GetZoomX(), width_, ImageSurface(), true), width_, motionX_, plusX_, GetFlipH(), posZoomed_, HasMotion()}, true) + plusX_);
}

std::int32_t TVeskControl::ParentRelY() const {
    return Clamp32(OwnPosition({top_, offsetY_, EffectiveZoom(GetZoomY(), height_, ImageSurface(), false), height_, motionY_, plusY_, GetFlipV(), posZoomed_, HasMotion()}, true) + plusY_);
}

TRect TVeskControl::ClipRectangle() const {
    if (!HasClip()) return {};
    return ClampedBounds(std::int64_t{ScreenX()} + clip_[0], std::int64_t{ScreenY()} + clip_[1], clip_[2], clip_[3]);
}

TVeskBase* TVeskControl::OwnerBase() const {
    const TVeskControl* c = this;
    while (c->parent_) c = c->parent_;
    return c->IsBase() ? static_cast<TVeskBase*>(const_cast<TVeskControl*>(c)) : nullptr;
}

bool TVeskControl::OnActiveBase() const {
    const TVeskBase* base = OwnerBase();
    return base && Owner() && base == &Owner()->ActiveBase();
}

bool TVeskControl::InsideCabinet() const {
    for (const TVeskControl* p = parent_; p; p = p->parent_)
        if (p->IsCabinet()) return true;
    return false;
}

void TVeskControl::Invalidate() {
    if (!Showing()) return;
    TVeskBase* base = OwnerBase();
    if (!base || base == this) {
        if (base) base->InvalidateAll();
        return;
    }
    TRect r = HitRect();
    if (parent_) {
        r = Intersect(r, parent_->HitRect());
        if (r.IsEmpty()) return;
    }
    if (HasClip()) {
        r = Intersect(r, ClipRectangle());
        if (r.IsEmpty()) return;
    }
    for (const TVeskControl* p = parent_; p; p = p->parent_) p->AdjustDirtyRect(r);
    base->AddDirty(r);
}

void TVeskControl::DrawChildren(TCustomDIBX& dest) {
    const TRect saved = dest.ClipRect;
    const TRect area = Intersect(HitRect(), dest.EffectiveClip());
    if (area.IsEmpty()) return;
    for (TVeskControl* child : children_) {
        if (!child->Showing()) continue;
        const TRect clip = child->HasClip() ? Intersect(area, child->ClipRectangle()) : area;
        if (clip.IsEmpty()) continue;
        dest.ClipRect = clip;
        child->Draw(dest);
        dest.ClipRect = saved;
    }
}

TVeskControl* TVeskControl::HitTest(std::int32_t x, std::int32_t y, std::uint32_t modes) {
    if (!Showing()) return nullptr;
    const TRect r = HitRect();
    if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) return nullptr;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if (TVeskControl* hit = (*it)->HitTest(x, y, modes)) return hit;
    return inputMode_ < 32 && (modes >> inputMode_ & 1) != 0 ? this : nullptr;
}

std::vector<std::string> TVeskControl::MouseArgs() const {
    const TVeskBase* base = OwnerBase();
    const std::int32_t mx = base ? base->Mouse.X : 0, my = base ? base->Mouse.Y : 0;
    return {std::to_string(std::int64_t{mx} - ScreenX()), std::to_string(std::int64_t{my} - ScreenY())};
}

void TVeskControl::MouseLeftDown() {
    if (inputMode_ != IM_NONE && inputMode_ != IM_RCLICK) return;
    TVeskBase* base = OwnerBase();
    if (!base || IsBase()) return;
    bool waiting = false;
    if (Owner()) waiting = Owner()->IsWaiting(*this, PR_ONLBTNDOWN);
    if (CanRaise() && !waiting) {
        RaiseEvent(GetOnLBtnDown(), PR_ONLBTNDOWN, MouseArgs(), false);
        base->Mouse.Capture |= kCaptureLeft;
    }
    // Taken by the control, or swallowed by a paused one: either way the
    // click no longer reaches the scripts' click state.
    base->ConsumeLeftPress();
}

void TVeskControl::MouseLeftUp() {
    if (TVeskBase* base = OwnerBase()) base->Mouse.Capture &= ~kCaptureLeft;
    if (!SuppressesEvents()) RaiseEvent(GetOnLBtnUp(), PR_ONLBTNUP, MouseArgs(), false);
}

void TVeskControl::MouseRightDown() {
    if (inputMode_ != IM_NONE && inputMode_ != IM_LCLICK) return;
    TVeskBase* base = OwnerBase();
    if (!base || IsBase()) return;
    const bool waiting = Owner() && Owner()->IsWaiting(*this, PR_ONRBTNDOWN);
    if (CanRaise() && !waiting) {
        RaiseEvent(GetOnRBtnDown(), PR_ONRBTNDOWN, MouseArgs(), false);
        base->Mouse.Capture |= kCaptureRight;
    }
    base->ConsumeRightPress();
}

void TVeskControl::MouseRightUp() {
    if (TVeskBase* base = OwnerBase()) base->Mouse.Capture &= ~kCaptureRight;
    if (!SuppressesEvents()) RaiseEvent(GetOnRBtnUp(), PR_ONRBTNUP, MouseArgs(), false);
}

void TVeskControl::MouseMoved() {
    if (!SuppressesEvents()) RaiseEvent(GetOnMouseMove(), PR_ONMOUSEMOVE, MouseArgs());
}

void TVeskControl::MouseIn() {
    if (!SuppressesEvents()) RaiseEvent(GetOnMouseIn(), PR_ONMOUSEIN, {}, false);
}

void TVeskControl::MouseOut() {
    if (!SuppressesEvents()) RaiseEvent(GetOnMouseOut(), PR_ONMOUSEOUT, {}, false);
}

namespace {

std::vector<std::string> KeyArgs(const std::vector<int>& keys) {
    std::vector<std::string> args;
    for (int k : keys) args.push_back(std::to_string(k));
    return args;
}

}  // namespace

void TVeskControl::KeyDown() {
    if (CanRaise() && Owner() && Owner()->Input())
        RaiseEvent(GetOnKeyDown(), PR_ONKEYDOWN, KeyArgs(Owner()->Input()->WentDown()));
}

void TVeskControl::KeyRepeat() {
    if (CanRaise() && Owner() && Owner()->Input())
        RaiseEvent(GetOnKeyRepeat(), PR_ONKEYREPEAT, KeyArgs(Owner()->Input()->Repeated()));
}

void TVeskControl::KeyUp() {
    if (CanRaise() && Owner() && Owner()->Input())
        RaiseEvent(GetOnKeyUp(), PR_ONKEYUP, KeyArgs(Owner()->Input()->WentUp()));
}

TVeskControl* TVeskControl::FindFocusable() {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->Showing())
            if (TVeskControl* found = (*it)->FindFocusable()) return found;
    return handleKey_ && !GetPaused() ? this : nullptr;
}

bool TVeskControl::Update(std::int32_t elapsedMs) {
    if (!motion_ || !motion_->Step(elapsedMs)) return false;
    if (GetAutoScrap()) return true;
    RaiseEvent(GetOnPlayEnd(), PR_ONPLAYEND, {}, false);
    return false;
}

void TVeskControl::StartMotion(const std::string& file) {
    StopMotion();
    if (Owner() && Owner()->MotionFactory()) motion_ = Owner()->MotionFactory()(*this, file);
}

void TVeskControl::StopMotion() {
    if (!motion_) return;
    motion_.reset();
    SetMotionPos(0, 0);
    SetPriorityOffset(0);
}

void TVeskControl::SaveToStream(TStream& s) const {
    TVeskComponent::SaveToStream(s);
    for (std::int32_t v : {left_, top_, width_, height_, offsetX_, offsetY_}) WriteInt32(s, v);
    WriteFlag(s, posZoomed_);
    for (std::int32_t v : {motionX_, motionY_, plusX_, plusY_}) WriteInt32(s, v);
    for (std::int32_t v : clip_) WriteInt32(s, v);
    WriteFlag(s, aniPaused_);
    WriteFlag(s, visible_);
    WriteInt32(s, color_);
    for (std::int32_t v : rect_) WriteInt32(s, v);
    WriteByte(s, inputMode_);
    WriteString(s, cursor_);
    for (std::size_t i = 0; i < 9; ++i) WriteString(s, events_[i]);
    WriteFlag(s, handleKey_);
    for (std::size_t i = 9; i < 14; ++i) WriteString(s, events_[i]);
    SaveOwnState(s);

    std::vector<const TVeskControl*> saved;
    for (const TVeskControl* c : children_)
        if (!c->IsPendingDestruction() && c->CompoType() != 0 && !c->HasSystemName()) saved.push_back(c);
    WriteInt32(s, static_cast<std::int32_t>(saved.size()));
    for (const TVeskControl* c : saved) {
        WriteByte(s, c->CompoType());
        c->SaveToStream(s);
    }
}

void TVeskControl::LoadFromStream(TStream& s, int version) {
    TVeskComponent::LoadFromStream(s, version);
    for (std::int32_t* v : {&left_, &top_, &width_, &height_, &offsetX_, &offsetY_}) *v = ReadInt32(s);
    posZoomed_ = ReadFlag(s);
    motionX_ = motionY_ = plusX_ = plusY_ = 0;
    if (version >= 130)
        for (std::int32_t* v : {&motionX_, &motionY_, &plusX_, &plusY_}) *v = ReadInt32(s);
    clip_ = {};
    aniPaused_ = false;
    if (version > 103) {
        for (std::int32_t& v : clip_) v = ReadInt32(s);
        aniPaused_ = ReadFlag(s);
    }
    visible_ = ReadFlag(s);
    color_ = ReadInt32(s);
    for (std::int32_t& v : rect_) v = ReadInt32(s);
    inputMode_ = ReadByte(s);
    cursor_ = ReadString(s);
    // Mouse events; the mouse-in page (slot 1) exists only in newer layouts.
    for (std::size_t i = 0; i < 9; ++i) events_[i] = i == 1 && version <= 101 ? std::string() : ReadString(s);
    handleKey_ = false;
    for (std::size_t i = 9; i < 14; ++i) events_[i].clear();
    if (version > 117) {
        handleKey_ = ReadFlag(s);
        for (std::size_t i = 9; i < 14; ++i) events_[i] = ReadString(s);
    }
    LoadOwnState(s, version);
    LoadChildren(s, version);
    SortChildren();
}

void TVeskControl::LoadChildren(TStream& s, int version) {
    const std::int32_t count = ReadInt32(s);
    if (count == 0) return;
    CheckCount(s, count, 1);
    if (!Owner()) throw EStreamError(Sj("コンポーネントを読み込めません"));
    if (Depth(this) >= kMaxTreeDepth) throw EStreamError(Sj("コンポーネントの入れ子が深すぎます"));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t kind = ReadByte(s);
        TVeskObject* obj = Owner()->CreateKind(kind);
        TVeskControl* child = obj ? obj->AsControl() : nullptr;
        if (!child) {
            if (obj) Owner()->Destroy(*obj);
            throw EStreamError(Sj("コンポーネントの種類が不正です"));
        }
        child->SetParent(this);
        child->LoadFromStream(s, version);
    }
}

}  // namespace vesk
