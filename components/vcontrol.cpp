#include "components/vcontrol.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "components/vbaselist.h"

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

int Depth(const TVeskControl* c) {
    int depth = 0;
    for (; c->Parent(); c = c->Parent()) ++depth;
    return depth;
}

}  // namespace

TVeskControl::~TVeskControl() {
    if (parent_) std::erase(parent_->children_, this);
    for (TVeskControl* child : children_) child->parent_ = nullptr;
}

void TVeskControl::SetParent(TVeskControl* parent) {
    if (!parent || parent == parent_ || Contains(parent)) return;
    Invalidate();
    if (parent_) std::erase(parent_->children_, this);
    parent_ = parent;
    parent_->children_.push_back(this);
    parent_->SortChildren();
    Invalidate();
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
