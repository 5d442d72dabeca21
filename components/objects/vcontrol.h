#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <vector>

#include "components/objects/vcomponent.h"
#include "components/objects/vmotion.h"
#include "gfx/rect.h"

namespace vesk {

class TCustomDIBX;
class TVeskBase;

// A rectangle from a position and a size that saved games or scripts may
// push past the 32-bit range: the edges are clamped, not wrapped, and kept
// within +-2^30 so that a width or height still fits 32 bits.
inline constexpr std::int64_t kCoordLimit = 0x3FFFFFFF;
inline TRect ClampedBounds(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    auto c = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp(v, -kCoordLimit, kCoordLimit)); };
    return TRect{c(left), c(top), c(left + width), c(top + height)};
}

// Bits of the input-mode sets of the hit test: bit n stands for input mode n.
inline constexpr std::uint32_t kHitLeftPress = 17;   // IM_NONE, IM_RCLICK
inline constexpr std::uint32_t kHitRightPress = 9;   // IM_NONE, IM_LCLICK
inline constexpr std::uint32_t kHitNoPress = 29;     // IM_NONE, IM_CLICK, IM_LCLICK, IM_RCLICK

// A visible, positioned component with a parent and children: the base of
// every visible kind, of the cabinet and of the screen bases. Children are
// owned through the registry, which destroys a control's subtree with it;
// here they are kept in sibling order (drawn first to last).
class TVeskControl : public TVeskComponent {
public:
    using TVeskComponent::TVeskComponent;
    ~TVeskControl() override;

    bool IsControl() const override { return true; }
    TVeskControl* AsControl() override { return this; }

    TVeskControl* Parent() const override { return parent_; }
    // Ignored when parent is the current one, is this control or lies inside
    // it (a control cannot become its own ancestor).
    void SetParent(TVeskControl* parent) override;
    int ChildCount() const { return static_cast<int>(children_.size()); }
    TVeskControl* Child(int index) const { return children_.at(static_cast<std::size_t>(index)); }
    // Whether obj is this control or one of its descendants.
    bool Contains(const TVeskObject* obj) const;
    // Sibling order: the name 0x01 0x01 last, other system names first, then
    // by priority plus offset, ties by name byte-wise.
    void SortChildren();

    std::int32_t GetLeft() const override { return left_; }
    void SetLeft(const std::int32_t& v) override { Change(left_, v); }
    std::int32_t GetTop() const override { return top_; }
    void SetTop(const std::int32_t& v) override { Change(top_, v); }
    std::int32_t GetWidth() const override { return width_; }
    void SetWidth(const std::int32_t& v) override { Change(width_, v); }
    std::int32_t GetHeight() const override { return height_; }
    void SetHeight(const std::int32_t& v) override { Change(height_, v); }
    std::int32_t GetOffsetX() const override { return offsetX_; }
    void SetOffsetX(const std::int32_t& v) override { Change(offsetX_, v); }
    std::int32_t GetOffsetY() const override { return offsetY_; }
    void SetOffsetY(const std::int32_t& v) override { Change(offsetY_, v); }
    std::int32_t GetColor() const override { return color_; }
    void SetColor(const std::int32_t& v) override { Change(color_, v); }
    bool GetVisible() const override { return visible_; }
    // Whether the control takes part in drawing, hit tests and focus: a
    // cabinet never does, whatever PR_VISIBLE says.
    bool Showing() const { return visible_ && !IsCabinet(); }
    // Hiding drops the focus held inside; showing asks for a focus when
    // nobody has one.
    void SetVisible(const bool& v) override;
    bool GetPosZoomed() const override { return posZoomed_; }
    void SetPosZoomed(const bool& v) override { Change(posZoomed_, v); }
    std::int32_t GetPlusX() const override { return plusX_; }
    void SetPlusX(const std::int32_t& v) override { Change(plusX_, v); }
    std::int32_t GetPlusY() const override { return plusY_; }
    void SetPlusY(const std::int32_t& v) override { Change(plusY_, v); }
    std::int32_t GetClipLeft() const override { return clip_[0]; }
    void SetClipLeft(const std::int32_t& v) override { Change(clip_[0], v); }
    std::int32_t GetClipTop() const override { return clip_[1]; }
    void SetClipTop(const std::int32_t& v) override { Change(clip_[1], v); }
    std::int32_t GetClipWidth() const override { return clip_[2]; }
    void SetClipWidth(const std::int32_t& v) override { Change(clip_[2], v); }
    std::int32_t GetClipHeight() const override { return clip_[3]; }
    void SetClipHeight(const std::int32_t& v) override { Change(clip_[3], v); }
    // The input mode is kept in a byte, as it is saved.
    std::int32_t GetIgnoreMouse() const override { return inputMode_; }
    void SetIgnoreMouse(const std::int32_t& v) override { inputMode_ = static_cast<std::uint8_t>(v); }
    std::string GetCursor() const override { return cursor_; }
    void SetCursor(const std::string& v) override { cursor_ = v; }
    bool GetAniPaused() const override { return aniPaused_; }
    void SetAniPaused(const bool& v) override { aniPaused_ = v; }
    bool GetHandleKey() const override { return handleKey_; }
    void SetHandleKey(const bool& v) override;
    // Playing while a motion runs that has not ended, unless paused.
    bool GetPlaying() const override;

