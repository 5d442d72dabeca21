#include "components/kinds/vmapimage.h"

#include "archive/vrfiles.h"
#include "common/error.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "components/kinds/picturedraw.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"

namespace vesk {

namespace {

constexpr int VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;

}  // namespace

TVeskMapImage::TVeskMapImage(TVeskBaseList* owner) : TVeskControl(owner) {
    if (owner) owner->AddRClick(this);
}

TVeskMapImage::~TVeskMapImage() {
    if (Owner()) Owner()->RemoveRClick(this);
}

void TVeskMapImage::LoadPicture(TPicture& p, const std::string& source) {
    Invalidate();
    p.source = source;
    p.frames.Reset();
    p.cuts.clear();
    p.index = -1;
    p.remain = 0;
    if (!source.empty() && Owner()) {
        p.frames = Owner()->Images().Acquire(source, true);
        p.cuts.resize(static_cast<std::size_t>(p.frames->FrameCount()));
        if (p.frames->FrameCount() > 0) {
            p.index = 0;
            p.remain = p.frames->Frame(0).Delay;
        }
    }
    Invalidate();
}

void TVeskMapImage::SetSource(const std::string& v) {
    LoadPicture(normal_, v);
    const bool any = normal_.frames && normal_.frames->FrameCount() > 0;
    SetWidth(any ? normal_.frames->Width() : 0);
    SetHeight(any ? normal_.frames->Height() : 0);
}

void TVeskMapImage::SetBrightness(const std::int32_t& v) {
    if (v == brightness_) return;
    Change(brightness_, v);
    for (TPicture* p : {&normal_, &hover_})
        for (auto& cut : p->cuts) cut.bright.reset();
}

void TVeskMapImage::SetHoverSource(const std::string& v) { LoadPicture(hover_, v); }

void TVeskMapImage::SetMapSource(const std::string& v) {
    mapSource_ = v;
    InvalidateRegion(current_);
    current_ = -1;
    regions_.clear();
    // A missing or damaged map gives an image without choices.
    if (v.empty() || !VrFileManager().Exists(v)) return;
    try {
        TMemoryStream data;
        VrFileManager().Read(v, data);
        regions_ = ReadMapFile(data);
    } catch (const EVeskError&) {
        regions_.clear();
    }
}

std::vector<std::string> TVeskMapImage::RegionArgs(std::int32_t index) const {
    return {regions_[static_cast<std::size_t>(index)].Name, std::to_string(index)};
}

void TVeskMapImage::InvalidateRegion(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(regions_.size()) || !Showing()) return;
    TVeskBase* base = OwnerBase();
    if (!base) return;
    TRect r = regions_[static_cast<std::size_t>(index)].BoundingBox();
    r = Intersect(ClampedBounds(std::int64_t{r.Left} + ScreenX(), std::int64_t{r.Top} + ScreenY(), std::int64_t{r.Right} - r.Left, std::int64_t{r.Bottom} - r.Top),
                  HitRect());
    if (Parent()) r = Intersect(r, Parent()->HitRect());
    base->AddDirty(r);
}

void TVeskMapImage::SetCurrentRegion(std::int32_t index) {
    if (index < -1 || index >= static_cast<std::int32_t>(regions_.size())) index = -1;
    if (index == current_) return;
    const std::int32_t old = current_;
    if (old >= 0 && !suppress_) RaiseEvent(onMapOut_, PR_ONMAPOUT, RegionArgs(old), false);
    InvalidateRegion(old);
    current_ = index;
    if (hover_.frames && hover_.frames->FrameCount() > 0) {
        hover_.index = 0;
        hover_.remain = hover_.frames->Frame(0).Delay;
    }
    InvalidateRegion(current_);
    if (current_ >= 0 && !suppress_) RaiseEvent(onMapIn_, PR_ONMAPIN, RegionArgs(current_), false);
}

void TVeskMapImage::MouseMoved() {
    if (closing_ == kOpen) {
        const TVeskBase* base = OwnerBase();
        const auto x = static_cast<std::int32_t>(std::clamp<std::int64_t>(
            base ? std::int64_t{base->Mouse.X} - ScreenX() : 0, INT32_MIN, INT32_MAX));
        const auto y = static_cast<std::int32_t>(std::clamp<std::int64_t>(
            base ? std::int64_t{base->Mouse.Y} - ScreenY() : 0, INT32_MIN, INT32_MAX));
        std::int32_t found = -1;
        for (std::size_t i = 0; i < regions_.size() && found < 0; ++i)
            if (regions_[i].Contains(x, y)) found = static_cast<std::int32_t>(i);
        SetCurrentRegion(found);
    }
    TVeskControl::MouseMoved();
}

