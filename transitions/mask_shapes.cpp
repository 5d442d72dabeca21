#include "transitions/mask_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vesk::wipe {

namespace {

// Whole pixel columns lo .. hi - 1; empty when hi <= lo.
struct TSpan {
    double lo, hi;
};

constexpr TSpan kNone{0, 0};

TSpan Meet(TSpan a, TSpan b) { return TSpan{std::max(a.lo, b.lo), std::min(a.hi, b.hi)}; }

// The columns of row offset py (from the centre) whose centres lie in the
// disc; none when the row misses it.
TSpan DiscSpan(double cx, double py, double r) {
    const double q = r * r - py * py;
    if (q < 0) return kNone;
    const double half = std::sqrt(q);
    return TSpan{std::ceil(cx - half - 0.5), std::floor(cx + half - 0.5) + 1};
}

// The columns whose centre offset px = x + 0.5 - cx meets a * px + c >= 0.
TSpan HalfPlane(double a, double c, double cx, double width) {
    if (a == 0) return c >= 0 ? TSpan{0, width} : kNone;
    const double t = -c / a + cx - 0.5;
    return a > 0 ? TSpan{std::ceil(t), width} : TSpan{0, std::floor(t) + 1};
}

void FillSpan(std::uint8_t* row, TSpan s, int width, std::uint8_t value) {
    const double lo = std::max(s.lo, 0.0), hi = std::min(s.hi, double(width));
    if (hi > lo) std::memset(row + int(lo), value, std::size_t(int(hi) - int(lo)));
}

}  // namespace

void FillPie(TDIBX& mask, double cx, double cy, double r, double from, double sweep, std::uint8_t value) {
    constexpr double kTurn = 2 * std::numbers::pi;
    if (!(sweep > 0)) return;
    const int w = mask.Width();
    const double to = from + sweep;
    // Points at angles from .. from + pi lie left of the ray at `from`
    // (cross product >= 0), points at to - pi .. to right of the ray at
    // `to`. A sector up to half a turn is where both hold, a wider one
    // where either does.
    const double sa = std::sin(from), ca = std::cos(from), sb = std::sin(to), cb = std::cos(to);
    const bool whole = sweep >= kTurn, narrow = sweep <= std::numbers::pi;
    for (int y = 0; y < mask.Height(); ++y) {
        const double py = y + 0.5 - cy;
        const TSpan disc = DiscSpan(cx, py, r);
        if (disc.hi <= disc.lo) continue;
        std::uint8_t* row = mask.ScanLine(y);
        if (whole) {
            FillSpan(row, disc, w, value);
            continue;
        }
        const TSpan a = HalfPlane(-sa, ca * py, cx, w), b = HalfPlane(sb, -cb * py, cx, w);
        if (narrow) {
            FillSpan(row, Meet(Meet(a, b), disc), w, value);
        } else {
            FillSpan(row, Meet(a, disc), w, value);
            FillSpan(row, Meet(b, disc), w, value);
        }
    }
}

void FillDisc(TDIBX& mask, double cx, double cy, double r, std::uint8_t value) {
    const int w = mask.Width();
    for (int y = 0; y < mask.Height(); ++y) {
        const TSpan disc = DiscSpan(cx, y + 0.5 - cy, r);
        if (disc.hi > disc.lo) FillSpan(mask.ScanLine(y), disc, w, value);
    }
}

}  // namespace vesk::wipe
