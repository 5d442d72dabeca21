#include "transitions/wipe.h"

#include <cstdio>

#include "common/cp932.h"
#include "common/error.h"
#include "gfx/dibx.h"

namespace vesk {

TCustomWipe::TCustomWipe(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw)
    : Target(&target), Old(&old), New(&nw), width_(target.Width()), height_(target.Height()),
      bitCount_(target.BitCount()) {}

void TCustomWipe::SetFlag(std::uint8_t flag) { Flag = flag; }

void TCustomWipe::CheckParamIndex(int index) {
    if (index == 0 || index == 1) return;
    char text[128];
    std::snprintf(text, sizeof text, Sj("トランジションのパラメータ番号が不正です (%d)").c_str(), index);
    throw EVeskError(text);
}

std::int32_t TCustomWipe::GetParam(int index) const {
    CheckParamIndex(index);
    return Params[std::size_t(index)];
}

void TCustomWipe::SetParam(int index, std::int32_t value) {
    CheckParamIndex(index);
    Params[std::size_t(index)] = value;
}

void TCustomWipe::SetMaskName(const std::string& name) { MaskName = name; }

void TCustomWipe::Prepare() {}

bool TCustomWipe::Step() {
    BeginStep();
    return false;
}

void TCustomWipe::Finish() {}

bool TCustomWipe::SurfacesUsable() const {
    if (bitCount_ != 15 && bitCount_ != 16 && bitCount_ != 32) return false;
    if (width_ <= 0 || height_ <= 0) return false;
    for (const TCustomDIBX* s : {Target, Old, New})
        if (s->Width() != width_ || s->Height() != height_ || s->BitCount() != bitCount_) return false;
    return true;
}

bool TCustomWipe::BeginStep() {
    UpdateRect = TRect{0, 0, Target->Width(), Target->Height()};
    // Nothing below may divide by Duration before this test.
    if (Position >= Duration || Duration <= 0) return false;
    return SurfacesUsable();
}

void TCustomWipe::ClipToTarget() { Target->AddClip(Target->BoundsRect()); }

}  // namespace vesk
