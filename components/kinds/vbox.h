#pragma once

#include "components/kinds/kinds.h"
#include "components/objects/vcontrol.h"

namespace vesk {

// The rectangle (kind BOX, "矩形サーフェス"): a fill in PR_COLOR and a frame
// of PR_BORDERWIDTH in PR_BORDERCOLOR, translucent, opaque or additive by
// PR_ALPHA; it can also carry a motion file that moves it.
class TVeskBox : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_BOX; }

    std::int32_t GetBorderWidth() const override { return borderWidth_; }
    void SetBorderWidth(const std::int32_t& v) override { Change(borderWidth_, v); }
    std::int32_t GetBorderColor() const override { return borderColor_; }
    void SetBorderColor(const std::int32_t& v) override { Change(borderColor_, v); }
    std::int32_t GetAlpha() const override { return alpha_; }
    void SetAlpha(const std::int32_t& v) override { Change(alpha_, v); }
    std::string GetOnIdle() const override { return onIdle_; }
    void SetOnIdle(const std::string& v) override { onIdle_ = v; }
    std::string GetSource() const override { return source_; }
    // A motion file (".vkm") starts a motion; any source drops the old one.
    void SetSource(const std::string& v) override;
    bool GetRepeat() const override { return repeat_; }
    void SetRepeat(const bool& v) override;
    bool GetAutoScrap() const override { return autoScrap_; }
    void SetAutoScrap(const bool& v) override { autoScrap_ = v; }
    std::string GetOnPlayEnd() const override { return onPlayEnd_; }
    void SetOnPlayEnd(const std::string& v) override { onPlayEnd_ = v; }
    bool GetPaused() const override { return paused_; }
    void SetPaused(const bool& v) override { paused_ = v; }

    void Draw(TCustomDIBX& dest) override;

protected:
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;

private:
    void ApplySource(const std::string& v);

    std::int32_t borderWidth_ = 0, borderColor_ = -1, alpha_ = 255;
    std::string onIdle_, source_;
    bool repeat_ = false, autoScrap_ = false;
    std::string onPlayEnd_;
    bool paused_ = false;
};

// Each channel of a platform colour times strength / 256: the colour an
// additive draw of that strength adds.
std::int32_t ScaledColour(std::int32_t colour, std::int32_t strength);

}  // namespace vesk