    // The event pages, in the order a saved game stores them.
#define VESK_CONTROL_EVENT(Name, slot)                                         \
    std::string Get##Name() const override { return events_[slot]; }           \
    void Set##Name(const std::string& v) override { events_[slot] = v; }
    VESK_CONTROL_EVENT(OnMouseMove, 0)
    VESK_CONTROL_EVENT(OnMouseIn, 1)
    VESK_CONTROL_EVENT(OnMouseOut, 2)
    VESK_CONTROL_EVENT(OnLBtnDown, 3)
    VESK_CONTROL_EVENT(OnLBtnUp, 4)
    VESK_CONTROL_EVENT(OnRBtnDown, 5)
    VESK_CONTROL_EVENT(OnRBtnUp, 6)
    VESK_CONTROL_EVENT(OnWheelDown, 7)
    VESK_CONTROL_EVENT(OnWheelUp, 8)
    VESK_CONTROL_EVENT(OnKeyDown, 9)
    VESK_CONTROL_EVENT(OnKeyUp, 10)
    VESK_CONTROL_EVENT(OnKeyRepeat, 11)
    VESK_CONTROL_EVENT(OnFocusIn, 12)
    VESK_CONTROL_EVENT(OnFocusOut, 13)
#undef VESK_CONTROL_EVENT

    // ---- Placement. ----
    // Screen position of the origin: anchor offset (scaled by the zoom,
    // mirrored by the flip), left or the motion position, the parent's
    // position less its scroll, plus PR_PLUSX / PR_PLUSY.
    virtual std::int32_t ScreenX() const;
    virtual std::int32_t ScreenY() const;
    // The top-left corner relative to the parent, as tiles, particles and
    // text layout place their children.
    std::int32_t ParentRelX() const;
    std::int32_t ParentRelY() const;
    TRect ScreenBounds() const { return ClampedBounds(ScreenX(), ScreenY(), GetWidth(), GetHeight()); }
    // Also the area the control draws in: the draw pass passes over a
    // control (and its children) whose hit rectangle misses the clip.
    virtual TRect HitRect() const { return ScreenBounds(); }
    // The clip window on the screen; empty when clip width or height is
    // below 1 (no clip).
    bool HasClip() const { return clip_[2] >= 1 && clip_[3] >= 1; }
    TRect ClipRectangle() const;
    // The picture shown by image kinds (its size is the source size of a
    // PR_POSZOOMED child); nullptr for the others.
    virtual const TCustomDIBX* ImageSurface() const { return nullptr; }
    // The base at the root of the tree, or nullptr when the control hangs
    // nowhere.
    TVeskBase* OwnerBase() const;
    bool OnActiveBase() const;
    virtual bool IsBase() const { return false; }
    virtual bool IsCabinet() const { return false; }
    // Whether an ancestor is a cabinet: such controls are stored away, get
    // no events and no updates.
    bool InsideCabinet() const;

    // ---- Drawing. ----
    // Reports the control's area to its base's dirty list.
    void Invalidate() override;
    // A descendant's dirty rectangle passes through each ancestor on its
    // way to the base (a wave surface widens it by its amplitude).
    virtual void AdjustDirtyRect(TRect&) const {}
    // Draws into dest within dest's clip: the kind's own content, then the
    // children.
    virtual void Draw(TCustomDIBX& dest) { DrawChildren(dest); }
    // Each visible child clipped to this control's rectangle and its own
    // clip window, in sibling order.
    void DrawChildren(TCustomDIBX& dest);
    // The screen area the control draws in: its hit rectangle cut to its
    // clip window.
    TRect DrawnArea() const;
    // Draws child with the clip set to area (the parent's rectangle within
    // the surface clip) cut to the child's clip window; nothing when the
    // child's drawn area misses area.
    static void DrawChild(TCustomDIBX& dest, TVeskControl& child, const TRect& area, const TRect& drawn);

