#include "components/registry/vport.h"

#include "common/cp932.h"
#include "common/error.h"
#include "components/properties/propids.h"

namespace vesk {

TObjectId TVeskComponentPort::FindComponent(const std::string& name) {
    if (name.empty() || IsSystemName(name)) return kNoObject;
    const TVeskObject* obj = registry_.FindByName(name);
    return obj ? obj->Id() : kNoObject;
}

std::string TVeskComponentPort::NameOf(TObjectId id) {
    const TVeskObject* obj = registry_.FindById(id);
    return obj ? obj->Name() : std::string();
}

void TVeskComponentPort::GetProp(TCustomParam& dest, TObjectId id, int prop) {
    // The id is checked first, so a bad property number is reported even for
    // a component that has gone.
    if (prop < 0 || prop >= kPropertyCount) throw EVeskError(Sj("GetPropエラー"));
    if (TVeskObject* obj = registry_.FindById(id)) vesk::GetProp(dest, *obj, prop);
}

void TVeskComponentPort::SetProp(TObjectId id, int prop, TCustomParam& value) {
    if (prop < 0 || prop >= kPropertyCount) throw EVeskError(Sj("SetPropエラー"));
    if (TVeskObject* obj = registry_.FindById(id)) vesk::SetProp(*obj, prop, value);
}

void TVeskComponentPort::DeleteComponent(TObjectId id) {
    if (TVeskObject* obj = registry_.FindById(id)) registry_.Destroy(*obj);
}

}  // namespace vesk
