#include "components/kinds/vtile.h"

#include "common/stream_io.h"
#include "components/kinds/vimages.h"

namespace vesk {

void TVeskTile::SetSource(const std::string& v) {
    if (v == source_) return;
    source_ = v;
    ClearFrames();
    StopMotion();
    const std::string ext = LowerExtension(v);
    if (ext == ".fnk") {
        LoadFrames(v);
        if (Frames() && Frames()->FrameCount() > 0) SetIndex(0);
    } else if (ext == ".vkm") {
        StartMotion(v);
        if (HasMotion()) Motion()->Step(0);
    }
}

std::int32_t TVeskTile::ScreenX() const {
    const TVeskControl* p = Parent();
    const std::int64_t own = HasMotion() ? MotionX() : GetLeft();
    const std::int64_t x = own + (p ? std::int64_t{p->ScreenX()} - p->GetScrollX() : 0) + GetPlusX();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX));
}

std::int32_t TVeskTile::ScreenY() const {
    const TVeskControl* p = Parent();
    const std::int64_t own = HasMotion() ? MotionY() : GetTop();
    const std::int64_t y = own + (p ? std::int64_t{p->ScreenY()} - p->GetScrollY() : 0) + GetPlusY();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX));
}

void TVeskTile::Draw(TCustomDIBX& dest) {
    TCustomDIBX* s = Shown();
    const std::int32_t alpha = GetAlpha(), zx = GetZoomX(), zy = GetZoomY();
    if (s && ValidIndex(GetIndex()) && alpha > 0 && GetWidth() > 0 && GetHeight() > 0 && zx > 0 && zy > 0) {
        TCustomDIBX* mask = ShownMask();
        const TRect r = ScreenBounds();
        const bool keyed = s->TransparentColor >= 0;
        const bool flipH = GetFlipH(), flipV = GetFlipV();
        if ((distanceX_ < s->Width() || distanceX_ <= 0) && (distanceY_ < s->Height() || distanceY_ <= 0)) {
            if (zx == 256 && zy == 256 && !keyed && !mask && alpha == 255)
                dest.WrapDraw(r, *s, flipV, flipH, scrollY_, scrollX_);
            else if (mask)
                dest.ScaledTileDrawMasked(r, *s, alpha, *mask, flipV, flipH, scrollY_, scrollX_, zy, zx);
            else
                dest.ScaledTileDraw(r, *s, alpha, flipV, flipH, keyed, scrollY_, scrollX_, zy, zx);
        } else {
            const std::int32_t pitchX = std::max(distanceX_, s->Width()), pitchY = std::max(distanceY_, s->Height());
            if (mask)
                dest.TileStretchDrawMasked(r, pitchX, scrollY_, scrollX_, alpha, *mask, flipV, flipH, s->BoundsRect(),
                                           *s, zy, zx, pitchY);
            else
                dest.TileStretchDraw(r, pitchX, scrollY_, scrollX_, alpha, flipV, flipH, keyed, s->BoundsRect(), *s,
                                     zy, zx, pitchY);
        }
    }
    DrawChildren(dest);
}

void TVeskTile::SaveOwnState(TStream& s) const {
    TVeskCustomImages::SaveOwnState(s);
    WriteInt32(s, scrollX_);
    WriteInt32(s, scrollY_);
    WriteString(s, source_);
    WriteString(s, onIdle_);
    WriteInt32(s, distanceX_);
    WriteInt32(s, distanceY_);
}

void TVeskTile::LoadOwnState(TStream& s, int version) {
    TVeskCustomImages::LoadOwnState(s, version);
    const std::int32_t index = GetIndex(), remaining = Remaining();
    scrollX_ = ReadInt32(s);
    scrollY_ = ReadInt32(s);
    std::string source = ReadString(s);
    onIdle_ = ReadString(s);
    distanceX_ = ReadInt32(s);
    distanceY_ = ReadInt32(s);
    source_.clear();
    SetSource(source);
    SetIndex(index);
    SetRemaining(remaining);
}

}  // namespace vesk
