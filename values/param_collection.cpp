#include "values/param_collection.h"

#include <unordered_set>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_io.h"

namespace vesk {

const char* const kSystemVariableNames[kSystemVariableCount] = {
    "@Result",      "@LClick",        "@RClick",           "@LPush",            "@RPush",
    "@MouseX",      "@MouseY",        "@TextDelay",        "@HistoryCount",     "@ParamCount",
    "@ParamStr",    "@Sender",        "@ScrWidth",         "@ScrHeight",        "@TickCount",
    "@PCTickCount", "@UpdateCount",   "@Year",             "@Month",            "@Day",
    "@Week",        "@Hour",          "@Min",              "@Sec",              "@Fonts",
    "@FixedFonts",  "@FullScr",       "@Cursor",           "@SelStr",           "@SelIndex",
    "@Pi",          "@CGDither",      "@1Hour",            "@1Min",             "@1Sec",
    "@KeyPush",     "@KeyClick",      "@DisplayModeCount", "@DisplayModeIndex", "@Title",
    "@SoundON",     "@ActiveCompo",   "@KeyRepeat",        "@HistoryMaxCount",  "@Temp",
    "@MidiPort",    "@MidiPorts",     "@WheelDown",        "@WheelUp",          "@IsDebug",
};

namespace {

TParamCollection* gGlobalTable = nullptr;

// Names are compared as the index hashes them: ASCII letters without case,
// double-byte characters byte for byte (a trail byte is never a letter).
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (IsSjisLead(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

void ValidateVarName(const std::string& name) {
    bool bad = name.empty() || (name[0] >= '0' && name[0] <= '9');
    for (std::size_t i = 0; !bad && i < name.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        bad = static_cast<unsigned char>(name[i]) <= ' ';
    }
    if (bad) throw EVeskError("\"" + name + Sj("\"：変数名が不正です"));
}

// The kind byte written for a value: references are kind 0 even while
// bound (a bound reference answers its target's kind to scripts).
std::uint8_t StreamKind(const TCustomParam& value) {
    return AsReference(&value) ? PT_NONE : value.Kind();
}

}  // namespace

// ---- entries --------------------------------------------------------------

void TParamCollectionItem::SetVarName(const std::string& name) {
    ValidateVarName(name);
    SetName(name);
}

void TParamCollectionItem::SaveToStream(TStream& s) const {
    WriteByte(s, StreamKind(*value_));
    WriteString(s, Name());
    value_->SaveToStream(s);
    WriteByte(s, StatusFlag);
    WriteByte(s, Attribute);
    WriteInt32(s, OwnerDepth);
    WriteByte(s, IsLocal);
}

std::unique_ptr<TParamCollectionItem> TParamCollectionItem::ReadFromStream(TStream& s, std::string& name) {
    std::unique_ptr<TCustomParam> value = CreateParam(ReadByte(s));
    if (!value) throw EStreamError("unknown variable kind in stream");
    name = ReadString(s);
    value->LoadFromStream(s);
    auto item = std::make_unique<TParamCollectionItem>(std::move(value));
    item->StatusFlag = ReadByte(s) != 0 ? 1 : 0;
    item->Attribute = ReadByte(s);
    item->OwnerDepth = ReadInt32(s);
    item->IsLocal = ReadByte(s) != 0 ? 1 : 0;
    return item;
}

// ---- table ----------------------------------------------------------------

TParamCollection::TParamCollection(const TSystemParamFactory& systemFactory) {
    for (int i = 0; i < kSystemVariableCount; ++i) {
        const auto index = static_cast<std::uint8_t>(i);
        std::unique_ptr<TParamSystem> value = systemFactory ? systemFactory(*this, index) : nullptr;
        if (!value) value = std::make_unique<TParamSystem>(index);
        AddItem(std::make_unique<TParamCollectionItem>(kSystemVariableNames[i], std::move(value)));
    }
}

TParamCollection::~TParamCollection() {
    if (gGlobalTable == this) gGlobalTable = nullptr;
}

TParamCollection* TParamCollection::Global() { return gGlobalTable; }
void TParamCollection::SetGlobal(TParamCollection* table) { gGlobalTable = table; }

TParamCollectionItem* TParamCollection::Find(std::string_view name) const {
    return FindInBucket(name, Hash(name));
}

TParamCollectionItem* TParamCollection::FindInBucket(std::string_view name, int bucket) const {
    TParamCollectionItem* lastGlobal = nullptr;
    for (THashCollectionItem* it = BucketHead(bucket); it; it = it->Next()) {
        if (!SameName(it->Name(), name)) continue;
        auto* item = static_cast<TParamCollectionItem*>(it);
        if (item->IsLocal) {
            if (item->OwnerDepth == CurrentDepth) return item;
        } else {
            lastGlobal = item;
        }
    }
    return lastGlobal;
}

TParamCollectionItem* TParamCollection::FindForDeclare(std::string_view name, bool local) const {
    for (THashCollectionItem* it = BucketHead(Hash(name)); it; it = it->Next()) {
        if (!SameName(it->Name(), name)) continue;
        auto* item = static_cast<TParamCollectionItem*>(it);
        if (local ? (item->IsLocal && item->OwnerDepth == CurrentDepth) : !item->IsLocal) return item;
    }
    return nullptr;
}

std::unique_ptr<TCustomParam> TParamCollection::CreateValue(std::uint8_t kind) {
    std::unique_ptr<TCustomParam> value = CreateParam(kind);
    if (!value) throw EVeskError(Sj("不正な変数の型です"));
    if (auto* ref = AsReference(value.get())) ref->SetTable(this);
    return value;
}

TParamCollectionItem& TParamCollection::AddOfKind(std::uint8_t kind) {
    return AddItem(std::make_unique<TParamCollectionItem>(CreateValue(kind)));
}

TParamCollectionItem& TParamCollection::AddNamed(std::uint8_t kind, const std::string& name) {
    return AddNamed(name, CreateValue(kind));
}

TParamCollectionItem& TParamCollection::AddNamed(const std::string& name, std::unique_ptr<TCustomParam> value) {
    if (auto* ref = AsReference(value.get())) ref->SetTable(this);
    return AddItem(std::make_unique<TParamCollectionItem>(name, std::move(value)));
}

std::unique_ptr<TCustomParam> TParamCollection::CopyOf(std::string_view name) const {
    const TParamCollectionItem* item = Find(name);
    if (!item) return nullptr;
    const std::uint8_t kind = item->Value().Kind();
    if (kind == PT_NONE) throw EVeskError(std::string(name) + Sj(":不正な変数です"));
    std::unique_ptr<TCustomParam> copy = CreateParam(kind);
    if (!copy) throw EVeskError(std::string(name) + Sj(":不正な変数です"));
    copy->Assign(item->Value());
    return copy;
}

TParamCollectionItem& TParamCollection::Declare(const std::string& name, std::uint8_t kind, std::uint8_t scope,
                                                const TCustomParam& initial) {
    TParamCollectionItem* item = FindForDeclare(name, scope == VS_LOCAL);
    if (!item) {
        ValidateVarName(name);
        item = &AddNamed(kind, name);
        if (scope == VS_AUTO || scope == VS_LOCAL) item->OwnerDepth = CurrentDepth;
        if (scope == VS_LOCAL) item->IsLocal = 1;
        if (scope == VS_STATUS) item->StatusFlag = 1;
    } else if (item->StatusFlag == 1) {
        return *item;  // a status variable keeps its value
    }
    TCustomParam& value = item->Value();
    switch (kind & 0x7F) {
        case PT_INT: value.SetInt(initial.AsInt()); break;
        case PT_FLOAT: value.SetFloat(initial.AsFloat()); break;
        case PT_BOOL: value.SetBool(initial.AsBool()); break;
        case PT_STR: value.SetStr(initial.AsStr()); break;
        default: break;
    }
    return *item;
}

bool TParamCollection::IsSystem(const TParamCollectionItem& item) {
    return item.ValuePtr() && item.ValuePtr()->IsSystemValue();
}

void TParamCollection::DeleteItem(TParamCollectionItem& item) {
    // The first fifty entries are the system variables; scripts cannot
    // remove them without breaking every later lookup of "@" names.
    if (IsSystem(item) || item.Collection() != this) return;
    Delete(item.CachedIndex());
}

void TParamCollection::DeleteOwnedBy(std::int32_t depth) {
    for (int i = Count() - 1; i >= 0; --i) {
        TParamCollectionItem& item = (*this)[i];
        if (item.OwnerDepth == depth && !IsSystem(item)) Delete(i);
    }
}

void TParamCollection::DeleteUserVariables() {
    for (int i = Count() - 1; i >= 0; --i) {
        TParamCollectionItem& item = (*this)[i];
        if (item.StatusFlag == 0 && !IsSystem(item)) Delete(i);
    }
}

void TParamCollection::ResetVariables() {
    DeleteUserVariables();
    TextDelay = 50;
    Cursor.clear();
}

// ---- sections -------------------------------------------------------------

void TParamCollection::SaveSection(TStream& s, std::uint8_t statusFlag) const {
    // Newest first; a reference is written after the variable it refers to
    // (when that one is written too), so reading binds it to an entry that
    // already exists.
    std::vector<const TParamCollectionItem*> order;
    for (int i = Count() - 1; i >= 0; --i) {
        const TParamCollectionItem& item = (*this)[i];
        if (!IsSystem(item) && item.StatusFlag == statusFlag) order.push_back(&item);
    }
    const std::unordered_set<const TParamCollectionItem*> toWrite(order.begin(), order.end());
    std::unordered_set<const TParamCollectionItem*> written;
    std::vector<std::pair<const TParamCollectionItem*, const TParamCollectionItem*>> held;  // entry, target

    WriteInt32(s, static_cast<std::int32_t>(order.size()));
    auto write = [&](const TParamCollectionItem* item) {
        item->SaveToStream(s);
        written.insert(item);
    };
    for (const TParamCollectionItem* item : order) {
        const TParamCollectionItem* target = nullptr;
        if (auto* ref = AsReference(item->ValuePtr())) target = Find(ref->VarName());
        if (target && target != item && toWrite.count(target) && !written.count(target)) {
            held.emplace_back(item, target);
            continue;
        }
        write(item);
        for (bool progress = true; progress;) {
            progress = false;
            for (auto it = held.begin(); it != held.end(); ++it) {
                if (written.count(it->second)) {
                    const TParamCollectionItem* ready = it->first;
                    held.erase(it);
                    write(ready);
                    progress = true;
                    break;
                }
            }
        }
    }
    // References whose targets only refer back to them: after everything else.
    for (const auto& entry : held) write(entry.first);
}

std::vector<std::unique_ptr<TParamCollectionItem>> TParamCollection::ReadEntries(TStream& s) {
    const std::int32_t count = ReadInt32(s);
    // An entry takes at least 20 bytes (kind, name, dimension block,
    // element count, flags and depth).
    CheckCount(s, count, 20);
    std::vector<std::unique_ptr<TParamCollectionItem>> entries;
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name;
        std::unique_ptr<TParamCollectionItem> item = TParamCollectionItem::ReadFromStream(s, name);
        if (name.empty()) continue;
        item->SetVarName(name);
        entries.push_back(std::move(item));
    }
    return entries;
}

void TParamCollection::AddEntries(std::vector<std::unique_ptr<TParamCollectionItem>> entries) {
    std::vector<TParamVar*> refs;
    for (auto& entry : entries) {
        if (auto* ref = AsReference(entry->ValuePtr())) {
            ref->SetTable(this);
            refs.push_back(ref);
        }
        AddItem(std::move(entry));
    }
    for (TParamVar* ref : refs) ref->BindLoadedTarget(*this);
}

void TParamCollection::SaveGameSection(TStream& s) const {
    SaveSection(s, 0);
    WriteInt32(s, TextDelay);
    WriteString(s, Cursor);
    WriteString(s, SelStr);
    WriteInt32(s, SelIndex);
    WriteString(s, TempTarget);
}

std::optional<std::array<std::int32_t, 6>> TParamCollection::LoadGameSection(TStream& s, std::int32_t version) {
    // Everything is read before anything changes, so a damaged section
    // leaves the running game's variables as they were.
    std::vector<std::unique_ptr<TParamCollectionItem>> entries = ReadEntries(s);
    const std::int32_t textDelay = ReadInt32(s);
    std::string cursor = ReadString(s);
    std::string selStr = SelStr;
    std::int32_t selIndex = SelIndex;
    if (version > 102) {
        selStr = ReadString(s);
        selIndex = ReadInt32(s);
    }
    std::optional<std::array<std::int32_t, 6>> history;
    if (version > 112 && version < 135) {
        std::array<std::int32_t, 6> values{};
        for (auto& v : values) v = ReadInt32(s);
        history = values;
    }
    std::string tempTarget = TempTarget;
    if (version > 120) tempTarget = ReadString(s);

    DeleteUserVariables();
    AddEntries(std::move(entries));
    TextDelay = textDelay;
    Cursor = std::move(cursor);
    SelStr = std::move(selStr);
    SelIndex = selIndex;
    TempTarget = std::move(tempTarget);
    return history;
}

void TParamCollection::SaveStatusSection(TStream& s) const { SaveSection(s, 1); }

void TParamCollection::LoadStatusSection(TStream& s) { AddEntries(ReadEntries(s)); }

}  // namespace vesk
