#pragma once

#include "transitions/grey_mask.h"
#include "transitions/wipe_mask.h"

namespace vesk {

// Mask fade (kind 19): the bright parts of the mask picture turn over
// first and every pixel fades over half the duration; Flag inverts the
// picture. Without a picture it is a cross-fade that completes at half the
// duration.
class TWipeShadow : public TWipeMask {
public:
    using TWipeMask::TWipeMask;
    void Prepare() override;
    bool BuildMask() override;

protected:
    void FillMaskRows(int from, int to) override;

private:
    wipe::TGreyMask grey_;
    int level_ = 0;  // Position * 512 / Duration of the mask being built
};

}  // namespace vesk
