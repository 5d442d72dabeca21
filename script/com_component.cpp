#include "script/com_component.h"

#include <algorithm>

#include "components/propids.h"
#include "components/vbaselist.h"
#include "components/vcontrol.h"
#include "script/callman.h"
#include "script/component_create.h"

namespace vesk {

void TComComponent::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry || ComponentKind() == 0) return;
    TVeskObject* obj = registry->CreateKind(ComponentKind());
    if (!obj) return;
    // The image evaluates its last-frame wait itself, each time it is due.
    if (ComponentKind() == LT_IMAGES && Props[PR_DELAY]) obj->TakeExpression(PR_DELAY, *Props[PR_DELAY]);
    ApplyPropertySet(*obj, *registry, Props);
}

void TComCabinet::EvaluateChoice() {
    invert_ = OpBool(Invert, false);
    chosen_.clear();
    for (const TOpList& op : Names)
        if (const TCustomParam* v = EvalOp(op)) chosen_.push_back(v->AsStr());
}

bool TComCabinet::Selected(const TVeskControl& child) const {
    const bool listed = std::find(chosen_.begin(), chosen_.end(), child.Name()) != chosen_.end();
    return listed != invert_;
}

namespace {

// Moves the selected children of from (last to first) to the new parent.
template <typename Pred>
void MoveChildren(TVeskControl& from, TVeskControl& to, Pred selected) {
    for (int i = from.ChildCount() - 1; i >= 0; --i) {
        if (i >= from.ChildCount()) continue;
        TVeskControl* child = from.Child(i);
        if (selected(*child)) child->SetParent(&to);
    }
}

TVeskControl* FindCabinet(TVeskBaseList& registry, const std::string& name) {
    TVeskObject* obj = name.empty() ? nullptr : registry.FindByName(name);
    return obj && obj->CompoType() == LT_CABINET ? obj->AsControl() : nullptr;
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
        if (!made || !(cabinet = made->AsControl())) return;
        if (!name.empty()) cabinet->SetName(name);
        cabinet->SetParent(&registry->Base(0));
    }
    EvaluateChoice();
    MoveChildren(registry->InactiveBase(), *cabinet, [&](const TVeskControl& c) { return Selected(c); });
    if (cabinet->ChildCount() == 0) registry->Destroy(*cabinet);
}

void TComCabinetLoad::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    TVeskControl* cabinet = FindCabinet(*registry, OpStr(Props[PR_NAME]));
    if (!cabinet) return;
    EvaluateChoice();
    MoveChildren(*cabinet, registry->InactiveBase(), [&](const TVeskControl& c) { return Selected(c); });
    if (cabinet->ChildCount() == 0) registry->Destroy(*cabinet);
}

}  // namespace vesk
