#include "script/com_vars.h"

#include "common/cp932.h"
#include "common/error.h"
#include "script/callman.h"
#include "values/param_collection.h"

namespace vesk {

namespace {

// The component an operation list names, or kNoObject.
TObjectId FindNamed(TCallMan& cm, const TOpList& op) {
    const TCustomParam* v = EvalOp(op);
    if (!v) return kNoObject;
    const std::string name = v->AsStr();
    return name.empty() ? kNoObject : cm.Components().FindComponent(name);
}

int PropertyId(const TOpList& op) {
    const TCustomParam* v = EvalOp(op);
    if (!v) throw EVeskError(Sj("プロパティ指定が不正です"));
    return v->AsInt();
}

}  // namespace

void TComCalc::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    EvalOp(Expression);
}

void TComVarNew::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (Name.empty()) throw EVeskError(Sj("変数名がありません"));
    const TCustomParam* initial = EvalOp(Initial);
    // Declare stores the initial value when given one; without a value the
    // variable is still declared, holding its kind's empty value.
    if (initial) {
        cm.Vars().Declare(Name, VarKind, Scope, *initial);
    } else {
        TParamCollection& vars = cm.Vars();
        if (vars.FindForDeclare(Name, Scope == VS_LOCAL)) return;
        // An undefined kind has no empty value; the table raises for it.
        std::unique_ptr<TCustomParam> empty = CreateParam(VarKind);
        if (!empty) empty = CreateParam(PT_INT);
        vars.Declare(Name, VarKind, Scope, *empty);
    }
}

void TComVarDel::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (Name.empty()) return;
    if (TParamCollectionItem* item = cm.Vars().Find(Name)) cm.Vars().DeleteItem(*item);
}

void TComGetProp::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    const TObjectId target = FindNamed(cm, Component);
    if (target == kNoObject) return;
    const int prop = PropertyId(Property);
    if (VarName.empty()) return;
    if (TParamCollectionItem* item = cm.Vars().Find(VarName)) cm.Components().GetProp(item->Value(), target, prop);
}

void TComSetProp::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    const TObjectId target = FindNamed(cm, Component);
    if (target == kNoObject) return;
    const int prop = PropertyId(Property);
    if (TCustomParam* value = EvalOp(Value)) cm.Components().SetProp(target, prop, *value);
}

void TComObjDel::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    const TObjectId target = FindNamed(cm, Component);
    if (target != kNoObject) cm.Components().DeleteComponent(target);
}

}  // namespace vesk
