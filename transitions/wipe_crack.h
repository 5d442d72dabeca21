#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "transitions/wipe.h"

namespace vesk {

// One chip of the falling-chips transition: the cell of the old picture it
// carries, when it starts to fly and how far it drifts sideways (in
// hundredths of a pixel per unit of time).
struct TWipeCrackDraw {
    std::int32_t Column = 0, Row = 0;
    std::int64_t Start = 0;
    std::int32_t Drift = 0;
};

// Falling chips (kind 29): the old picture breaks into square chips of
// Params[0] pixels (at least 16) that hop up and fall off the bottom one
// after another, Params[1] time units apart in a random order from the
// process-wide generator, uncovering the new picture; later chips are drawn
// under earlier ones.
class TWipeCrack : public TCustomWipe {
public:
    // In flying order; a chip that has left the screen is gone.
    std::vector<std::optional<TWipeCrackDraw>> Chips;
    // The time a chip takes to leave the screen, and the start of the last.
    std::int64_t FallTime = 0, LastStart = 0;

    using TCustomWipe::TCustomWipe;
    // Parameter 0 makes the chips anew, parameter 1 re-times them.
    void SetParam(int index, std::int32_t value) override;
    bool Step() override;

private:
    void MakeChips();
    void TimeChips();
    // A chip's rectangle on the old picture.
    TRect Cell(const TWipeCrackDraw& c) const;
};

}  // namespace vesk
