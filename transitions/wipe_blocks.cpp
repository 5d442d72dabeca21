#include "transitions/wipe_blocks.h"

#include <algorithm>

#include "common/position_pool.h"
#include "common/process_random.h"
#include "transitions/wipe_math.h"

namespace vesk {

void TWipeBlocks::SetParam(int index, std::int32_t value) { TCustomWipe::SetParam(index, value); }

void TWipeBlocks::Prepare() {
    TWipeMask::Prepare();
    blocks_.clear();
    if (Mask.IsEmpty()) return;
    const int b = std::min({std::max(Params[0], 10), Mask.Width(), Mask.Height()});
    Params[0] = b;
    ListBlocks(b);
    LastLevel = Reversed() ? int(blocks_.size()) : -1;
}

bool TWipeBlocks::BuildMask() {
    const std::int64_t last = std::int64_t(blocks_.size()) - 1;
    if (last < 0) return false;
    const std::int32_t from = LastLevel;
    const bool reversed = Reversed();
    const auto v = std::int32_t(wipe::Scale(last, reversed ? Duration - Elapsed() : Elapsed(), Duration));
    if (v == from) return false;
    // The blocks between the last step's level and this one's; a position
    // that went back turns nothing back.
    const int lo = reversed ? v : from + 1, hi = reversed ? from - 1 : v;
    for (int i = std::max(lo, 0); i <= std::min<std::int64_t>(hi, last); ++i)
        FillMaskRect(blocks_[std::size_t(i)], 255);
    LastLevel = v;
    TwoLevel = 1;
    return true;
}

void TWipeBlockCoil::ListBlocks(int b) {
    TRect area = Mask.BoundsRect();
    TRect block{0, 0, b, b};
    enum { Right, Down, Left, Up } heading = Right;
    // Every block lies on one cell of the b grid, so there are never more
    // than these; the bound keeps a degenerate spiral from running on.
    const std::size_t cells = std::size_t((area.Right + b - 1) / b) * std::size_t((area.Bottom + b - 1) / b);
    auto move = [&](int dx, int dy) {
        block.Left += dx, block.Right += dx, block.Top += dy, block.Bottom += dy;
    };
    while (!area.IsEmpty() && blocks_.size() < cells) {
        blocks_.push_back(block);
        switch (heading) {
            case Right:
                if (block.Right < area.Right) {
                    move(b, 0);
                } else {
                    area.Top = block.Bottom;
                    heading = Down;
                    move(0, b);
                }
                break;
            case Down:
                if (block.Bottom < area.Bottom) {
                    move(0, b);
                } else {
                    area.Right = block.Left;
                    heading = Left;
                    move(-b, 0);
                }
                break;
            case Left:
                if (area.Left < block.Left) {
                    move(-b, 0);
                } else {
                    area.Bottom = block.Top;
                    heading = Up;
                    move(0, -b);
                }
                break;
            case Up:
                if (area.Top < block.Top) {
                    move(0, -b);
                } else {
                    area.Left = block.Right;
                    heading = Right;
                    move(b, 0);
                }
                break;
        }
    }
}

void TWipeBlockRandom::ListBlocks(int b) {
    std::vector<TRect> rows;
    for (int y = 0; y < Mask.Height(); y += b)
        for (int x = 0; x < Mask.Width(); x += b) rows.push_back(TRect{x, y, x + b, y + b});
    TPositionPool pool(int(rows.size()));
    while (pool.Remaining() > 0) {
        const int k = ProcessRandom().Below(pool.Remaining());
        blocks_.push_back(rows[std::size_t(pool.Take(k))]);
    }
}

}  // namespace vesk