void TVeskMapImage::MouseOut() {
    SetCurrentRegion(-1);
    TVeskControl::MouseOut();
}

void TVeskMapImage::Select() {
    const std::int32_t i = current_;
    if (Owner()) Owner()->SetSelection(regions_[static_cast<std::size_t>(i)].Name, i);
    if (!suppress_ && !(Owner() && Owner()->IsWaiting(*this, PR_ONSELECT)))
        RaiseEvent(onSelect_, PR_ONSELECT, RegionArgs(i), false);
    if (autoScrap_) RequestClose();
}

void TVeskMapImage::RequestClose() {
    if (closing_ == kOpen) closing_ = kCloseRequested;
}

void TVeskMapImage::MouseLeftDown() {
    const std::int32_t mode = GetIgnoreMouse();
    if ((mode == IM_NONE || mode == IM_RCLICK) && !paused_ && closing_ == kOpen && current_ >= 0) Select();
    TVeskControl::MouseLeftDown();
}

void TVeskMapImage::KeyDown() {
    TInputState* in = Owner() ? Owner()->Input() : nullptr;
    if (in && closing_ == kOpen) {
        if (current_ >= 0 && (in->KeyClick(VK_RETURN) || in->KeyClick(VK_SPACE))) Select();
        else if (rClickScrap_ && in->KeyClick(VK_ESCAPE)) {
            if (Owner()) Owner()->SetSelection({}, -1);
            RequestClose();
        }
    }
    TVeskControl::KeyDown();
}

void TVeskMapImage::KeyRepeat() {
    TInputState* in = Owner() ? Owner()->Input() : nullptr;
    const auto n = static_cast<std::int32_t>(regions_.size());
    if (in && closing_ == kOpen && n > 0) {
        if (in->KeyRepeat(VK_UP) || in->KeyRepeat(VK_LEFT))
            SetCurrentRegion(current_ <= 0 ? n - 1 : current_ - 1);
        else if (in->KeyRepeat(VK_DOWN) || in->KeyRepeat(VK_RIGHT))
            SetCurrentRegion(current_ < 0 || current_ >= n - 1 ? 0 : current_ + 1);
    }
    TVeskControl::KeyRepeat();
}

bool TVeskMapImage::RClickDestroy() {
    const std::int32_t mode = GetIgnoreMouse();
    if ((mode != IM_NONE && mode != IM_LCLICK) || closing_ != kOpen) return false;
    suppress_ = true;
    if (Owner()) Owner()->SetSelection({}, -1);
    RequestClose();
    return true;
}

bool TVeskMapImage::Advance(TPicture& p, std::int32_t elapsedMs) {
    if (!p.frames || p.index < 0 || p.index >= p.frames->FrameCount()) return false;
    const std::int32_t count = p.frames->FrameCount();
    const std::int32_t before = p.index;
    if (p.remain > 0) p.remain -= elapsedMs;
    while (p.remain < 1) {
        p.index = (p.index + 1) % count;
        if (p.index == 0) p.remain = 0;  // a wrap drops the leftover time
        p.remain += p.frames->Frame(p.index).Delay;
    }
    return p.index != before;
}

bool TVeskMapImage::Update(std::int32_t elapsedMs) {
    if (closing_ == kClosing) return true;
    if (closing_ == kCloseRequested) {
        closing_ = kClosing;
        suppress_ = true;
        return false;
    }
    if (GetAniPaused()) return false;
    if (Advance(normal_, elapsedMs)) Invalidate();
    if (current_ >= 0 && Advance(hover_, elapsedMs)) InvalidateRegion(current_);
    return false;
}

