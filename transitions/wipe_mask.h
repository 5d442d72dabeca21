#pragma once

#include <cstdint>

#include "gfx/dibx.h"
#include "transitions/wipe.h"

namespace vesk {

// The mask transitions: each step a kind builds an 8-bit mask and the
// target shows the old picture where the mask is 0, the new one where it is
// 255 and a blend of both in between. A mask shorter than the screen repeats
// downward. The mask is rebuilt only when the kind's integer progress value
// changes; a step with an unchanged mask leaves the target as it is.
class TWipeMask : public TCustomWipe {
public:
    // The current mask: the target's width and MaskHeight() rows.
    TDIBX Mask;
    // The progress value the mask was last built for; -1 before the first.
    std::int32_t LastLevel = -1;
    // Set by a kind when every mask value is 0 or 255.
    std::uint8_t TwoLevel = 0;

    TWipeMask(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw) : TCustomWipe(target, old, nw) {}

    // Parameter 0 is stored as at least 2, parameter 1 as at least 1.
    void SetParam(int index, std::int32_t value) override;
    // Sizes the mask and clears it; kinds that override it call this first.
    void Prepare() override;
    bool Step() override;

    // Rebuilds the mask for Position; answers whether it changed.
    virtual bool BuildMask();                                // 8
    virtual int MaskHeight() const;                          // 9

protected:
    // Called by the composition right before it reads mask rows from .. to
    // - 1, so a kind that builds its mask a row at a time (BuildMask then
    // only settles the level) has each band of rows still in the cache
    // when it is composed. The others build the whole mask in BuildMask.
    virtual void FillMaskRows(int from, int to);

    // A mask row for writing, 0 <= y < MaskHeight().
    std::uint8_t* MaskRow(int y) { return Mask.ScanLine(y); }
    void FillMask(std::uint8_t value) { Mask.Fill(value); }
    void FillMaskRect(const TRect& r, std::uint8_t value) { Mask.FillRect(r, value); }
    // Takes the new progress value: false (nothing to do) when it equals
    // LastLevel, else stores it and answers true.
    bool NewLevel(std::int64_t v);

private:
    bool MaskFits() const;
    void Compose();
};

}  // namespace vesk
