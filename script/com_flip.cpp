#include <algorithm>

#include "common/stream_io.h"
#include "components/kinds/kinds.h"
#include "components/registry/vbaselist.h"
#include "script/callman.h"
#include "script/com_flip.h"
#include "script/com_wait.h"

namespace vesk {

namespace {

// The highest transition kind; any other number flips without one.
constexpr int kLastWipeKind = 38;

// The lines of a text as a string list holds them: split at CR LF, LF or
// CR, no empty line after a final line break.
void AddLines(const std::string& text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

// Switches the active base; focus that does not lie on the new active base
// is dropped. The new screen is redrawn whole: what changed on it while it
// was hidden was never shown.
void SwitchActiveBase(TVeskBaseList& registry, int index) {
    registry.SetActiveIndex(index);
    registry.ActiveBase().Invalidate();
    if (TVeskControl* focused = registry.Focused(); focused && !registry.ActiveBase().Contains(focused))
        registry.SetFocused(nullptr);
}

}  // namespace

void TComFlip::Enter(TCallMan& cm) {
    phase_ = 0;
    const std::int32_t kind = static_cast<std::uint8_t>(OpInt(WipeKind, 0));
    wipeKind_ = static_cast<std::uint8_t>(kind > kLastWipeKind ? 0 : kind);
    const TCustomParam* duration = EvalOp(Duration);
    const std::int32_t ms = duration ? duration->AsInt() : 1;
    durationMs_ = std::max(ms, 1);
    yields_ = duration && ms > 0;
    OpBool(Transition, false);  // evaluated for what it does; no transition reads it
    holdEvents_ = OpBool(Hold, false);
    clear_ = OpBool(Clear, false);
    const TCustomParam* mode = EvalOp(SelectMode);
    const int m = mode ? mode->AsInt() : -1;
    std::vector<std::string> listed;
    for (const TOpList& op : Names)
        if (const TCustomParam* v = EvalOp(op)) AddLines(v->AsStr(), listed);

    TVeskBaseList* registry = cm.Components().Registry();
    if (!mode || !registry) return;
    if (!yields_) phase_ = 3;
    else registry->MakeSnapshot();
    TVeskBase& active = registry->ActiveBase();
    for (int i = active.ChildCount() - 1; i >= 0; --i) {
        TVeskControl* child = active.Child(i);
        if (child->Name() == TVeskBaseList::kSnapshotName) continue;
        // A component pending destruction has no name and is never listed.
        const bool named = !child->Name().empty() &&
                           std::find(listed.begin(), listed.end(), child->Name()) != listed.end();
        if ((m == 1 && named) || (m == 0 && !named)) child->SetParent(&registry->InactiveBase());
    }
}

void TComFlip::Execute(TCallMan& cm) {
    switch (phase_) {
    case 0:
        phase_ = 1;
        return;
    case 1:
        start_ = cm.Host().PlayClock();
        phase_ = 2;
        return;
    default:
        Finish(cm, false);
        ++cm.CommandIndex;
        return;
    }
}

void TComFlip::Abort(TCallMan& cm) { Finish(cm, true); }

void TComFlip::Finish(TCallMan& cm, bool withCabinets) {
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    SwitchActiveBase(*registry, registry->ActiveIndex() ^ 1);
    if (TVeskObject* snapshot = registry->FindByName(TVeskBaseList::kSnapshotName)) registry->Destroy(*snapshot);
    if (!clear_) return;
    TVeskBase& left = registry->InactiveBase();
    for (int i = left.ChildCount() - 1; i >= 0; --i) {
        TVeskControl* child = left.Child(i);
        if (withCabinets || child->CompoType() != LT_CABINET) registry->Destroy(*child);
    }
}

void TComFlip::SaveState(TStream& s) {
    WriteStateVersion(s);
    WriteFlag(s, holdEvents_);
    WriteFlag(s, clear_);
}

void TComFlip::LoadState(TStream& s) {
    if (ReadStateVersion(s) < 100) return;
    holdEvents_ = ReadFlag(s);
    clear_ = ReadFlag(s);
}

}  // namespace vesk
