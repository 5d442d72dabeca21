#pragma once

// Pictures, mask files and runs shared by the transition tests.

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/process_random.h"
#include "common/stream.h"
#include "gfx/colour_tables.h"
#include "gfx/dibsfc.h"
#include "gfx/dibx.h"
#include "gfx/pixel_colour.h"
#include "gfx/pngwrite.h"
#include "transitions/mask_source.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"

namespace vesk::test {

// Platform colour 0x00BBGGRR of red, green and blue.
inline std::int32_t Rgb(int r, int g, int b) { return std::int32_t(r | g << 8 | b << 16); }

// The old picture: blue and green squares of 8 pixels under gradients. Its
// red channel stays below 128 and the new picture's above, so the two
// differ at every pixel at every bit count.
inline std::int32_t OldColour(int x, int y) {
    const bool square = ((x / 8) + (y / 8)) % 2 == 0;
    return square ? Rgb((x * 2) % 128, 60 + (y * 3) % 120, 200) : Rgb(20, 200 - (y * 2) % 100, 90 + (x * 3) % 150);
}

// The new picture: rings of orange and purple around (20, 16).
inline std::int32_t NewColour(int x, int y) {
    const int d2 = (x - 20) * (x - 20) + (y - 16) * (y - 16);
    const bool ring = (d2 / 60) % 2 == 0;
    return ring ? Rgb(240, 140 + (x * 2) % 100, 30) : Rgb(160 + (y * 2) % 90, 40, 150 + (x % 100));
}

inline std::unique_ptr<TDIBX> Picture(int w, int h, int bits, std::int32_t (*colour)(int, int)) {
    auto s = std::make_unique<TDIBX>(w, h, bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s->SetPixel(x, y, TPixel(s->ColorToPixel(colour(x, y))));
    return s;
}

// Mask files served from memory by name.
class TMemoryMaskSource : public TWipeMaskSource {
public:
    std::map<std::string, std::vector<std::uint8_t>> Files;
    std::int32_t Code = 0;

    bool Exists(const std::string& name) override { return Files.count(name) != 0; }
    std::unique_ptr<TStream> Open(const std::string& name) override {
        return std::make_unique<TMemoryStream>(Files.at(name));
    }
    std::int32_t IdCode() const override { return Code; }
};

// A PNG file of a picture given by its platform colours.
template <class Colour>
std::vector<std::uint8_t> PngFile(int w, int h, int bits, Colour&& colour) {
    TDIBSurface image;
    image.SetSize(w, h, bits);
    if (bits == 8) image.SetGreyPalette();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.SetPixel(x, y, image.NativeOf(colour(x, y)));
    TMemoryStream out;
    SavePng(out, image);
    return out.Bytes();
}

// The grey mask picture of the tests: a diagonal ramp, bright in the
// top-left corner, half the golden screen's size so that it repeats.
inline std::int32_t MaskGrey(int x, int y) {
    const int g = 255 - (x * 5 + y * 6) % 256;
    return Rgb(g, g, g);
}

// Three surfaces of one size and bit count with a transition between
// them, set up in the order the registry uses.
struct TWipeRun {
    std::unique_ptr<TDIBX> target, old, nw;
    std::unique_ptr<TCustomWipe> wipe;

    TWipeRun(int w, int h, int bits) : target(Picture(w, h, bits, OldColour)), old(Picture(w, h, bits, OldColour)),
                                       nw(Picture(w, h, bits, NewColour)) {
        // The grey levels of 15- and 16-bit stores follow the screen's bit
        // count, which the run's surfaces stand for.
        BuildColourTables(bits);
    }

    struct TSetup {
        std::int32_t duration = 1000;
        std::uint8_t flag = 0;
        std::optional<std::int32_t> param0, param1;
        std::string maskName;
        TWipeMaskSource* source = nullptr;
        std::uint32_t seed = 7;
    };

    TCustomWipe& Start(int kind, const TSetup& s) {
        ProcessRandom().Seed(s.seed);
        wipe = CreateWipe(kind, *target, *old, *nw);
        wipe->Duration = s.duration;
        wipe->SetFlag(s.flag);
        wipe->Position = 0;
        if (s.param0) wipe->SetParam(0, *s.param0);
        if (s.param1) wipe->SetParam(1, *s.param1);
        wipe->MaskSource = s.source;
        if (!s.maskName.empty()) wipe->SetMaskName(s.maskName);
        wipe->Prepare();
        return *wipe;
    }

    bool StepAt(std::int32_t position) {
        wipe->Position = position;
        return wipe->Step();
    }
};

inline std::vector<std::uint32_t> Pixels(const TCustomDIBX& s) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) out.push_back(s.GetPixel(x, y));
    return out;
}

// Mean absolute difference of the 8-bit colour channels of two surfaces.
inline double Distance(const TCustomDIBX& a, const TCustomDIBX& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const std::uint32_t ca = NativeToColour(a, a.GetPixel(x, y)), cb = NativeToColour(b, b.GetPixel(x, y));
            for (int k = 0; k < 3; ++k) sum += std::abs(int((ca >> (8 * k)) & 0xFF) - int((cb >> (8 * k)) & 0xFF));
        }
    return sum / (3.0 * a.Width() * a.Height());
}

}  // namespace vesk::test
