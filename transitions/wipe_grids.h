#pragma once

#include <cstdint>

#include "transitions/wipe_mask.h"

namespace vesk {

// Grids: the screen is cut into square cells of Params[0] pixels; each cell
// grows a square from its centre while its level rises over Params[1]
// progress units, starting 4 units per step of its delay after the first.
// Kind 8 spreads diagonally from the top-left corner (from the bottom-right
// with Flag).
class TWipeGrid : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    bool BuildMask() override;

protected:
    // The whole spread in progress units over q columns and r rows of
    // cells, and the delay of the cell in column i and row j.
    virtual std::int64_t Spread(std::int64_t q, std::int64_t r) const;
    virtual std::int64_t Delay(std::int64_t i, std::int64_t j, std::int64_t q, std::int64_t r) const;
};

// Column after column (kind 9; from the right with Flag): one row of cells
// repeated down the screen.
class TWipeGridH : public TWipeGrid {
public:
    using TWipeGrid::TWipeGrid;
    int MaskHeight() const override;

protected:
    std::int64_t Spread(std::int64_t q, std::int64_t r) const override;
    std::int64_t Delay(std::int64_t i, std::int64_t j, std::int64_t q, std::int64_t r) const override;
};

// Row after row (kind 10; from the bottom with Flag).
class TWipeGridV : public TWipeGrid {
public:
    using TWipeGrid::TWipeGrid;

protected:
    std::int64_t Spread(std::int64_t q, std::int64_t r) const override;
    std::int64_t Delay(std::int64_t i, std::int64_t j, std::int64_t q, std::int64_t r) const override;
};

}  // namespace vesk
