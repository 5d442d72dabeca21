#include "components/registry/vbaselist.h"

#include <algorithm>
#include <string>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "components/kinds/vitemex.h"
#include "components/registry/vr_mask_source.h"
#include "transitions/wipe.h"

namespace vesk {

TVeskBaseList::TVeskBaseList()
    : images_(std::make_unique<TFenkCollection>()), maskSource_(std::make_unique<TVrMaskSource>(*images_)) {
    bases_[0] = MakeBase(0);
    bases_[1] = MakeBase(1);
}

TVeskBaseList::~TVeskBaseList() { Clear(); }

std::unique_ptr<TVeskBase> TVeskBaseList::MakeBase(int number) {
    auto base = std::make_unique<TVeskBase>(this, number);
    base->id_ = nextId_++;
    base->SetWidth(width_);
    base->SetHeight(height_);
    byId_[base->id_] = base.get();
    return base;
}

TVeskObject& TVeskBaseList::Adopt(std::unique_ptr<TVeskObject> obj) {
    TVeskObject& o = *obj;
    o.id_ = nextId_++;
    if (o.WantsAutoName()) o.SetRawName(UnusedName("object", 0));
    byId_[o.id_] = &o;
    items_.push_back(std::move(obj));
    if (TVeskControl* c = o.AsControl(); c && !c->Parent()) c->SetParent(&ActiveBase());
    return o;
}

TVeskObject* TVeskBaseList::CreateKind(std::uint8_t kind) {
    std::unique_ptr<TVeskObject> obj = CreateComponent(kind & 0x7F, this);
    return obj ? &Adopt(std::move(obj)) : nullptr;
}

void TVeskBaseList::Destroy(TVeskObject& obj) {
    if (&obj == bases_[0].get() || &obj == bases_[1].get()) return;
    DestroyTree(obj);
}

void TVeskBaseList::DestroyTree(TVeskObject& obj) {
    if (TVeskControl* c = obj.AsControl()) {
        c->Invalidate();
        while (!c->children_.empty()) DestroyTree(*c->children_.back());
    }
    if (focused_ == &obj) {
        focused_ = nullptr;
        focusRequested_ = true;
    }
    std::erase(pending_, &obj);
    byId_.erase(obj.id_);
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == &obj; });
    if (it != items_.end()) items_.erase(it);  // the destructor leaves the parent and the queue
}

void TVeskBaseList::MarkForDestruction(TVeskObject& obj) {
    if (&obj == bases_[0].get() || &obj == bases_[1].get() || IsPendingDestruction(obj)) return;
    pending_.push_back(&obj);
    obj.SetRawName({});
}

bool TVeskBaseList::IsPendingDestruction(const TVeskObject& obj) const {
    return std::find(pending_.begin(), pending_.end(), &obj) != pending_.end();
}

void TVeskBaseList::DestroyPending() {
    while (!pending_.empty()) Destroy(*pending_.front());
}

void TVeskBaseList::Reset() {
    const bool drawn = bases_[0]->Surface() != nullptr;
    Clear();
    bases_[0] = MakeBase(0);
    bases_[1] = MakeBase(1);
    if (drawn)
        for (auto& b : bases_) b->MakeSurface(bitCount_);
}

void TVeskBaseList::Clear() {
    wipe_.reset();
    wipeRect_ = {};
    focused_ = nullptr;
    focusRequested_ = false;
    pending_.clear();
    queue_.Clear();
    // Everything goes at once, so the links between the objects are cut
    // first and no destructor walks into an object already gone.
    auto unlink = [](TVeskObject& o) {
        if (TVeskControl* c = o.AsControl()) {
            c->children_.clear();
            c->parent_ = nullptr;
        }
    };
    for (auto& o : items_) unlink(*o);
    for (auto& b : bases_) unlink(*b);
    items_.clear();
    byId_.clear();
    rclick_.clear();
}

