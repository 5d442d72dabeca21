#pragma once

#include <vector>

#include "gfx/rect.h"
#include "transitions/wipe_mask.h"

namespace vesk {

// The block transitions: the screen turns over in square blocks of
// Params[0] pixels (at least 10, at most the screen's smaller side; Prepare
// stores the size it used back into Params[0]), one block after another in
// the order of the block list. Parameters are stored as given.
class TWipeBlocks : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    void SetParam(int index, std::int32_t value) override;
    void Prepare() override;
    bool BuildMask() override;

    const std::vector<TRect>& Blocks() const { return blocks_; }

protected:
    // Fills blocks_ with blocks of side b over the mask.
    virtual void ListBlocks(int b) = 0;
    // The coil with Flag lays its list backwards.
    virtual bool Reversed() const { return false; }

    std::vector<TRect> blocks_;
};

// A clockwise spiral from the top-left corner inward (kind 37); Flag lays
// it from the centre outward.
class TWipeBlockCoil : public TWipeBlocks {
public:
    using TWipeBlocks::TWipeBlocks;

protected:
    void ListBlocks(int b) override;
    bool Reversed() const override { return Flag != 0; }
};

// The blocks in a random order from the process-wide generator (kind 38).
class TWipeBlockRandom : public TWipeBlocks {
public:
    using TWipeBlocks::TWipeBlocks;

protected:
    void ListBlocks(int b) override;
};

}  // namespace vesk
