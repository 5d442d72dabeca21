#pragma once

#include <memory>

#include "text/inline_picture.h"
#include "text/tag_values.h"
#include "text/wd_glyph.h"

namespace vesk {

// An inline image, named as the virtual files know it. Its vertical
// alignment is VA_CENTER, VA_TOP or VA_BOTTOM from markup; stored lists may
// also hold HA_LEFT and HA_RIGHT, which layout floats. Images have no
// decoration, ruby or no-break of their own. The picture comes from the
// engine's picture source when the glyph is measured.
class TWdImg : public TWdReal {
public:
    TWdImg(TQsWord& engine, std::string name, std::uint8_t align)
        : TWdReal(engine), name_(std::move(name)), align_(align) {}
    explicit TWdImg(TQsWord& engine) : TWdReal(engine) {}
    // A copy names the same picture but loads it for itself.
    TWdImg(const TWdImg& o, TQsWord& engine) : TWdReal(o, engine), name_(o.name_), align_(o.align_) {}

    std::uint8_t ClassCode() const override { return WD_IMG; }
    std::uint8_t Align() const override { return align_; }
    void SetAlign(std::uint8_t v) override { align_ = v; }
    std::string NameText() const override { return name_; }
    void SetNameText(const std::string& v) override;
    int TextPositionCount() const override { return 1; }

    void Measure() override;
    bool Animated() const override { return picture_ && picture_->FrameCount() > 1; }
    bool AdvanceAnimation(std::int32_t dt) override;
    void ReleaseSurfaces() override;
    void ReloadSurfaces() override;
    // The frame shown now; none without a picture.
    const TInlinePicture* Picture() const { return picture_.get(); }
    int FrameIndex() const { return frame_; }

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdImg>(*this, engine);
    }

private:
    std::string name_;
    std::uint8_t align_ = VA_BOTTOM;
    std::unique_ptr<TInlinePicture> picture_;
    int frame_ = 0;
    // Milliseconds into the picture's whole cycle of frames.
    std::int64_t elapsed_ = 0;
};

}  // namespace vesk