TDIBX* TVeskMapImage::CutMask(TPicture& p, bool inside) {
    const TFenkItemFrame& f = p.frames->Frame(p.index);
    TPicture::TCut& cut = p.cuts.at(static_cast<std::size_t>(p.index));
    if (cut.mask && cut.region == current_) return cut.mask.get();
    // A frame without a mask of its own is opaque: the cut alone decides.
    const TDIBX* own = f.Mask.get();
    const int w = f.Surface->Width(), h = f.Surface->Height();
    if (!cut.mask) cut.mask = std::make_unique<TDIBX>(w, h, 8);
    const TMapRegion* region = current_ >= 0 ? &regions_[static_cast<std::size_t>(current_)] : nullptr;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool in = region && region->Contains(x, y);
            const TPixel m = !own ? 255 : x < own->Width() && y < own->Height() ? own->GetPixel(x, y) : 0;
            cut.mask->SetPixel(x, y, in == inside ? m : 0);
        }
    cut.region = current_;
    return cut.mask.get();
}

TRect TVeskMapImage::ShownRect(const TCustomDIBX& surface) const {
    // The control's size is the normal picture's unless a script or a
    // saved game set another: both pictures are stretched by that ratio.
    const std::int64_t nw = normal_.frames ? normal_.frames->Width() : 0;
    const std::int64_t nh = normal_.frames ? normal_.frames->Height() : 0;
    const std::int64_t w = nw > 0 ? std::int64_t{surface.Width()} * GetWidth() / nw : surface.Width();
    const std::int64_t h = nh > 0 ? std::int64_t{surface.Height()} * GetHeight() / nh : surface.Height();
    return ClampedBounds(ScreenX(), ScreenY(), w, h);
}

void TVeskMapImage::DrawFrame(TCustomDIBX& dest, TPicture& p, bool inside) {
    if (!p.frames || p.index < 0 || p.index >= p.frames->FrameCount()) return;
    const TFenkItemFrame& f = p.frames->Frame(p.index);
    TPictureDraw d;
    d.Surface = f.Surface.get();
    if (brightness_ != 0) {
        auto& bright = p.cuts.at(static_cast<std::size_t>(p.index)).bright;
        if (!bright) bright = BrightnessCopy(*f.Surface, brightness_);
        d.Surface = bright.get();
    }
    d.Mask = CutMask(p, inside);
    d.Dest = ShownRect(*f.Surface);
    d.Alpha = alpha_;
    DrawPicture(dest, d);
}

void TVeskMapImage::Draw(TCustomDIBX& dest) {
    if (alpha_ >= 1 && alpha_ < 512) {
        DrawFrame(dest, normal_, false);
        if (current_ >= 0) DrawFrame(dest, hover_, true);
    }
    DrawChildren(dest);
}

void TVeskMapImage::ReleaseSurfaces() {
    for (TPicture* p : {&normal_, &hover_})
        for (auto& cut : p->cuts) {
            cut.region = -2;
            cut.bright.reset();
        }
}

void TVeskMapImage::SaveOwnState(TStream& s) const {
    WriteString(s, normal_.source);
    WriteString(s, hover_.source);
    WriteString(s, mapSource_);
    WriteInt32(s, alpha_);
    WriteInt32(s, brightness_);
    WriteString(s, onMapIn_);
    WriteString(s, onMapOut_);
    WriteFlag(s, autoScrap_);
    WriteFlag(s, rClickScrap_);
    WriteString(s, onIdle_);
    WriteFlag(s, paused_);
    WriteString(s, onSelect_);
    WriteInt32(s, closing_);
}

void TVeskMapImage::LoadOwnState(TStream& s, int version) {
    const std::string source = ReadString(s), hover = ReadString(s), map = ReadString(s);
    alpha_ = ReadInt32(s);
    brightness_ = ReadInt32(s);
    onMapIn_ = ReadString(s);
    onMapOut_ = ReadString(s);
    autoScrap_ = ReadFlag(s);
    rClickScrap_ = ReadFlag(s);
    onIdle_.clear();
    onSelect_.clear();
    paused_ = false;
    if (version > 103) {
        onIdle_ = ReadString(s);
        paused_ = ReadFlag(s);
        onSelect_ = ReadString(s);
    }
    closing_ = version > 114 ? ReadInt32(s) : kOpen;
    if (closing_ != kOpen && closing_ != kCloseRequested && closing_ != kClosing) closing_ = kOpen;
    suppress_ = closing_ == kClosing;
    const std::int32_t width = GetWidth(), height = GetHeight();
    SetSource(source);
    SetHoverSource(hover);
    SetMapSource(map);
    SetWidth(width);
    SetHeight(height);
}

}  // namespace vesk
