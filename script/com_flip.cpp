#include "script/com_screen.h"

#include <algorithm>
#include <string_view>

#include "common/stream_io.h"
#include "components/kinds.h"
#include "components/vbaselist.h"
#include "components/vcontrol.h"
#include "components/vcustomimage.h"
#include "script/callman.h"
#include "script/com_wait.h"

namespace vesk {

namespace {

// The snapshot of the screen shown while a flip runs.
const std::string kSnapshotName("\x01\x01", 2);

// The lines of the texts of the name lists.
std::vector<std::string> ListedNames(const std::vector<TOpList>& lists) {
    std::vector<std::string> names;
    for (const TOpList& op : lists) {
        const TCustomParam* v = EvalOp(op);
        if (!v) continue;
        const std::string text = v->AsStr();
        std::size_t from = 0;
        while (from <= text.size()) {
            std::size_t end = text.find('\n', from);
            if (end == std::string::npos) end = text.size();
            std::string_view line(text.data() + from, end - from);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            names.emplace_back(line);
            from = end + 1;
        }
    }
    return names;
}

std::vector<TVeskControl*> Children(const TVeskControl& parent) {
    std::vector<TVeskControl*> list;
    for (int i = 0; i < parent.ChildCount(); ++i) list.push_back(parent.Child(i));
    return list;
}

}  // namespace

void TComFlip::Enter(TCallMan& cm) {
    Phase = 0;
    // Transitions are drawn by the transition engine, which is not built:
    // the kind, the flag and the parameters are read but change nothing yet.
    EvalOp(WipeKind);
    EvalOp(Transition);
    HoldEvents = OpBool(Hold, false);
    ClearOld = OpBool(Clear, false);
    TVeskBaseList* registry = cm.Components().Registry();
    const TCustomParam* mode = EvalOp(SelectMode);
    const std::vector<std::string> listed = ListedNames(Names);
    if (!registry || !mode) return;
    const std::int32_t m = mode->AsInt();
    const TCustomParam* duration = EvalOp(Duration);
    TVeskControl* snapshot = nullptr;
    if (!duration || duration->AsInt() <= 0)
        Phase = 3;
    else
        snapshot = &registry->MakeSnapshot();
    TVeskControl& active = registry->ActiveBase();
    const std::vector<TVeskControl*> children = Children(active);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (*it == snapshot) continue;
        const bool isListed = std::find(listed.begin(), listed.end(), (*it)->Name()) != listed.end();
        const bool selected = (m == 1 && isListed) || (m == 0 && !isListed);
        if (selected) (*it)->SetParent(&registry->InactiveBase());
    }
    if (Phase != 3) registry->SetActiveIndex(registry->ActiveIndex());
}

void TComFlip::Execute(TCallMan& cm) {
    switch (Phase) {
        case 0: Phase = 1; return;
        case 1:
            Start = cm.Host().PlayClock();
            Phase = 2;
            return;
        default:
            // With no transition running there is nothing to wait for.
            Finish(cm, false);
            ++cm.CommandIndex;
    }
}

void TComFlip::Abort(TCallMan& cm) { Finish(cm, true); }

void TComFlip::Finish(TCallMan& cm, bool all) {
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    registry->SetActiveIndex(registry->ActiveIndex() ^ 1);
    if (TVeskObject* snapshot = registry->FindByName(kSnapshotName)) registry->Destroy(*snapshot);
    if (!ClearOld) return;
    for (TVeskControl* child : Children(registry->InactiveBase()))
        if (all || child->CompoType() != LT_CABINET) registry->Destroy(*child);
}

bool TComFlip::Yields() const {
    const TCustomParam* duration = EvalOp(Duration);
    return duration && duration->AsInt() > 0;
}

void TComFlip::SaveState(TStream& s) {
    WriteStateVersion(s);
    WriteFlag(s, HoldEvents);
    WriteFlag(s, ClearOld);
}

void TComFlip::LoadState(TStream& s) {
    if (ReadStateVersion(s) < 100) return;
    HoldEvents = ReadFlag(s);
    ClearOld = ReadFlag(s);
}

}  // namespace vesk
