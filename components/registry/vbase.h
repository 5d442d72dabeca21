#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/objects/objectid.h"
#include "components/objects/vcontrol.h"
#include "components/registry/cliplist.h"
#include "gfx/dibx.h"

namespace vesk {

// Capture bits of a base's mouse state.
inline constexpr std::uint8_t kCaptureLeft = 4;
inline constexpr std::uint8_t kCaptureRight = 8;

// The mouse as one screen base sees it. The latches hold this frame's
// presses until a control consumes them.
struct TBaseMouse {
    std::int32_t X = 0, Y = 0;
    bool LeftPress = false, RightPress = false;
    bool WheelDown = false, WheelUp = false;
    bool LeftHeld = false, RightHeld = false;
    bool Moved = false;
    std::uint8_t Capture = 0;
    TObjectId Hover = kNoObject;  // also the captured control
};

// A screen base: the root of one of the two control trees, named with 0x01
// and "BASE0" / "BASE1". It reports LT_NONE and is never addressed by
// scripts. It owns the surface its tree is drawn into and the list of the
// areas that need drawing.
class TVeskBase final : public TVeskControl {
public:
    TVeskBase(TVeskBaseList* owner, int number);
    int Number() const { return number_; }
    // The bases are the roots: they never take a parent.
    void SetParent(TVeskControl*) override {}
    bool IsBase() const override { return true; }

    // nullptr until the first draw pass and between a release and a reload
    // of the surfaces.
    TCustomDIBX* Surface() const { return surface_.get(); }
    // Creates the surface, or resizes it, at the base's size.
    void MakeSurface(int bitCount);
    void ReleaseSurface() { surface_.reset(); }

    TClipList& Dirty() { return dirty_; }
    const TClipList& Dirty() const { return dirty_; }
    // A rectangle in base coordinates, cut to the base's size.
    void AddDirty(const TRect& r);
    void InvalidateAll();
    // For each dirty rectangle: clip to it, fill with PR_COLOR unless
    // negative, draw the children.
    void Draw(TCustomDIBX& dest) override;

    TBaseMouse Mouse;
    // The cursor file chosen for the control under the mouse ("" = the
    // platform's default cursor). The window shows it.
    const std::string& CursorName() const { return cursorName_; }
    void SetCursorName(const std::string& name) { cursorName_ = name; }
    // A consumed click: the latch and the scripts' click state both forget it.
    void ConsumeLeftPress();
    void ConsumeRightPress();

private:
    int number_;
    std::unique_ptr<TDIBX> surface_;
    TClipList dirty_;
    std::string cursorName_;
};

}  // namespace vesk
