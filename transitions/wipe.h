#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "gfx/rect.h"

namespace vesk {

class TCustomDIBX;
class TWipeMaskSource;

// A screen transition: frame by frame it renders the change from the old
// picture to the new one into the target surface. The caller (the component
// registry, driven by the Flip command or a film) creates it through
// CreateWipe, sets Duration, the flag, the parameters and the mask name,
// calls Prepare once, and then sets Position and calls Step once per drawn
// frame until it decides the switch is over.
//
// The three surfaces are not owned and have the screen size. A step that
// finds them of different sizes or bit counts, of a bit count other than 15,
// 16 or 32, or of another size than when the transition was made, draws
// nothing and answers finished: the tables a kind builds from the size would
// no longer fit them.
class TCustomWipe {
public:
    // Direction or inversion switch; each kind says what it turns (0 is the
    // plain form).
    std::uint8_t Flag = 0;
    // The mask picture of the mask fade, mask white and mask black kinds.
    std::string MaskName;
    TCustomDIBX* Target;
    TCustomDIBX* Old;
    TCustomDIBX* New;
    // Total length and elapsed time in the caller's unit (milliseconds for
    // the Flip command, frames for films).
    std::int32_t Duration = 0;
    std::int32_t Position = 0;
    std::array<std::int32_t, 2> Params{};
    // The area the last step changed: always the whole target.
    TRect UpdateRect{};
    // Where mask names are looked up; none means no mask picture exists.
    TWipeMaskSource* MaskSource = nullptr;

    TCustomWipe(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);
    virtual ~TCustomWipe() = default;
    TCustomWipe(const TCustomWipe&) = delete;
    TCustomWipe& operator=(const TCustomWipe&) = delete;

    // ---- Virtual operations, in slot order. ----
    virtual void SetFlag(std::uint8_t flag);                 // 0
    // Parameter indexes are 0 and 1; any other raises EVeskError.
    virtual std::int32_t GetParam(int index) const;          // 1
    virtual void SetParam(int index, std::int32_t value);    // 2
    virtual void SetMaskName(const std::string& name);       // 3
    // 4 is the constructor.
    virtual void Prepare();                                  // 5
    // Draws the state at Position; answers true (finished, nothing drawn)
    // once Position reaches Duration.
    virtual bool Step();                                     // 6
    virtual void Finish();                                   // 7

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Position within [0, Duration): a negative position draws the first
    // frame. Only meaningful while a step draws.
    std::int32_t Elapsed() const { return Position < 0 ? 0 : Position; }
    // Elapsed() / Duration as a real.
    double Progress() const { return double(Elapsed()) / double(Duration); }

protected:
    // The start of every step: sets UpdateRect and answers whether the step
    // draws (Position below Duration and surfaces the transition can use).
    bool BeginStep();
    int BitCount() const { return bitCount_; }
    // Widens the target's clip to the whole target, as every kind that
    // draws through the surface operations does first.
    void ClipToTarget();
    // Checks that Target, Old and New still match the size and bit count
    // the transition was made for.
    bool SurfacesUsable() const;

    static void CheckParamIndex(int index);

private:
    int width_, height_, bitCount_;
};

}  // namespace vesk
