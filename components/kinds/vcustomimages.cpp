#include "components/kinds/vcustomimages.h"

#include "common/stream_io.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"

namespace vesk {

TCustomDIBX* TVeskCustomImages::Shown() const {
    if (!ValidIndex(index_)) return TVeskCustomImage::Shown();
    if (brightness_ != 0) return BrightCopy(index_);
    return frames_->Frame(index_).Surface.get();
}

TCustomDIBX* TVeskCustomImages::ShownMask() const {
    return ValidIndex(index_) ? frames_->Frame(index_).Mask.get() : nullptr;
}

TCustomDIBX* TVeskCustomImages::BrightCopy(std::int32_t i) const {
    const std::size_t n = static_cast<std::size_t>(frames_->FrameCount());
    if (copies_.size() != n) copies_.resize(n);
    std::unique_ptr<TDIBX>& copy = copies_[static_cast<std::size_t>(i)];
    if (copy) return copy.get();
    copy = BrightnessCopy(*frames_->Frame(i).Surface, brightness_);
    return copy.get();
}

void TVeskCustomImages::SetBrightness(const std::int32_t& v) {
    if (v == brightness_) return;
    Change(brightness_, v);
    copies_.clear();
}

void TVeskCustomImages::ReloadSurfaces() { copies_.clear(); }

std::int32_t TVeskCustomImages::GetCountProp() const {
    if (HasMotion()) return Motion()->FrameCount();
    return frames_ ? frames_->FrameCount() : 0;
}

void TVeskCustomImages::SetIndex(const std::int32_t& v) {
    if (HasMotion()) Motion()->Seek(v * 16.666666666666668);
    const bool wasValid = ValidIndex(index_);
    ended_ = false;
    if (!ValidIndex(v)) {
        Change(index_, std::int32_t{-1});
        return;
    }
    if (!wasValid) remain_ = 0;
    Invalidate();
    index_ = v;
    if (!wasValid) EnterFrame(v);
    Invalidate();
}

void TVeskCustomImages::SetPaused(const bool& v) {
    paused_ = v;
    remain_ = 0;
}

void TVeskCustomImages::SetVisible(const bool& v) {
    TVeskCustomImage::SetVisible(v);
    remain_ = 0;
}

bool TVeskCustomImages::GetPlaying() const {
    if (HasMotion()) return TVeskCustomImage::GetPlaying();
    if (paused_ || GetAniPaused()) return false;
    return Repeats() || !ended_;
}

void TVeskCustomImages::TakeExpression(int prop, const TVeskParser& ops) {
    if (prop == PR_DELAY) lastWait_.Assign(ops);
}

std::int32_t TVeskCustomImages::LastFrameWait() {
    if (lastWait_.Count() == 0) return 0;
    lastWait_.Evaluate();
    const TCustomParam* r = lastWait_.Result();
    return r ? r->AsInt() : 0;
}

void TVeskCustomImages::EnterFrame(std::int32_t i) {
    Invalidate();
    index_ = i;
    const std::int32_t count = frames_->FrameCount();
    std::int64_t remain = std::int64_t{remain_} + frames_->Frame(i).Delay;
    if (i == count - 1 && count >= 2) remain += LastFrameWait();
    remain_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(remain, INT32_MIN, INT32_MAX));
    Invalidate();
}

void TVeskCustomImages::ClearFrames() {
    Invalidate();
    index_ = -1;
    remain_ = 0;
    ended_ = false;
    copies_.clear();
    frames_.Reset();
}

void TVeskCustomImages::LoadFrames(const std::string& file) {
    ClearFrames();
    if (Owner()) frames_ = Owner()->Images().Acquire(file);
}

bool TVeskCustomImages::Update(std::int32_t elapsedMs) {
    if (TVeskCustomImage::Update(elapsedMs)) return true;
    if (HasMotion() || !ValidIndex(index_) || !Showing() || paused_ || GetAniPaused()) return false;
    if (remain_ > 0) remain_ -= elapsedMs;
    const std::int32_t count = frames_->FrameCount();
    while (remain_ < 1) {
        if (index_ < count - 1) {
            if (count <= 2) remain_ = 0;
            EnterFrame(index_ + 1);
        } else if (Repeats()) {
            remain_ = 0;
            EnterFrame(0);
        } else if (GetAutoScrap()) {
            return true;
        } else {
            if (!ended_) RaiseEvent(GetOnPlayEnd(), PR_ONPLAYEND, {}, false);
            ended_ = true;
            break;
        }
    }
    return false;
}

void TVeskCustomImages::SaveOwnState(TStream& s) const {
    TVeskCustomImage::SaveOwnState(s);
    for (std::int32_t v : {remain_, index_, brightness_}) WriteInt32(s, v);
    WriteFlag(s, paused_);
    lastWait_.SaveToStream(s);
}

void TVeskCustomImages::LoadOwnState(TStream& s, int version) {
    TVeskCustomImage::LoadOwnState(s, version);
    remain_ = ReadInt32(s);
    index_ = ReadInt32(s);
    brightness_ = ReadInt32(s);
    paused_ = ReadFlag(s);
    lastWait_.LoadFromStream(s);
    copies_.clear();
}

}  // namespace vesk
