// Paints the demo game's pictures: every picture the demo shows is drawn
// here, pixel by pixel, and written as a layered image, so the repository
// holds no image files. Usage: vesk_demo_paint OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "common/stream.h"
#include "gfx/fenks.h"

namespace {

using vesk::TDIBSurface;
using vesk::TFenkFrame;
using vesk::TFenkFrameList;

struct TRgb {
    double r, g, b;
};

TRgb Mix(const TRgb& a, const TRgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::uint32_t Native(const TRgb& c) {
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
    return (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

// A pixel shader: colour and coverage (0 transparent, 1 opaque) of (x, y).
using TShader = std::function<void(double x, double y, TRgb& colour, double& alpha)>;

// Adds a 32-bit frame painted by the shader, with an alpha companion when
// withAlpha is set.
void AddFrame(TFenkFrameList& list, int width, int height, bool withAlpha, int delay, const TShader& shade) {
    TFenkFrame& frame = list.AddFrame();
    frame.Delay = delay;
    frame.Image.SetSize(width, height, 32);
    TDIBSurface* alpha = withAlpha ? &frame.Image.CreateAlpha(0) : nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            TRgb colour{0, 0, 0};
            double a = 1;
            shade(x + 0.5, y + 0.5, colour, a);
            frame.Image.SetPixel(x, y, Native(colour));
            if (alpha) alpha->SetPixel(x, y, static_cast<std::uint32_t>(std::clamp(a, 0.0, 1.0) * 255 + 0.5));
        }
}

// Coverage of a disc of radius r around (cx, cy), smoothed over one pixel.
double Disc(double x, double y, double cx, double cy, double r) {
    return std::clamp(r - std::hypot(x - cx, y - cy) + 0.5, 0.0, 1.0);
}

// A cheap repeatable hash for star fields.
double Hash(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

// The title screen: a night sky with stars, a moon and dark hills.
void Title(TFenkFrameList& list) {
    AddFrame(list, 640, 480, false, 100, [](double x, double y, TRgb& c, double&) {
        c = Mix({12, 16, 48}, {96, 40, 110}, y / 480);
        if (Hash(static_cast<int>(x), static_cast<int>(y)) > 0.997) c = Mix(c, {255, 255, 230}, 0.9);
        const double moon = Disc(x, y, 480, 120, 56) - Disc(x, y, 500, 106, 50);
        c = Mix(c, {250, 240, 200}, std::clamp(moon, 0.0, 1.0));
        const double hill = 380 + 30 * std::sin(x / 70) + 14 * std::sin(x / 23 + 1);
        if (y > hill) c = Mix({20, 24, 36}, {8, 10, 16}, (y - hill) / 100);
    });
}

// The second scene: a morning field under a pale sky with a sun.
void Field(TFenkFrameList& list) {
    AddFrame(list, 640, 480, false, 100, [](double x, double y, TRgb& c, double&) {
        c = Mix({150, 200, 255}, {240, 245, 255}, y / 300);
        c = Mix(c, {255, 230, 120}, Disc(x, y, 120, 100, 44));
        const double hill = 330 + 24 * std::sin(x / 90 + 2);
        if (y > hill) c = Mix({90, 170, 70}, {40, 110, 40}, std::min(1.0, (y - hill) / 150));
    });
}

// A glass orb, 64 x 64 with soft edges: frame 0 resting, frame 1 lit (the
// demo switches frames on hover).
void Orb(TFenkFrameList& list, const TRgb& tint) {
    for (int lit = 0; lit < 2; ++lit)
        AddFrame(list, 64, 64, true, 100, [&](double x, double y, TRgb& c, double& a) {
            a = Disc(x, y, 32, 32, 29);
            const double shine = Disc(x, y, 24, 22, 9);
            const double depth = std::hypot(x - 32, y - 32) / 29;
            c = Mix(lit ? Mix(tint, {255, 255, 255}, 0.35) : tint, {10, 10, 30}, depth * 0.6);
            c = Mix(c, {255, 255, 255}, shine * (lit ? 0.9 : 0.5));
            if (lit) a = std::max(a, 0.35 * Disc(x, y, 32, 32, 31.5));
        });
}

// A spinning spark: eight frames of a dot circling, for frame animation.
void Spark(TFenkFrameList& list) {
    for (int f = 0; f < 8; ++f) {
        const double angle = f * 3.14159265358979 / 4;
        AddFrame(list, 32, 32, true, 60, [&](double x, double y, TRgb& c, double& a) {
            const double cx = 16 + 10 * std::cos(angle), cy = 16 + 10 * std::sin(angle);
            a = std::max(Disc(x, y, cx, cy, 5), 0.4 * Disc(x, y, 16, 16, 3));
            c = {255, 220, 120};
        });
    }
}

// The mask of the scene change: grey levels that the mask fade turns over
// from the brightest to the darkest. Brightest at the red orb, darker with
// the distance, with a swirl of four arms so the field opens as a spiral.
void WipeMask(TFenkFrameList& list) {
    AddFrame(list, 640, 480, false, 100, [](double x, double y, TRgb& c, double&) {
        const double dx = x - 264, dy = y - 332;
        const double near = 1 - std::min(1.0, std::hypot(dx, dy) / 620);
        const double swirl = 0.5 + 0.5 * std::sin(4 * std::atan2(dy, dx) + std::hypot(dx, dy) / 40);
        const double level = 255 * std::clamp(0.8 * near + 0.2 * swirl, 0.0, 1.0);
        c = {level, level, level};
    });
}

void Save(TFenkFrameList& list, const std::string& path) {
    vesk::TMemoryStream bytes;
    list.SaveToStream(bytes, vesk::FK_ZLIB, 70);
    const auto size = static_cast<std::size_t>(bytes.Size());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(bytes.Data(), 1, size, f) == size;
    if ((f && std::fclose(f) != 0) || !written) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk_demo_paint OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    try {
        const std::pair<const char*, std::function<void(TFenkFrameList&)>> pictures[] = {
            {"title.fnk", Title},
            {"field.fnk", Field},
            {"orb_red.fnk", [](TFenkFrameList& l) { Orb(l, {220, 60, 70}); }},
            {"orb_blue.fnk", [](TFenkFrameList& l) { Orb(l, {60, 110, 230}); }},
            {"spark.fnk", Spark},
            {"wipe.fnk", WipeMask},
        };
        for (const auto& [name, paint] : pictures) {
            TFenkFrameList list;
            paint(list);
            Save(list, out + name);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vesk_demo_paint: %s\n", e.what());
        return 1;
    }
    return 0;
}
