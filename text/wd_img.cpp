#include "text/wd_img.h"

#include <algorithm>

#include "common/stream_io.h"
#include "text/qsword.h"

namespace vesk {

void TWdImg::SetNameText(const std::string& v) {
    if (v == name_) return;
    name_ = v;
    picture_.reset();
    frame_ = 0;
    elapsed_ = 0;
}

void TWdImg::Measure() {
    if (!picture_ && Engine().Pictures) picture_ = Engine().Pictures->Open(name_);
    const int w = picture_ ? std::max(0, picture_->Width()) : 0;
    const int h = picture_ ? std::max(0, picture_->Height()) : 0;
    SetBounds(Left(), Top(), w, h);
}

bool TWdImg::AdvanceAnimation(std::int32_t dt) {
    if (!Animated() || dt <= 0) return false;
    const int n = picture_->FrameCount();
    auto delay = [&](int i) { return std::int64_t(std::max<std::int32_t>(1, picture_->Frame(i).Delay)); };
    std::int64_t cycle = 0;
    for (int i = 0; i < n; ++i) cycle += delay(i);
    elapsed_ = (elapsed_ + dt) % cycle;
    int frame = 0;
    for (std::int64_t t = elapsed_; t >= delay(frame); ++frame) t -= delay(frame);
    const bool changed = frame != frame_;
    frame_ = frame;
    return changed;
}

void TWdImg::ReleaseSurfaces() {
    if (picture_) picture_->ReleaseSurfaces();
}

void TWdImg::ReloadSurfaces() {
    if (picture_) picture_->ReloadSurfaces();
}

void TWdImg::WriteData(TStream& s) const {
    WriteLinkAndWait(s);
    WriteString(s, name_);
    WriteByte(s, align_);
}

void TWdImg::ReadData(TStream& s, const TGlyphReadContext&) {
    ReadLinkAndWait(s);
    SetNameText(ReadString(s));
    align_ = ReadByte(s);
}

}  // namespace vesk
