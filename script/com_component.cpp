#include "script/com_component.h"

#include <algorithm>

#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"
#include "script/callman.h"
#include "script/prop_apply.h"

namespace vesk {

void TComComponent::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry || CreatesKind() == LT_NONE) return;
    TVeskObject* obj = registry->CreateKind(CreatesKind());
    if (!obj) return;
    Prepare(*obj);
    ApplyPropertySet(*obj, Props, *registry);
}

void TComImgNew::Prepare(TVeskObject& obj) {
    if (Props[PR_DELAY]) obj.TakeExpression(PR_DELAY, *Props[PR_DELAY]);
}

void TComCabinet::MoveSelected(TVeskControl& from, TVeskControl& to) {
    std::vector<std::string> names;
    for (const TOpList& op : Names)
        if (const TCustomParam* v = EvalOp(op)) names.push_back(v->AsStr());
    const bool invert = OpBool(Invert, false);
    for (int i = from.ChildCount() - 1; i >= 0; --i) {
        TVeskControl* child = from.Child(i);
        const bool named = std::find(names.begin(), names.end(), child->Name()) != names.end();
        if (named != invert) child->SetParent(&to);
    }
}

namespace {

TVeskControl* FindCabinet(TVeskBaseList& registry, const std::string& name) {
    TVeskObject* obj = name.empty() ? nullptr : registry.FindByName(name);
    return obj && obj->CompoType() == LT_CABINET ? obj->AsControl() : nullptr;
}

void DeleteIfEmpty(TVeskBaseList& registry, TVeskControl& cabinet) {
    if (cabinet.ChildCount() == 0) registry.Destroy(cabinet);
}

}  // namespace

void TComCabinetSave::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    const std::string name = OpStr(Props[PR_NAME]);
    TVeskControl* cabinet = FindCabinet(*registry, name);
    if (!cabinet) {
        TVeskObject* made = registry->CreateKind(LT_CABINET);
        if (!made || !made->AsControl()) return;
        if (!name.empty()) made->SetName(name);
        cabinet = made->AsControl();
        cabinet->SetParent(&registry->Base(0));
    }
    MoveSelected(registry->InactiveBase(), *cabinet);
    DeleteIfEmpty(*registry, *cabinet);
}

void TComCabinetLoad::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    TVeskControl* cabinet = FindCabinet(*registry, OpStr(Props[PR_NAME]));
    if (!cabinet) return;
    MoveSelected(*cabinet, registry->InactiveBase());
    DeleteIfEmpty(*registry, *cabinet);
}

}  // namespace vesk
