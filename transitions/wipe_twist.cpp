#include "transitions/wipe_twist.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "gfx/stretch_map.h"
#include "transitions/locked_frames.h"
#include "transitions/wipe_math.h"

namespace vesk {

// Both kinds write the lines themselves, on the rules of the nearest-pixel
// stretch (the stretch map of the surfaces): a stretch call per line, and
// for columns one per pixel of the line, would cost far more than the
// pixels.

namespace {

constexpr double kPi = std::numbers::pi;

// The state of line `count` of `lines` at turn angle phi: not started
// (e < 0), turning (0 <= e < pi, squeezed to cos e of its length, negative
// when the new picture shows), or done.
struct TSlat {
    enum { Waiting, Turning, Done } state;
    std::int64_t squeezed;

    TSlat(double phi, int count, int lines, int length) : squeezed(0) {
        const double e = phi - (double(count) / lines) * kPi / 2;
        state = e < 0 ? Waiting : e < kPi ? Turning : Done;
        if (state == Turning) squeezed = wipe::Round(std::cos(e) * length);
    }
};

template <class P>
void TwistRows(const TCustomWipe& w, const wipe::TLockedFrames& f, double phi, int& done) {
    const int width = w.Width(), height = w.Height();
    const TRect bounds{0, 0, width, height};
    pixel::StretchMap map;
    for (int count = 0; count < height; ++count) {
        const int row = w.Flag ? height - 1 - count : count;
        const TSlat slat(phi, count, height, width);
        if (slat.state == TSlat::Done) done = row;
        if (slat.state != TSlat::Turning) continue;
        P* d = f.Target<P>(row);
        std::memset(d, 0, std::size_t(width) * sizeof(P));
        const int n = int(std::abs(slat.squeezed));
        if (n == 0) continue;
        const int x = (width - n) / 2;
        if (!pixel::BuildStretchMap(TRect{x, row, x + n, row + 1}, TRect{0, row, width, row + 1}, bounds, false,
                                    false, bounds, map))
            continue;
        const P* s = slat.squeezed > 0 ? f.Old<P>(row) : f.New<P>(row);
        for (int i = 0; i < map.dest.Width(); ++i) d[map.dest.Left + i] = s[map.cols[std::size_t(i)]];
    }
}

template <class P>
void TwistColumns(const TCustomWipe& w, const wipe::TLockedFrames& f, double phi, int& done) {
    const int width = w.Width(), height = w.Height();
    const TRect bounds{0, 0, width, height};
    pixel::StretchMap map;
    for (int count = 0; count < width; ++count) {
        const int col = w.Flag ? width - 1 - count : count;
        const TSlat slat(phi, count, width, height);
        if (slat.state == TSlat::Done) done = col;
        if (slat.state != TSlat::Turning) continue;
        const int n = int(std::abs(slat.squeezed)), a = (height - n) / 2;
        // Black above and below the squeezed column, 2a + n rows in all.
        for (int y = 0; y < a; ++y) f.Target<P>(y)[col] = 0;
        for (int y = a + n; y < 2 * a + n; ++y) f.Target<P>(y)[col] = 0;
        if (n == 0 || !pixel::BuildStretchMap(TRect{col, a, col + 1, a + n}, TRect{col, 0, col + 1, height}, bounds,
                                              false, false, bounds, map))
            continue;
        const bool fromNew = slat.squeezed < 0;
        for (int j = 0; j < map.dest.Height(); ++j) {
            const int row = map.SourceRow(j);
            if (row >= 0) f.Target<P>(map.dest.Top + j)[col] = (fromNew ? f.New<P>(row) : f.Old<P>(row))[col];
        }
    }
}

template <class P>
int Twist(const TCustomWipe& w, bool columns, double phi) {
    int done = -1;
    const wipe::TLockedFrames frames(w);
    if (!frames) return done;
    if (columns) TwistColumns<P>(w, frames, phi, done);
    else TwistRows<P>(w, frames, phi, done);
    return done;
}

// The turns, then the lines that are done, from the new picture.
void TwistStep(TCustomWipe& w, bool columns) {
    const double phi = w.Progress() * (3 * kPi / 2);
    const int done = w.Target->BitCount() == 32 ? Twist<std::uint32_t>(w, columns, phi)
                                                : Twist<std::uint16_t>(w, columns, phi);
    if (done < 0) return;
    const int lines = columns ? w.Width() : w.Height();
    const int from = w.Flag ? done : 0, to = w.Flag ? lines : done + 1;
    const TRect part = columns ? TRect{from, 0, to, w.Height()} : TRect{0, from, w.Width(), to};
    w.Target->AddClip(w.Target->BoundsRect());
    w.Target->Draw(part.Left, part.Top, false, false, false, part, *w.New);
}

}  // namespace

bool TWipeTwistH::Step() {
    if (!BeginStep()) return true;
    TwistStep(*this, false);
    return false;
}

bool TWipeTwistV::Step() {
    if (!BeginStep()) return true;
    TwistStep(*this, true);
    return false;
}

}  // namespace vesk
