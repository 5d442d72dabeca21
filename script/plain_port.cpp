#include "script/plain_port.h"

#include "common/cp932.h"
#include "common/error.h"
#include "components/properties/propnames.h"
#include "values/params.h"

namespace vesk {

struct TPlainComponentPort::Object {
    std::string name;
    std::map<int, std::unique_ptr<TCustomParam>> props;
};

TPlainComponentPort::TPlainComponentPort() = default;
TPlainComponentPort::~TPlainComponentPort() = default;

TObjectId TPlainComponentPort::AddObject(const std::string& name) {
    if (TObjectId id = FindComponent(name)) return id;
    auto o = std::make_unique<Object>();
    o->name = name;
    const TObjectId id = next_++;
    objects_[id] = std::move(o);
    return id;
}

bool TPlainComponentPort::Exists(TObjectId id) { return objects_.count(id) > 0; }
void TPlainComponentPort::DeleteComponent(TObjectId id) { objects_.erase(id); }
void TPlainComponentPort::DeleteAll() { objects_.clear(); }

TObjectId TPlainComponentPort::FindComponent(const std::string& name) {
    if (name.empty() || name[0] == '\x01') return kNoObject;
    for (const auto& [id, o] : objects_)
        if (o->name == name) return id;
    return kNoObject;
}

std::string TPlainComponentPort::NameOf(TObjectId id) {
    auto it = objects_.find(id);
    return it == objects_.end() ? std::string() : it->second->name;
}

void TPlainComponentPort::GetProp(TCustomParam& dest, TObjectId id, int prop) {
    if (prop < 0 || prop >= kPropertyCount) throw EVeskError(Sj("GetPropエラー"));
    auto it = objects_.find(id);
    if (it == objects_.end()) return;
    if (prop == 0) return dest.SetStr(it->second->name);
    auto p = it->second->props.find(prop);
    if (p != it->second->props.end()) dest.ConvertFrom(*p->second);
    else if (auto empty = CreateParam(PropertyKind(prop))) dest.ConvertFrom(*empty);
}

void TPlainComponentPort::SetProp(TObjectId id, int prop, TCustomParam& value) {
    if (prop < 0 || prop >= kPropertyCount) throw EVeskError(Sj("SetPropエラー"));
    auto it = objects_.find(id);
    if (it == objects_.end()) return;
    auto stored = CreateParam(PropertyKind(prop));
    if (!stored) return;
    stored->ConvertFrom(value);
    it->second->props[prop] = std::move(stored);
}

}  // namespace vesk
