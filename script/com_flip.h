#pragma once

#include <optional>

#include "script/command.h"

namespace vesk {

class TCustomWipe;
class TVeskBaseList;

// Flip: moves the selected components of the screen to the other base and
// switches to it. With a duration the picture of the screen stays on top
// of the base being left and a transition of the chosen kind runs from it
// to the other base: Phase 0 and 1 take a pass each (the transition's time
// starts at the second), Phase 2 advances the transition by the play clock
// until its duration has passed and then finishes. Phase 3 (no duration)
// finishes in the first pass.
class TComFlip final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_FLIP; }
    void Enter(TCallMan& cm) override;
    void Execute(TCallMan& cm) override;
    void Abort(TCallMan& cm) override;
    bool Yields() const override { return yields_; }
    bool BlocksEvents() const override { return holdEvents_; }
    // Besides hold-events and Clear, the state holds the phase and the
    // transition with the time it had reached, so a Flip restored from a
    // saved game runs its transition on from there.
    void SaveState(TStream& s) override;
    void LoadState(TStream& s) override;
    void Fields(TFieldVisitor& v) override {
        v.Op("kind", WipeKind);
        v.Op("time", Duration);
        v.Op("transition", Transition);
        v.Op("select", SelectMode);
        v.OpArray("names", Names);
        v.Op("clear", Clear);
        v.Op("param1", Param1);
        v.Op("param2", Param2);
        v.Op("mask", MaskSource, 101);
        v.Op("hold", Hold, 107);
    }
    TOpList WipeKind, Duration, Transition, SelectMode;
    std::vector<TOpList> Names;
    TOpList Clear, Param1, Param2, MaskSource, Hold;

private:
    // Gives a new transition the settings evaluated in Enter and starts it
    // at the position given.
    void StartWipe(TVeskBaseList& registry, TCustomWipe& wipe, std::int32_t position);
    // After a saved game was loaded the transition is made again (its
    // picture of the old screen is taken anew: system components are not
    // saved); back from an event page it is still running.
    void Resume(TCallMan& cm, TVeskBaseList& registry);
    // Switches to the other base, drops the snapshot and, with Clear,
    // empties the base left behind (its cabinets too when withCabinets).
    void Finish(TCallMan& cm, bool withCabinets);

    int phase_ = 0;
    std::uint8_t wipeKind_ = 0;
    bool wipeFlag_ = false;
    std::int32_t durationMs_ = 1;
    std::optional<std::int32_t> param1_, param2_;
    std::optional<std::string> mask_;
    // Whether Enter made a transition, and the time it was last advanced to.
    bool wipeMade_ = false;
    std::int32_t shownMs_ = 0;
    bool yields_ = false;
    bool holdEvents_ = false;
    bool clear_ = false;
    std::uint32_t start_ = 0;
    bool resume_ = false;
};

}  // namespace vesk