TVeskObject* TVeskBaseList::FindById(TObjectId id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

TVeskObject* TVeskBaseList::FindComponent(const std::string& name) const {
    if (name.empty() || name == Base(0).Name()) return &ActiveBase();
    if (name == std::string(1, kSystemNameMark) || name == Base(1).Name()) return &InactiveBase();
    return FindByName(name);
}

TVeskControl* TVeskBaseList::FindControl(const std::string& name) const {
    if (name.empty()) return &ActiveBase();
    if (name == std::string(1, kSystemNameMark)) return &InactiveBase();
    for (const auto& b : bases_)
        if (name == b->Name()) return b.get();
    for (const auto& o : items_)
        if (o->Name() == name)
            if (TVeskControl* c = o->AsControl()) return c;
    return nullptr;
}

TVeskObject* TVeskBaseList::FindByName(const std::string& name) const {
    for (const auto& o : items_)
        if (o->Name() == name) return o.get();
    return nullptr;
}

bool TVeskBaseList::NameUsed(const std::string& name) const { return FindByName(name) != nullptr; }

std::string TVeskBaseList::UnusedName(const std::string& stem, int first) const {
    // Automatic names run on from "object0"; renamed controls from "_2".
    const std::string sep = first == 0 ? "" : "_";
    for (int n = first;; ++n) {
        std::string name = stem + sep + std::to_string(n);
        if (!NameUsed(name)) return name;
    }
}

void TVeskBaseList::ResolveNameClash(TVeskObject& obj, const std::string& name) {
    TVeskObject* other = nullptr;
    for (const auto& o : items_)
        if (o.get() != &obj && o->Name() == name) other = o.get();
    if (!other) return;
    if (!other->IsControl()) {
        MarkForDestruction(*other);
        return;
    }
    // The displaced control keeps its stem: a trailing "_N" with N > 1 is
    // taken off before the first free "_2", "_3" … is appended.
    std::string stem = name;
    const std::size_t us = stem.rfind('_');
    if (us != std::string::npos && us + 1 < stem.size() &&
        std::all_of(stem.begin() + static_cast<std::ptrdiff_t>(us) + 1, stem.end(),
                    [](char ch) { return ch >= '0' && ch <= '9'; })) {
        const std::string digits = stem.substr(us + 1);
        const std::size_t lead = digits.find_first_not_of('0');
        const bool aboveOne = lead != std::string::npos && (digits.size() - lead > 1 || digits[lead] > '1');
        if (aboveOne) stem.resize(us);
    }
    other->SetRawName(UnusedName(stem, 2));
}

void TVeskBaseList::SetSize(int width, int height) {
    EndTransition();
    width_ = width;
    height_ = height;
    for (auto& b : bases_) {
        b->SetWidth(width);
        b->SetHeight(height);
        if (b->Surface()) b->MakeSurface(bitCount_);
    }
}

void TVeskBaseList::SaveToStream(TStream& s) const {
    WriteInt32(s, width_);
    WriteInt32(s, height_);
    WriteInt32(s, active_);
    Base(0).SaveToStream(s);
    Base(1).SaveToStream(s);

    std::vector<const TVeskObject*> saved;
    for (const auto& o : items_)
        if (!o->IsControl() && !IsPendingDestruction(*o) && o->CompoType() != 0 && !o->HasSystemName())
            saved.push_back(o.get());
    WriteInt32(s, static_cast<std::int32_t>(saved.size()));
    for (const TVeskObject* o : saved) {
        WriteByte(s, o->CompoType());
        o->SaveToStream(s);
    }

    WriteInt32(s, queue_.Count());
    for (int i = 0; i < queue_.Count(); ++i) {
        const TTimerData& e = queue_.Item(i);
        const TVeskObject* sender = FindById(e.Sender);
        WriteString(s, e.Page);
        WriteString(s, sender ? sender->Name() : std::string());
        WriteByte(s, e.Code);
        WriteInt32(s, e.Level);
        WriteInt32(s, static_cast<std::int32_t>(e.Args.size()));
        for (const std::string& a : e.Args) WriteString(s, a);
    }
    WriteString(s, focused_ ? focused_->Name() : std::string());
}

void TVeskBaseList::LoadFromStream(TStream& s, int version) {
    Reset();
    const std::int32_t width = ReadInt32(s);
    const std::int32_t height = ReadInt32(s);
    if (width < 0 || height < 0 || width > kMaxScreenSide || height > kMaxScreenSide)
        throw EStreamError(Sj("画面サイズが不正です") + " (" + std::to_string(width) + "x" + std::to_string(height) + ")");
    SetSize(width, height);
    active_ = ReadInt32(s) == 1 ? 1 : 0;
    Base(0).LoadFromStream(s, version);
    Base(1).LoadFromStream(s, version);

    const std::int32_t count = ReadInt32(s);
    CheckCount(s, count, 1);
    for (std::int32_t i = 0; i < count; ++i) {
        TVeskObject* obj = CreateKind(ReadByte(s));
        if (!obj || obj->IsControl()) {
            if (obj) Destroy(*obj);
            throw EStreamError(Sj("コンポーネントの種類が不正です"));
        }
        obj->LoadFromStream(s, version);
    }

    const std::int32_t entries = ReadInt32(s);
    CheckCount(s, entries, 14);  // the smallest entry: two empty strings, code, mark, no arguments
    for (std::int32_t i = 0; i < entries; ++i) {
        TTimerData e;
        e.Page = ReadString(s);
        const std::string sender = ReadString(s);
        e.Code = ReadByte(s);
        e.Level = version > 113 ? ReadInt32(s) : ReadByte(s);
        const std::int32_t args = ReadInt32(s);
        CheckCount(s, args, 4);
        for (std::int32_t a = 0; a < args; ++a) e.Args.push_back(ReadString(s));
        const TVeskObject* from = nullptr;
        for (const auto& b : bases_)
            if (sender == b->Name()) from = b.get();
        if (!from && !sender.empty()) from = FindByName(sender);
        e.Sender = from ? from->Id() : kNoObject;
        queue_.Add(std::move(e));
    }

    if (version > 118) {
        const std::string focus = ReadString(s);
        focused_ = focus.empty() ? nullptr : FindControl(focus);
    }
}

}  // namespace vesk
