#include "components/objects/vcontrol.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "components/kinds/kinds.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"
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

std::int64_t Scaled(std::int32_t v, std::int32_t zoom) { return zoom == 256 ? v : std::int64_t{v} * zoom / 256; }

// A zoom of 0 means an explicit size: anchor and position then scale by
// the displayed size against the picture's, so the anchor stays on the same
// pixel of the picture instead of collapsing to the corner.
std::int32_t ExplicitSizeZoom(std::int32_t shown, const TCustomDIBX* picture, bool horizontal) {
    const int source = picture ? (horizontal ? picture->Width() : picture->Height()) : 0;
    if (source <= 0) return 256;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{shown} * 256 / source, 0, INT32_MAX));
}

// Anchor and base coordinate, without the parent: c - a.
std::int64_t OwnPosition(const TVeskControl::TAxis& a, bool relative) {
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

TVeskControl::TAxis TVeskControl::Axis(bool horizontal) const {
    // Placement runs for every control on every dirty rectangle: the
    // picture is looked up only when an explicit size needs it.
    std::int32_t zoom = horizontal ? GetZoomX() : GetZoomY();
    const std::int32_t size = horizontal ? width_ : height_;
    if (zoom <= 0) zoom = ExplicitSizeZoom(size, ImageSurface(), horizontal);
    if (horizontal) return {left_, offsetX_, zoom, size, motionX_, plusX_, GetFlipH(), posZoomed_, HasMotion()};
    return {top_, offsetY_, zoom, size, motionY_, plusY_, GetFlipV(), posZoomed_, HasMotion()};
}

std::int32_t TVeskControl::ScreenPos(bool horizontal) const {
    const TAxis a = Axis(horizontal);
    const TVeskControl* p = parent_;
    if (!p) return Clamp32(OwnPosition(a, false) + a.plus);
    const std::int64_t parentPos = std::int64_t{horizontal ? p->ScreenX() : p->ScreenY()} -
                                   (horizontal ? p->GetScrollX() : p->GetScrollY());
    // A zoomed child of a zoomed picture is placed through the parent's
    // real scale, so that it stays on the pixel of the picture it was
    // placed on however the parent's size was rounded.
    if (a.posZoomed && !a.hasMotion && !p->IsBase()) {
        const TCustomDIBX* own = ImageSurface();
        const TCustomDIBX* ps = p->ImageSurface();
        const auto zoomOf = [horizontal](const TVeskControl* c) { return horizontal ? c->GetZoomX() : c->GetZoomY(); };
        const std::int32_t parentShown = horizontal ? p->GetWidth() : p->GetHeight();
        if (own && ps && zoomOf(p) == zoomOf(this) && parentShown > 0) {
            const std::int64_t parentSource = horizontal ? ps->Width() : ps->Height();
            const std::int64_t ownSource = horizontal ? own->Width() : own->Height();
            const std::int64_t s = parentSource * 65536 / parentShown;
            if (s > 0) {
                const std::int64_t n = a.flip ? (parentSource + a.offset - a.pos - ownSource) * 65536
                                              : (std::int64_t{a.pos} - a.offset) * 65536;
                return Clamp32(n / s + (n % s > 32767 ? 1 : 0) + parentPos + a.plus);
            }
        }
    }
    return Clamp32(OwnPosition(a, false) + parentPos + a.plus);
}

std::int32_t TVeskControl::ScreenX() const { return ScreenPos(true); }
std::int32_t TVeskControl::ScreenY() const { return ScreenPos(false); }

std::int32_t TVeskControl::ParentRelX() const {
    const TAxis a = Axis(true);
    return Clamp32(OwnPosition(a, true) + a.plus);
}

std::int32_t TVeskControl::ParentRelY() const {
    const TAxis a = Axis(false);
    return Clamp32(OwnPosition(a, true) + a.plus);
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

TRect TVeskControl::DrawnArea() const { return HasClip() ? Intersect(HitRect(), ClipRectangle()) : HitRect(); }

void TVeskControl::DrawChild(TCustomDIBX& dest, TVeskControl& child, const TRect& area, const TRect& drawn) {
    // A child outside the area draws nothing, nor do its children (cut to
    // it): it is passed over before its drawing code runs.
    if (Intersect(area, drawn).IsEmpty()) return;
    const TRect saved = dest.ClipRect;
    dest.ClipRect = child.HasClip() ? Intersect(area, child.ClipRectangle()) : area;
    child.Draw(dest);
    dest.ClipRect = saved;
}

void TVeskControl::DrawChildren(TCustomDIBX& dest) {
    const TRect area = Intersect(HitRect(), dest.EffectiveClip());
    if (area.IsEmpty()) return;
    for (TVeskControl* child : children_)
        if (child->Showing()) DrawChild(dest, *child, area, child->DrawnArea());
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

void TVeskControl::ButtonDown(bool left) {
    // The other button's ignoring mode still lets this one through.
    if (inputMode_ != IM_NONE && inputMode_ != (left ? IM_RCLICK : IM_LCLICK)) return;
    TVeskBase* base = OwnerBase();
    if (!base || IsBase()) return;
    const int code = left ? PR_ONLBTNDOWN : PR_ONRBTNDOWN;
    if (CanRaise() && !(Owner() && Owner()->IsWaiting(*this, code))) {
        RaiseEvent(left ? GetOnLBtnDown() : GetOnRBtnDown(), code, MouseArgs(), false);
        base->Mouse.Capture |= left ? kCaptureLeft : kCaptureRight;
    }
    // Taken by the control, or swallowed by a paused one: either way the
    // click no longer reaches the scripts' click state.
    if (left) base->ConsumeLeftPress();
    else base->ConsumeRightPress();
}

void TVeskControl::MouseLeftDown() { ButtonDown(true); }
void TVeskControl::MouseRightDown() { ButtonDown(false); }

void TVeskControl::MouseLeftUp() {
    if (TVeskBase* base = OwnerBase()) base->Mouse.Capture &= ~kCaptureLeft;
    if (!SuppressesEvents()) RaiseEvent(GetOnLBtnUp(), PR_ONLBTNUP, MouseArgs(), false);
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
