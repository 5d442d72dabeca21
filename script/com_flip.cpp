#include <algorithm>

#include "common/stream_io.h"
#include "components/kinds/kinds.h"
#include "components/registry/vbaselist.h"
#include "script/callman.h"
#include "script/com_flip.h"
#include "script/com_wait.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"

namespace vesk {

namespace {

// The state layout that adds the phase and the transition to hold-events
// and Clear.
constexpr int kStateWithTransition = 101;

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

std::optional<std::int32_t> OptionalInt(const TOpList& op) {
    const TCustomParam* v = EvalOp(op);
    return v ? std::optional(v->AsInt()) : std::nullopt;
}

void WriteOptionalInt(TStream& s, const std::optional<std::int32_t>& v) {
    WriteFlag(s, v.has_value());
    WriteInt32(s, v.value_or(0));
}

std::optional<std::int32_t> ReadOptionalInt(TStream& s) {
    const bool present = ReadFlag(s);
    const std::int32_t v = ReadInt32(s);
    return present ? std::optional(v) : std::nullopt;
}

}  // namespace

void TComFlip::Enter(TCallMan& cm) {
    phase_ = 0;
    wipeMade_ = false;
    shownMs_ = 0;
    resume_ = false;
    const std::int32_t kind = static_cast<std::uint8_t>(OpInt(WipeKind, 0));
    wipeKind_ = static_cast<std::uint8_t>(kind > WP_BLOCKRANDOM ? WP_NONE : kind);
    const TCustomParam* duration = EvalOp(Duration);
    const std::int32_t ms = duration ? duration->AsInt() : 1;
    durationMs_ = std::max(ms, 1);
    yields_ = duration && ms > 0;
    wipeFlag_ = OpBool(Transition, false);
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
    if (phase_ == 3) return;
    // The parameters and the mask are evaluated only for a transition that
    // takes them.
    TCustomWipe* made = registry->SwitchActive(registry->ActiveIndex(), wipeKind_, wipeFlag_, durationMs_, true);
    if (!made) return;
    param1_ = OptionalInt(Param1);
    param2_ = OptionalInt(Param2);
    const TCustomParam* maskName = EvalOp(MaskSource);
    mask_ = maskName ? std::optional(maskName->AsStr()) : std::nullopt;
    wipeMade_ = true;
    StartWipe(*registry, *made, 0);
}

void TComFlip::StartWipe(TVeskBaseList& registry, TCustomWipe& wipe, std::int32_t position) {
    if (param1_) wipe.SetParam(0, *param1_);
    if (param2_) wipe.SetParam(1, *param2_);
    if (mask_) wipe.SetMaskName(*mask_);
    registry.StartTransition();
    if (TCustomWipe* started = registry.Transition()) started->Position = position;
}

void TComFlip::Resume(TCallMan& cm, TVeskBaseList& registry) {
    resume_ = false;
    if (!wipeMade_ || registry.Transition()) return;
    registry.MakeSnapshot();
    if (TCustomWipe* w = registry.SwitchActive(registry.ActiveIndex(), wipeKind_, wipeFlag_, durationMs_, true))
        StartWipe(registry, *w, shownMs_);
    start_ = cm.Host().PlayClock() - static_cast<std::uint32_t>(shownMs_);
}

void TComFlip::Execute(TCallMan& cm) {
    TVeskBaseList* registry = cm.Components().Registry();
    if (resume_ && registry) Resume(cm, *registry);
    switch (phase_) {
    case 0:
        phase_ = 1;
        return;
    case 1:
        start_ = cm.Host().PlayClock();
        phase_ = 2;
        return;
    case 2:
        if (TCustomWipe* w = registry ? registry->Transition() : nullptr) {
            const std::uint32_t elapsed = cm.Host().PlayClock() - start_;
            if (elapsed < static_cast<std::uint32_t>(std::max(w->Duration, 0))) {
                shownMs_ = static_cast<std::int32_t>(elapsed);
                w->Position = shownMs_;
                return;
            }
        }
        [[fallthrough]];
    default:
        Finish(cm, false);
        ++cm.CommandIndex;
        return;
    }
}

void TComFlip::Abort(TCallMan& cm) {
    resume_ = false;
    Finish(cm, true);
}

void TComFlip::Finish(TCallMan& cm, bool withCabinets) {
    TVeskBaseList* registry = cm.Components().Registry();
    if (!registry) return;
    // Forced: the transition, whatever it reached, ends with the switch.
    registry->SwitchActive(registry->ActiveIndex() ^ 1, WP_NONE, false, 0, true);
    if (TVeskObject* snapshot = registry->FindByName(TVeskBaseList::kSnapshotName)) registry->Destroy(*snapshot);
    if (!clear_) return;
    TVeskBase& left = registry->InactiveBase();
    for (int i = left.ChildCount() - 1; i >= 0; --i) {
        TVeskControl* child = left.Child(i);
        if (withCabinets || child->CompoType() != LT_CABINET) registry->Destroy(*child);
    }
}

void TComFlip::SaveState(TStream& s) {
    WriteStateVersion(s, kStateWithTransition);
    WriteFlag(s, holdEvents_);
    WriteFlag(s, clear_);
    WriteInt32(s, phase_);
    WriteFlag(s, yields_);
    WriteFlag(s, wipeMade_);
    WriteByte(s, wipeKind_);
    WriteFlag(s, wipeFlag_);
    WriteInt32(s, durationMs_);
    WriteOptionalInt(s, param1_);
    WriteOptionalInt(s, param2_);
    WriteFlag(s, mask_.has_value());
    WriteString(s, mask_.value_or(std::string()));
    WriteInt32(s, shownMs_);
}

void TComFlip::LoadState(TStream& s) {
    const int version = ReadStateVersion(s);
    if (version < 100) return;
    holdEvents_ = ReadFlag(s);
    clear_ = ReadFlag(s);
    if (version < kStateWithTransition) return;
    const std::int32_t phase = ReadInt32(s);
    phase_ = phase >= 0 && phase <= 3 ? phase : 3;
    yields_ = ReadFlag(s);
    wipeMade_ = ReadFlag(s);
    const std::uint8_t kind = ReadByte(s);
    wipeKind_ = kind > WP_BLOCKRANDOM ? std::uint8_t(WP_NONE) : kind;
    wipeFlag_ = ReadFlag(s);
    durationMs_ = std::max(ReadInt32(s), 1);
    param1_ = ReadOptionalInt(s);
    param2_ = ReadOptionalInt(s);
    const bool hasMask = ReadFlag(s);
    std::string mask = ReadString(s);
    mask_ = hasMask ? std::optional(std::move(mask)) : std::nullopt;
    shownMs_ = std::clamp(ReadInt32(s), 0, durationMs_);
    resume_ = true;
}

}  // namespace vesk
