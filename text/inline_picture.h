#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vesk {

class TCustomDIBX;

// One frame of an inline image as the owner's image cache holds it: the
// surface (its TransparentColor is the frame's colour key, -1 none), an
// optional 8-bit mask of the surface's geometry and how long it shows.
struct TInlineFrame {
    TCustomDIBX* Surface = nullptr;
    TCustomDIBX* Mask = nullptr;
    std::int32_t Delay = 1;  // milliseconds
};

// A picture shown inside text, kept loaded while its glyph holds it.
class TInlinePicture {
public:
    virtual ~TInlinePicture() = default;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    virtual int FrameCount() const = 0;
    // Frame i, 0 <= i < FrameCount(); its surface may be null while the
    // surfaces are released.
    virtual TInlineFrame Frame(int i) const = 0;
    // Around a display-mode change the surfaces are dropped and made again
    // at the new depth.
    virtual void ReleaseSurfaces() = 0;
    virtual void ReloadSurfaces() = 0;
};

// Where inline images come from: the image cache of the component layer,
// which reads pictures through the virtual files. Text only asks by name.
class TInlinePictureSource {
public:
    virtual ~TInlinePictureSource() = default;
    // The picture of a file name (Shift-JIS); nullptr when there is no such
    // picture, which leaves its glyph empty.
    virtual std::unique_ptr<TInlinePicture> Open(const std::string& name) = 0;
};

}  // namespace vesk
