#pragma once

#include "text/tag_values.h"
#include "text/wd_glyph.h"

namespace vesk {

// An inline image, named as the virtual files know it. Its vertical
// alignment is VA_CENTER, VA_TOP or VA_BOTTOM from markup; stored lists may
// also hold HA_LEFT and HA_RIGHT, which layout floats. Images have no
// decoration, ruby or no-break of their own.
class TWdImg : public TWdReal {
public:
    TWdImg(TQsWord& engine, std::string name, std::uint8_t align)
        : TWdReal(engine), name_(std::move(name)), align_(align) {}
    explicit TWdImg(TQsWord& engine) : TWdReal(engine) {}
    TWdImg(const TWdImg& o, TQsWord& engine) : TWdReal(o, engine), name_(o.name_), align_(o.align_) {}

    std::uint8_t ClassCode() const override { return WD_IMG; }
    std::uint8_t Align() const override { return align_; }
    void SetAlign(std::uint8_t v) override { align_ = v; }
    std::string NameText() const override { return name_; }
    void SetNameText(const std::string& v) override { name_ = v; }
    int TextPositionCount() const override { return 1; }

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdImg>(*this, engine);
    }

private:
    std::string name_;
    std::uint8_t align_ = VA_BOTTOM;
};

}  // namespace vesk
