#pragma once

#include "components/kinds/kinds.h"
#include "components/kinds/vcustomimages.h"

namespace vesk {

// The tiled surface (kind TILE): a picture repeated over the control's
// rectangle, scrolled by PR_SCROLLX / PR_SCROLLY (which also move the
// children), spaced by PR_DISTANCEX / PR_DISTANCEY. Its frames always
// repeat and its size never follows the zoom.
class TVeskTile : public TVeskCustomImages {
public:
    using TVeskCustomImages::TVeskCustomImages;
    std::uint8_t CompoType() const override { return LT_TILE; }

    std::string GetSource() const override { return source_; }
    void SetSource(const std::string& v) override;
    std::string GetOnIdle() const override { return onIdle_; }
    void SetOnIdle(const std::string& v) override { onIdle_ = v; }
    std::int32_t GetScrollX() const override { return scrollX_; }
    void SetScrollX(const std::int32_t& v) override { Change(scrollX_, v); }
    std::int32_t GetScrollY() const override { return scrollY_; }
    void SetScrollY(const std::int32_t& v) override { Change(scrollY_, v); }
    std::int32_t GetDistanceX() const override { return distanceX_; }
    void SetDistanceX(const std::int32_t& v) override { Change(distanceX_, v); }
    std::int32_t GetDistanceY() const override { return distanceY_; }
    void SetDistanceY(const std::int32_t& v) override { Change(distanceY_, v); }
    void SetWidth(const std::int32_t& v) override { SetShownSize(v, GetHeight()); }
    void SetHeight(const std::int32_t& v) override { SetShownSize(GetWidth(), v); }
    void RecomputeSize() override {}

    // The parent's position plus left/top less the parent's scroll (or the
    // motion position): offset, zoom and flip do not move a tile.
    std::int32_t ScreenX() const override;
    std::int32_t ScreenY() const override;
    TRect HitRect() const override { return ScreenBounds(); }
    void Draw(TCustomDIBX& dest) override;

protected:
    bool Repeats() const override { return true; }
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;

private:
    std::string source_, onIdle_;
    std::int32_t scrollX_ = 0, scrollY_ = 0, distanceX_ = 0, distanceY_ = 0;
};

}  // namespace vesk
