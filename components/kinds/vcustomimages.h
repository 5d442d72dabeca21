#pragma once

#include <memory>
#include <vector>

#include "components/kinds/vcustomimage.h"
#include "components/registry/fenkcollection.h"
#include "values/vesk_parser.h"

namespace vesk {

// An image that shows the frames of a cached picture one after another,
// each for its delay, with an optional brightness change and a wait added
// to the last frame.
class TVeskCustomImages : public TVeskCustomImage {
public:
    using TVeskCustomImage::TVeskCustomImage;

    TCustomDIBX* Shown() const override;
    TCustomDIBX* ShownMask() const override;

    std::int32_t GetIndex() const override { return index_; }
    void SetIndex(const std::int32_t& v) override;
    std::int32_t GetCountProp() const override;
    std::int32_t GetBrightness() const override { return brightness_; }
    void SetBrightness(const std::int32_t& v) override;
    bool GetPaused() const override { return paused_; }
    void SetPaused(const bool& v) override;
    void SetVisible(const bool& v) override;
    bool GetPlaying() const override;
    // ImgNew hands over its PR_DELAY expression, evaluated anew each time
    // the last frame is entered.
    void TakeExpression(int prop, const TVeskParser& ops) override;

    bool Update(std::int32_t elapsedMs) override;
    void ReleaseSurfaces() override { copies_.clear(); }
    void ReloadSurfaces() override;

    const TFenkRef& Frames() const { return frames_; }
    std::int32_t Remaining() const { return remain_; }

protected:
    // Tiles always repeat; images when PR_REPEAT is set.
    virtual bool Repeats() const { return GetRepeat(); }
    // Empties the frame list (the image then shows nothing).
    void ClearFrames();
    // Loads the frames of a picture file through the registry's cache.
    void LoadFrames(const std::string& file);
    bool ValidIndex(std::int32_t i) const { return frames_ && i >= 0 && i < frames_->FrameCount(); }
    // Shows frame i and adds its display time (and, for the last of two or
    // more frames, the last-frame wait) to the remaining time.
    void EnterFrame(std::int32_t i);
    void SetRemaining(std::int32_t ms) { remain_ = ms; }
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;

private:
    TCustomDIBX* BrightCopy(std::int32_t i) const;
    std::int32_t LastFrameWait();

    TFenkRef frames_;
    std::int32_t index_ = -1;
    std::int32_t remain_ = 0;
    std::int32_t brightness_ = 0;
    bool paused_ = false;
    bool ended_ = false;  // the last frame's time ran out (PR_ONPLAYEND sent)
    TVeskParser lastWait_;
    // Brightness-adjusted copies, made per frame on demand.
    mutable std::vector<std::unique_ptr<TDIBX>> copies_;
};

}  // namespace vesk
