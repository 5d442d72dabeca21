#include "components/kinds/vbox.h"

#include "common/stream_io.h"
#include "components/kinds/vimages.h"
#include "gfx/dibx.h"

namespace vesk {

std::int32_t ScaledColour(std::int32_t colour, std::int32_t strength) {
    std::int32_t out = 0;
    for (int shift : {0, 8, 16}) out |= ((colour >> shift & 0xFF) * strength / 256) << shift;
    return out;
}

namespace {

// Fills r by the alpha rule: additive from 256, opaque at 255, blended below.
void FillByAlpha(TCustomDIBX& dest, const TRect& r, std::int32_t colour, std::int32_t alpha) {
    if (alpha >= 256)
        dest.AddRect(r, static_cast<TPixel>(dest.ColorToPixel(ScaledColour(colour, alpha - 256))));
    else if (alpha == 255)
        dest.FillRect(r, static_cast<TPixel>(dest.ColorToPixel(colour)));
    else
        dest.BlendRect(r, static_cast<TPixel>(dest.ColorToPixel(colour)), alpha);
}

}  // namespace

void TVeskBox::Draw(TCustomDIBX& dest) {
    if (alpha_ > 0 && alpha_ < 512) {
        const TRect r = ScreenBounds();
        const std::int32_t b = borderWidth_;
        TRect inner = r;
        if (b > 0) {
            if (borderColor_ >= 0) {
                if (alpha_ >= 256)
                    dest.AddFrameRect(r, b, static_cast<TPixel>(dest.ColorToPixel(ScaledColour(borderColor_, alpha_ - 256))));
                else if (alpha_ == 255)
                    dest.FrameRect(r, b, static_cast<TPixel>(dest.ColorToPixel(borderColor_)));
                else
                    dest.BlendFrameRect(r, b, alpha_, static_cast<TPixel>(dest.ColorToPixel(borderColor_)));
            }
            inner = ClampedBounds(std::int64_t{r.Left} + b, std::int64_t{r.Top} + b,
                                  std::int64_t{r.Right} - r.Left - 2 * std::int64_t{b},
                                  std::int64_t{r.Bottom} - r.Top - 2 * std::int64_t{b});
        }
        if (GetColor() >= 0 && !inner.IsEmpty()) FillByAlpha(dest, inner, GetColor(), alpha_);
    }
    DrawChildren(dest);
}

void TVeskBox::ApplySource(const std::string& v) {
    source_ = v;
    StopMotion();
    if (LowerExtension(v) == ".vkm") StartMotion(v);
}

void TVeskBox::SetSource(const std::string& v) {
    if (v != source_) ApplySource(v);
}

void TVeskBox::SetRepeat(const bool& v) {
    repeat_ = v;
    if (v && HasMotion() && Motion()->Ended()) Motion()->Restart();
}

void TVeskBox::SaveOwnState(TStream& s) const {
    for (std::int32_t v : {borderWidth_, borderColor_, alpha_}) WriteInt32(s, v);
    WriteString(s, onIdle_);
    WriteString(s, source_);
    WriteFlag(s, repeat_);
    WriteFlag(s, autoScrap_);
    WriteString(s, onPlayEnd_);
    WriteFlag(s, paused_);
    WriteFlag(s, GetAniPaused());
}

void TVeskBox::LoadOwnState(TStream& s, int version) {
    borderWidth_ = ReadInt32(s);
    borderColor_ = ReadInt32(s);
    alpha_ = ReadInt32(s);
    if (version <= 103) return;
    onIdle_ = ReadString(s);
    std::string source = ReadString(s);
    repeat_ = ReadFlag(s);
    autoScrap_ = ReadFlag(s);
    onPlayEnd_ = ReadString(s);
    paused_ = ReadFlag(s);
    SetAniPaused(ReadFlag(s));
    // Loading plays the motion again from its start.
    ApplySource(source);
}

}  // namespace vesk
