#include "components/kinds/vcustomimage.h"

#include "common/stream_io.h"

namespace vesk {

namespace {

// The displayed length of a source length at a zoom, in one direction.
std::int32_t Zoomed(std::int32_t length, std::int32_t zoom) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{length} * zoom / 256, INT32_MIN, INT32_MAX));
}

}  // namespace

TDIBX& TVeskCustomImage::OwnSurface() {
    if (!own_) own_ = std::make_unique<TDIBX>();
    return *own_;
}

void TVeskCustomImage::ZoomChanged(std::int32_t& zoom, std::int32_t v) {
    // The anchor moves with the zoom at once (the size only at the next
    // update): the old place is redrawn too.
    Change(zoom, v <= 0 ? 1 : v);
    recompute_ = true;
    // Zoomed children are sized through this picture's scale.
    for (int i = 0; i < ChildCount(); ++i)
        if (auto* img = dynamic_cast<TVeskCustomImage*>(Child(i)); img && img->GetPosZoomed()) img->recompute_ = true;
}

void TVeskCustomImage::SetZoomX(const std::int32_t& v) { ZoomChanged(zoomX_, v); }
void TVeskCustomImage::SetZoomY(const std::int32_t& v) { ZoomChanged(zoomY_, v); }

void TVeskCustomImage::SetFlipH(const bool& v) {
    Change(flipH_, v);
    RecomputeSize();
}

void TVeskCustomImage::SetFlipV(const bool& v) {
    Change(flipV_, v);
    RecomputeSize();
}

void TVeskCustomImage::SetPosZoomed(const bool& v) {
    TVeskControl::SetPosZoomed(v);
    recompute_ = true;
}

void TVeskCustomImage::SetWidth(const std::int32_t& v) {
    zoomX_ = 0;
    TVeskControl::SetWidth(v);
}

void TVeskCustomImage::SetHeight(const std::int32_t& v) {
    zoomY_ = 0;
    TVeskControl::SetHeight(v);
}

void TVeskCustomImage::SetShownSize(std::int32_t width, std::int32_t height) {
    TVeskControl::SetWidth(width);
    TVeskControl::SetHeight(height);
}

void TVeskCustomImage::RecomputeSize() {
    recompute_ = false;
    if (HasMotion()) return;
    const TCustomDIBX* s = Shown();
    const std::int32_t sw = s ? s->Width() : 0, sh = s ? s->Height() : 0;
    std::int32_t w = zoomX_ > 0 ? Zoomed(sw, zoomX_) : GetWidth();
    std::int32_t h = zoomY_ > 0 ? Zoomed(sh, zoomY_) : GetHeight();
    const TVeskControl* p = Parent();
    const TCustomDIBX* ps = p ? p->ImageSurface() : nullptr;
    if (GetPosZoomed() && ps && !p->IsBase() && p->GetZoomX() == zoomX_ && p->GetZoomY() == zoomY_) {
        // Both edges go through the parent's real scale; the far edge is
        // rounded up so that neighbouring pieces leave no gap.
        auto span = [](std::int64_t start, std::int32_t length, std::int32_t src, std::int32_t shown) {
            if (shown <= 0 || src <= 0) return std::int64_t{-1};
            const std::int64_t scale = std::int64_t{src} * 65536 / shown;
            if (scale <= 0) return std::int64_t{-1};
            const std::int64_t n = start * 65536, f = (start + length) * 65536;
            const std::int64_t nearEdge = n / scale + (n % scale > 32767 ? 1 : 0);
            const std::int64_t farEdge = f / scale + (f % scale > 0 ? 1 : 0);
            return farEdge - nearEdge;
        };
        const std::int64_t pw = span(std::int64_t{GetLeft()} - GetOffsetX(), sw, ps->Width(), p->GetWidth());
        const std::int64_t ph = span(std::int64_t{GetTop()} - GetOffsetY(), sh, ps->Height(), p->GetHeight());
        if (pw >= 0 && zoomX_ > 0) w = static_cast<std::int32_t>(std::min<std::int64_t>(pw, INT32_MAX));
        if (ph >= 0 && zoomY_ > 0) h = static_cast<std::int32_t>(std::min<std::int64_t>(ph, INT32_MAX));
    }
    SetShownSize(w, h);
}

void TVeskCustomImage::BeforeApplyLeft() {
    if (recompute_) RecomputeSize();
}

bool TVeskCustomImage::Update(std::int32_t elapsedMs) {
    if (recompute_) RecomputeSize();
    return TVeskControl::Update(elapsedMs);
}

