#include "script/com_flow.h"

#include "script/callman.h"
#include "script/page.h"

namespace vesk {

namespace {

// The page ends: the interpreter returns to the caller.
void EndPage(TCallMan& cm) { cm.CurrentPage = nullptr; }

// Steps over the block of an Elseif or Else reached in the normal flow.
void SkipBlock(TCallMan& cm, const TCommand& self) {
    const TPage& page = *cm.CurrentPage;
    ++cm.CommandIndex;
    while (page.Inside(cm.CommandIndex) && page.Command(cm.CommandIndex).Indent > self.Indent) ++cm.CommandIndex;
}

void JumpTo(TCallMan& cm, std::int32_t target) {
    if (target < 0) EndPage(cm);
    else cm.CommandIndex = target;
}

}  // namespace

void TComIf::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (OpTrue(Condition)) return;
    const TPage& page = *cm.CurrentPage;
    while (page.Inside(cm.CommandIndex)) {
        TCommand& c = page.Command(cm.CommandIndex);
        if (c.Indent > Indent) {
            ++cm.CommandIndex;
        } else if (c.Indent < Indent) {
            return;
        } else if (c.Kind() == CK_ELSEIF) {
            ++cm.CommandIndex;
            if (OpTrue(static_cast<TComElseif&>(c).Condition)) return;
        } else if (c.Kind() == CK_ELSE) {
            ++cm.CommandIndex;
            return;
        } else {
            return;
        }
    }
}

void TComElseif::Execute(TCallMan& cm) { SkipBlock(cm, *this); }

void TComElse::Execute(TCallMan& cm) { SkipBlock(cm, *this); }

void TComJump::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (!OpTrue(Condition) || !cm.PageExists(PageName)) return;
    cm.CurrentPage = cm.GetPage(PageName, true);
    cm.CommandIndex = Target;
}

void TComCall::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (!OpTrue(Condition) || !cm.PageExists(PageName)) return;
    std::vector<std::string> args;
    for (const TOpList& a : Arguments)
        if (const TCustomParam* v = EvalOp(a)) args.push_back(v->AsStr());
    // Load before pushing, so a page that fails to load leaves the flow
    // where it was instead of with a frame nobody returns through.
    TPage* page = cm.GetPage(PageName, true);
    TStack& frame = cm.PushCurrent(ResultName);
    frame.Entered = false;  // the command after the call has not been entered
    cm.Args = std::move(args);
    cm.CurrentPage = page;
    cm.CommandIndex = Target;
    frame.Result = CreateParam(page->ResultKind);
}

void TComExit::Execute(TCallMan& cm) {
    if (OpTrue(Condition)) EndPage(cm);
    else ++cm.CommandIndex;
}

void TComWhile::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (!OpTrue(Condition)) cm.CommandIndex = ExitIndex;
}

void TComWhileInit::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    EvalOp(Init);
}

void TComWhileLoop::Execute(TCallMan& cm) {
    cm.CommandIndex = Target;
    EvalOp(Step);
}

void TComBreak::Execute(TCallMan& cm) {
    if (OpTrue(Condition)) JumpTo(cm, Target);
    else ++cm.CommandIndex;
}

void TComContinue::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    if (OpTrue(Condition)) JumpTo(cm, Target);
}

}  // namespace vesk
