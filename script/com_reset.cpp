#include "script/com_reset.h"

#include "script/callman.h"
#include "values/param_collection.h"

namespace vesk {

void TComReset::Execute(TCallMan& cm) {
    cm.Components().DeleteAll();
    cm.Vars().ResetVariables();
    if (cm.ResetOthers) cm.ResetOthers();
    cm.Start(PageName);
    cm.CommandIndex = Target;
}

void TComPCReset::Execute(TCallMan& cm) {
    if (All) ResetAll(cm);
    else Redirect(cm);
}

void TComPCReset::ResetAll(TCallMan& cm) {
    TParamCollection& vars = cm.Vars();
    vars.DeleteOwnedBy(cm.Stack.Count());
    for (int d = cm.Stack.Count() - 1; d >= 0; --d) {
        vars.DeleteOwnedBy(d);
        TStack& frame = cm.Stack.At(d);
        if (frame.Sender != kNoObject || !frame.Entered) continue;
        // The command the frame's flow was in the middle of is abandoned.
        try {
            TPage* page = cm.GetPage(frame.PageName, false);
            if (page->Inside(frame.ReturnIndex)) page->Command(frame.ReturnIndex).Abort(cm);
        } catch (const std::exception&) {
        }
    }
    cm.Start(PageName);
    cm.CommandIndex = Target;
    cm.Components().EventQueue().Clear();
}

void TComPCReset::Redirect(TCallMan& cm) {
    TParamCollection& vars = cm.Vars();
    vars.DeleteOwnedBy(cm.Stack.Count());
    int e = -1;
    for (int d = 0; d < cm.Stack.Count(); ++d)
        if (cm.Stack.At(d).Sender != kNoObject) {
            e = d;
            break;
        }
    if (e < 0 && !cm.SenderName().empty()) e = cm.Stack.Count();
    TStack* main = nullptr;
    for (int d = e - 1; d >= 0; --d)
        if (cm.Stack.At(d).Sender == kNoObject) {
            main = &cm.Stack.At(d);
            vars.DeleteOwnedBy(d);
            break;
        }
    if (main) {
        main->PageName = PageName;
        main->ReturnIndex = Target;
        main->Entered = false;
        main->ResultName.clear();
        main->Args.clear();
        main->State.reset();
        ++cm.CommandIndex;
    } else {
        cm.CurrentPage = cm.GetPage(PageName, true);
        cm.CommandIndex = Target;
    }
    TTimerList& queue = cm.Components().EventQueue();
    queue.RemoveRunning();
}

}  // namespace vesk