TPictureDraw TVeskCustomImage::PictureAt(TCustomDIBX* surface, TCustomDIBX* mask) const {
    TPictureDraw p;
    p.Surface = surface;
    p.Mask = mask;
    p.Dest = ScreenBounds();
    p.Alpha = alpha_;
    p.Angle = angle_;
    p.FlipH = flipH_;
    p.FlipV = flipV_;
    if (angle_ % 256 != 0 && surface) {
        const std::int32_t w = surface->Width(), h = surface->Height();
        p.PivotX = flipH_ ? w - GetOffsetX() - 1 : GetOffsetX();
        p.PivotY = flipV_ ? h - GetOffsetY() - 1 : GetOffsetY();
        const TRect anchor = ClampedBounds(p.Dest.Left, p.Dest.Top,
                                           w > 0 ? std::int64_t{p.PivotX} * p.Dest.Width() / w : 0,
                                           h > 0 ? std::int64_t{p.PivotY} * p.Dest.Height() / h : 0);
        p.AnchorX = anchor.Right;
        p.AnchorY = anchor.Bottom;
    }
    return p;
}

TRect TVeskCustomImage::HitRect() const {
    if (angle_ % 256 == 0) return ScreenBounds();
    return RotatedBox(PictureAt(Shown(), nullptr));
}

bool TVeskCustomImage::MaskHit(std::int32_t x, std::int32_t y) const {
    const TCustomDIBX* mask = ShownMask();
    TCustomDIBX* s = Shown();
    if (!mask || !s) return true;
    std::int64_t u = 0, v = 0;
    if (angle_ % 256 != 0) {
        // Turned back about the anchor the way the draw maps its pixels,
        // so the hit follows exactly the pixels shown.
        std::int32_t column = 0, row = 0;
        if (!RotatedSourcePixel(PictureAt(s, nullptr), x, y, column, row)) return false;
        u = column;
        v = row;
    } else {
        // Explicit sizes map through the displayed size, zooms through the zoom.
        auto toSource = [](std::int64_t d, std::int32_t zoom, std::int32_t shown, std::int32_t src) -> std::int64_t {
            if (zoom > 0) return d * 256 / zoom;
            return shown > 0 ? d * src / shown : -1;
        };
        u = toSource(std::int64_t{x} - ScreenX(), zoomX_, GetWidth(), s->Width());
        v = toSource(std::int64_t{y} - ScreenY(), zoomY_, GetHeight(), s->Height());
        if (flipH_) u = s->Width() - 1 - u;
        if (flipV_) v = s->Height() - 1 - v;
    }
    if (u < 0 || v < 0 || u >= mask->Width() || v >= mask->Height()) return false;
    return mask->GetPixel(static_cast<int>(u), static_cast<int>(v)) > 127;
}

TVeskControl* TVeskCustomImage::HitTest(std::int32_t x, std::int32_t y, std::uint32_t modes) {
    if (!Showing()) return nullptr;
    const TRect r = HitRect();
    if (x < r.Left || x >= r.Right || y < r.Top || y >= r.Bottom) return nullptr;
    for (int i = ChildCount() - 1; i >= 0; --i)
        if (TVeskControl* hit = Child(i)->HitTest(x, y, modes)) return hit;
    const std::int32_t mode = GetIgnoreMouse();
    if (mode >= 32 || (modes >> mode & 1) == 0) return nullptr;
    if (captureMask_ && !MaskHit(x, y)) return nullptr;
    return this;
}

void TVeskCustomImage::Draw(TCustomDIBX& dest) {
    if (GetWidth() >= 1 && GetHeight() >= 1) DrawPicture(dest, PictureAt(Shown(), ShownMask()));
    DrawChildren(dest);
}

void TVeskCustomImage::SaveOwnState(TStream& s) const {
    for (std::int32_t v : {alpha_, zoomX_, angle_}) WriteInt32(s, v);
    WriteFlag(s, flipH_);
    WriteFlag(s, flipV_);
    WriteFlag(s, captureMask_);
    WriteInt32(s, zoomY_);
}

void TVeskCustomImage::LoadOwnState(TStream& s, int version) {
    alpha_ = ReadInt32(s);
    zoomX_ = ReadInt32(s);
    angle_ = ReadInt32(s);
    flipH_ = ReadFlag(s);
    flipV_ = ReadFlag(s);
    captureMask_ = ReadFlag(s);
    // Older games had one zoom for both directions.
    zoomY_ = version > 103 ? ReadInt32(s) : zoomX_;
}

}  // namespace vesk
