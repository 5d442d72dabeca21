#pragma once

#include <memory>

#include "components/kinds/picturedraw.h"
#include "components/objects/vcontrol.h"
#include "gfx/dibx.h"

namespace vesk {

// The image base: a control that shows one picture (a frame of a cached
// image, or a surface of its own) with alpha, zoom, rotation, flips and an
// optional hit test against the picture's mask. Not created by scripts.
class TVeskCustomImage : public TVeskControl {
public:
    using TVeskControl::TVeskControl;

    // The picture shown now and its mask; the own surface when the kind
    // shows nothing else.
    virtual TCustomDIBX* Shown() const { return own_.get(); }
    virtual TCustomDIBX* ShownMask() const { return nullptr; }
    const TCustomDIBX* ImageSurface() const override { return Shown(); }
    // The surface of the image's own (a snapshot, a drawn picture).
    TDIBX& OwnSurface();

    std::int32_t GetAlpha() const override { return alpha_; }
    void SetAlpha(const std::int32_t& v) override { Change(alpha_, v); }
    std::int32_t GetZoomX() const override { return zoomX_; }
    void SetZoomX(const std::int32_t& v) override;
    std::int32_t GetZoomY() const override { return zoomY_; }
    void SetZoomY(const std::int32_t& v) override;
    std::int32_t GetAngle() const override { return angle_; }
    void SetAngle(const std::int32_t& v) override { Change(angle_, v); }
    bool GetFlipH() const override { return flipH_; }
    // Flips recompute the size at once.
    void SetFlipH(const bool& v) override;
    bool GetFlipV() const override { return flipV_; }
    void SetFlipV(const bool& v) override;
    bool GetCaptureMask() const override { return captureMask_; }
    void SetCaptureMask(const bool& v) override { captureMask_ = v; }
    void SetPosZoomed(const bool& v) override;
    // An explicit size: the zoom of that direction becomes 0 and the picture
    // is stretched to the size.
    void SetWidth(const std::int32_t& v) override;
    void SetHeight(const std::int32_t& v) override;
    std::int32_t GetOrigWidth() const override { return Shown() ? Shown()->Width() : 0; }
    std::int32_t GetOrigHeight() const override { return Shown() ? Shown()->Height() : 0; }

    // Size follows the zoom (unless a motion runs); a PR_POSZOOMED image in
    // an image of the same zoom maps through the parent's real scale.
    virtual void RecomputeSize();
    void BeforeApplyLeft() override;
    void AppliedProperties() override { Invalidate(); }

    TRect HitRect() const override;
    TVeskControl* HitTest(std::int32_t x, std::int32_t y, std::uint32_t modes) override;
    void Draw(TCustomDIBX& dest) override;
    bool Update(std::int32_t elapsedMs) override;

protected:
    // What DrawPicture needs for the shown picture at the screen position.
    TPictureDraw PictureAt(TCustomDIBX* surface, TCustomDIBX* mask) const;
    // Whether (x, y) falls on an opaque pixel of the shown mask.
    bool MaskHit(std::int32_t x, std::int32_t y) const;
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;
    // Writes the size without the explicit-size rule (the kinds' own sizing).
    void SetShownSize(std::int32_t width, std::int32_t height);

private:
    void ZoomChanged(std::int32_t& zoom, std::int32_t v);

    std::unique_ptr<TDIBX> own_;
    std::int32_t alpha_ = 255;
    std::int32_t zoomX_ = 256, zoomY_ = 256;
    std::int32_t angle_ = 0;
    bool flipH_ = false, flipV_ = false;
    bool captureMask_ = false;
    bool recompute_ = false;
};

}  // namespace vesk
