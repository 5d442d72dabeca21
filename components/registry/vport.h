#pragma once

#include "components/registry/scriptport.h"
#include "components/registry/vbaselist.h"

namespace vesk {

// The interpreter's view of a component registry: names and ids in, property
// values out. Script names never reach the screen bases or other system
// objects; ObjDel destroys at once (with the component's subtree).
class TVeskComponentPort final : public TComponentPort {
public:
    explicit TVeskComponentPort(TVeskBaseList& registry) : registry_(registry) {}

    TTimerList& EventQueue() override { return registry_.EventQueue(); }
    TVeskReadList& ReadMarks() override { return registry_.ReadMarks(); }
    TObjectId FindComponent(const std::string& name) override;
    bool Exists(TObjectId id) override { return registry_.FindById(id) != nullptr; }
    std::string NameOf(TObjectId id) override;
    void GetProp(TCustomParam& dest, TObjectId id, int prop) override;
    void SetProp(TObjectId id, int prop, TCustomParam& value) override;
    void DeleteComponent(TObjectId id) override;
    void DeleteAll() override { registry_.Reset(); }
    TVeskBaseList* Registry() override { return &registry_; }

private:
    TVeskBaseList& registry_;
};

}  // namespace vesk
