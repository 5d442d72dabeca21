#include "transitions/wipe_crack.h"

#include <algorithm>

#include "common/position_pool.h"
#include "common/process_random.h"
#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// The height a chip has risen (negative) or fallen u units after its start:
// up to 112 pixels around u = 150, then down ever faster.
std::int64_t FallAt(std::int64_t u) { return (5 * u * u - 1500 * u) / 1000; }

}  // namespace

void TWipeCrack::SetParam(int index, std::int32_t value) {
    if (index == 0) {
        TCustomWipe::SetParam(0, value <= 16 ? 16 : value);
        MakeChips();
    } else {
        TCustomWipe::SetParam(index, std::max(value, 0));
        TimeChips();
    }
}

void TWipeCrack::MakeChips() {
    Chips.clear();
    const std::int64_t s = Params[0], w = std::max(Width(), 0), h = std::max(Height(), 0);
    const std::int64_t cw = (w + s - 1) / s, ch = (h + s - 1) / s;
    FallTime = 0;
    while (FallAt(FallTime) < h) ++FallTime;
    TPositionPool cells(int(cw * ch));
    Chips.reserve(std::size_t(cw * ch));
    while (cells.Remaining() > 0) {
        const int c = cells.Take(ProcessRandom().Below(cells.Remaining()));
        TWipeCrackDraw chip;
        chip.Column = std::int32_t(c % cw);
        chip.Row = std::int32_t(c / cw);
        chip.Drift = ProcessRandom().Below(200) - 100;
        Chips.emplace_back(chip);
    }
    TimeChips();
}

void TWipeCrack::TimeChips() {
    for (std::size_t j = 0; j < Chips.size(); ++j)
        if (Chips[j]) Chips[j]->Start = std::int64_t(j) * Params[1];
    LastStart = Chips.empty() ? 0 : std::int64_t(Chips.size() - 1) * Params[1];
}

TRect TWipeCrack::Cell(const TWipeCrackDraw& c) const {
    const int s = Params[0], x = c.Column * s, y = c.Row * s;
    return TRect{x, y, x + std::min(s, Width() - x), y + std::min(s, Height() - y)};
}

bool TWipeCrack::Step() {
    if (!BeginStep()) return true;
    const std::int64_t t = wipe::Scale(FallTime + LastStart, Elapsed(), Duration);
    ClipToTarget();
    Target->Assign(*New);
    for (const auto& chip : Chips)
        if (chip && t < chip->Start) {
            const TRect cell = Cell(*chip);
            Target->Draw(cell.Left, cell.Top, false, false, false, cell, *Old);
        }
    for (auto it = Chips.rbegin(); it != Chips.rend(); ++it) {
        if (!*it || t < (*it)->Start) continue;
        const std::int64_t u = t - (*it)->Start;
        const TRect cell = Cell(**it);
        // Past its fall time a chip is below the screen wherever it began.
        const std::int64_t y = u >= FallTime ? Height() : cell.Top + FallAt(u);
        if (y >= Height()) {
            it->reset();
            continue;
        }
        Target->Draw(int(cell.Left + u * (*it)->Drift / 100), int(y), false, false, false, cell, *Old);
    }
    return false;
}

}  // namespace vesk