    // ---- Input. ----
    // The topmost control at (x, y) whose input mode is in modes (see
    // kHitLeftPress …), children before the control itself.
    virtual TVeskControl* HitTest(std::int32_t x, std::int32_t y, std::uint32_t modes);
    virtual void MouseLeftDown();
    virtual void MouseLeftUp();
    virtual void MouseRightDown();
    virtual void MouseRightUp();
    virtual void MouseMoved();
    virtual void MouseIn();
    virtual void MouseOut();
    // Every frame while the control holds the mouse capture.
    virtual void CapturedUpdate() {}
    virtual void KeyDown();
    virtual void KeyRepeat();
    virtual void KeyUp();
    // The deepest visible control with PR_HANDLEKEY, last child first.
    TVeskControl* FindFocusable();
    virtual void FocusReceived() {}
    // Kinds in the registry's right-click list destroy themselves on a
    // right click; true when this one did.
    virtual bool RClickDestroy() { return false; }
    // While true (a closing selection), no script events are queued.
    virtual bool SuppressesEvents() const { return false; }
    // The cursor file shown over the control.
    virtual std::string CursorFile() const { return cursor_; }
    // Told when the control moves into or out of a cabinet.
    virtual void EnteredCabinet() {}
    virtual void LeftCabinet() {}

    // ---- Update and motion. ----
    // Advances the motion; asks for destruction (PR_AUTOSCRAP) or queues
    // PR_ONPLAYEND when it has just ended.
    bool Update(std::int32_t elapsedMs) override;
    bool HasMotion() const { return motion_ != nullptr; }
    TVeskMotion* Motion() const { return motion_.get(); }
    // Binds the motion file through the registry's motion factory; without
    // one (or when the file cannot be played) the control has no motion.
    void StartMotion(const std::string& file);
    // Drops the motion: motion position and priority offset return to 0.
    void StopMotion();
    // Display changes: kinds drop and rebuild their own surfaces.
    virtual void ReleaseSurfaces() {}
    virtual void ReloadSurfaces() {}

    // One direction of the placement: position, anchor offset, zoom, size,
    // motion position, plus, flip, POSZOOMED, whether a motion runs.
    struct TAxis {
        std::int32_t pos, offset, zoom, size, motion, plus;
        bool flip, posZoomed, hasMotion;
    };

    // Position supplied by a running motion (timelines set it).
    std::int32_t MotionX() const { return motionX_; }
    std::int32_t MotionY() const { return motionY_; }
    void SetMotionPos(std::int32_t x, std::int32_t y);
    // A rectangle kept and saved with the control; (0, 0, 1, 1) at creation.
    const std::array<std::int32_t, 4>& Rect() const { return rect_; }
    void SetRect(const std::array<std::int32_t, 4>& r) { rect_ = r; }

    // The object part, the control part, the kind's own fields
    // (SaveOwnState / LoadOwnState), then the children.
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s, int version) override;

protected:
    // Fields a kind appends after the control part, before the children.
    virtual void SaveOwnState(TStream&) const {}
    virtual void LoadOwnState(TStream&, int) {}
    void OrderChanged() override;
    // Mouse position relative to the control, as event arguments.
    std::vector<std::string> MouseArgs() const;
    // Invalidates, changes, invalidates: what every geometric setter does.
    template <typename T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        Invalidate();
        field = value;
        Invalidate();
    }

private:
    friend class TVeskBaseList;
    bool CanRaise() const { return !GetPaused() && !IsBase() && !SuppressesEvents(); }
    TAxis Axis(bool horizontal) const;
    std::int32_t ScreenPos(bool horizontal) const;
    // The shared part of the left and right button-down handlers.
    void ButtonDown(bool left);
    void LoadChildren(TStream& s, int version);

    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::int32_t offsetX_ = 0, offsetY_ = 0;
    bool visible_ = true;
    TVeskControl* parent_ = nullptr;  // not owned
    std::int32_t color_ = 0;
    std::vector<TVeskControl*> children_;  // owned by the registry
    std::array<std::int32_t, 4> rect_{0, 0, 1, 1};
    // Mouse events (move, in, out, left down/up, right down/up, wheel
    // down/up), then key and focus events (down, up, repeat, focus in/out).
    std::array<std::string, 14> events_;
    std::uint8_t inputMode_ = 0;
    std::string cursor_;
    bool posZoomed_ = false;
    std::array<std::int32_t, 4> clip_{};  // left, top, width, height
    std::int32_t motionX_ = 0, motionY_ = 0;
    std::int32_t plusX_ = 0, plusY_ = 0;
    bool aniPaused_ = false;
    bool handleKey_ = false;
    std::unique_ptr<TVeskMotion> motion_;
};

}  // namespace vesk
