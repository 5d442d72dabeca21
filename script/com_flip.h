#pragma once

#include "script/command.h"

namespace vesk {

// Flip: moves the selected components of the screen to the other base and
// switches to it. With a duration Phase 0 and 1 take a pass each (the start
// is timed from the second) and Phase 2 finishes; Phase 3 (no duration)
// finishes in the first pass. No transition is drawn: the transition's
// fields are evaluated as pages expect, and the switch is immediate.
class TComFlip final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_FLIP; }
    void Enter(TCallMan& cm) override;
    void Execute(TCallMan& cm) override;
    void Abort(TCallMan& cm) override;
    bool Yields() const override { return yields_; }
    bool BlocksEvents() const override { return holdEvents_; }
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
    // Switches to the other base, drops the snapshot and, with Clear,
    // empties the base left behind (its cabinets too when withCabinets).
    void Finish(TCallMan& cm, bool withCabinets);

    int phase_ = 0;
    std::uint8_t wipeKind_ = 0;
    std::int32_t durationMs_ = 1;
    bool yields_ = false;
    bool holdEvents_ = false;
    bool clear_ = false;
    std::uint32_t start_ = 0;
};

}  // namespace vesk
