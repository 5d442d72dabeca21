#pragma once

#include "components/kinds/kinds.h"
#include "components/kinds/vcustomimages.h"

namespace vesk {

// The image surface (kind IMAGES, "画像サーフェス"): the frames of a
// layered image file, or a motion file played by the timeline player.
class TVeskImages : public TVeskCustomImages {
public:
    using TVeskCustomImages::TVeskCustomImages;
    std::uint8_t CompoType() const override { return LT_IMAGES; }

    std::string GetSource() const override { return source_; }
    // ".fnk": the frames through the cache, frame 0 shown; ".vkm": a
    // motion; anything else: nothing shown, size 0 x 0.
    void SetSource(const std::string& v) override;
    bool GetRepeat() const override { return repeat_; }
    // Switched on, replays an ended motion or shows frame 0 again.
    void SetRepeat(const bool& v) override;
    bool GetAutoScrap() const override { return autoScrap_; }
    void SetAutoScrap(const bool& v) override { autoScrap_ = v; }
    std::string GetOnPlayEnd() const override { return onPlayEnd_; }
    void SetOnPlayEnd(const std::string& v) override { onPlayEnd_ = v; }
    std::string GetOnIdle() const override { return onIdle_; }
    void SetOnIdle(const std::string& v) override { onIdle_ = v; }

protected:
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;

private:
    std::string source_;
    bool repeat_ = false, autoScrap_ = false;
    std::string onPlayEnd_, onIdle_;
};

// The lower-cased extension of a file name, dot included ("" without one).
std::string LowerExtension(const std::string& name);

}  // namespace vesk
