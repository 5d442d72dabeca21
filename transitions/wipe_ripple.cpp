#include "transitions/wipe_ripple.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "transitions/locked_frames.h"
#include "transitions/wipe_math.h"

namespace vesk {

TWipeRipple::TWipeRipple(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw) : TCustomWipe(target, old, nw) {
    const int cx = std::max(Width(), 0) / 2, cy = std::max(Height(), 0) / 2;
    const std::size_t cells = std::size_t(cx) * std::size_t(cy);
    RingDistance.resize(cells);
    RingCos.resize(cells);
    RingSin.resize(cells);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(cx) + std::size_t(x);
            const double dx = x - cx, dy = y - cy, theta = std::atan2(dy, dx);
            RingDistance[i] = std::uint16_t(wipe::Round(std::sqrt(dx * dx + dy * dy)));
            RingCos[i] = std::int32_t(wipe::Round(65536 * std::cos(theta)));
            RingSin[i] = std::int32_t(wipe::Round(65536 * std::sin(theta)));
        }
    Wave.assign(std::size_t((2 * std::min(cx, cy)) / 3), 0);
    FillWave(5);
}

void TWipeRipple::FillWave(std::int32_t amplitude) {
    const int tooth = Tooth();
    if (tooth < 1) return;
    for (std::size_t i = 0; i < Wave.size(); ++i)
        Wave[i] = std::int32_t(std::int64_t(int(i) % tooth) * amplitude / tooth);
}

void TWipeRipple::SetParam(int index, std::int32_t value) {
    TCustomWipe::SetParam(index, value);
    if (index == 0) FillWave(value);
}

namespace {

template <class P>
void Ripple(const TWipeRipple& r, const wipe::TLockedFrames& f, std::int64_t front) {
    const int w = r.Width(), h = r.Height(), cx = w / 2, cy = h / 2;
    const std::int64_t band = std::int64_t(r.Wave.size());
    // The old picture shows where the front has not arrived (d > front),
    // the new one where the ring has passed (d < front - band + 1).
    const std::int64_t oldBeyond = front, newBelow = front - band + 1;
    for (int y = 0; y < cy; ++y) {
        const std::uint16_t* dist = r.RingDistance.data() + std::size_t(y) * std::size_t(cx);
        // Distances fall toward the centre along the row, so the row is old
        // pixels, then the ring, then new pixels.
        const int ringFrom = int(std::find_if(dist, dist + cx, [&](int d) { return d <= oldBeyond; }) - dist);
        const int newFrom = int(std::find_if(dist + ringFrom, dist + cx, [&](int d) { return d < newBelow; }) - dist);
        const int rows[2] = {y, h - 1 - y};
        for (const int row : rows) {
            P* d = f.Target<P>(row);
            auto copy = [&](const P* s, int from, int to) {
                std::memcpy(d + from, s + from, std::size_t(to - from) * sizeof(P));
                std::memcpy(d + w - to, s + w - to, std::size_t(to - from) * sizeof(P));
            };
            copy(f.Old<P>(row), 0, ringFrom);
            copy(f.New<P>(row), newFrom, cx);
        }
        P* top = f.Target<P>(y);
        P* bottom = f.Target<P>(h - 1 - y);
        for (int x = ringFrom; x < newFrom; ++x) {
            const std::size_t cell = std::size_t(y) * std::size_t(cx) + std::size_t(x);
            const std::int64_t d = dist[x];
            const std::int64_t radius = d + r.Wave[std::size_t(d + band - 1 - front)];
            const std::int64_t sx = radius * r.RingCos[cell] / 65536 + cx, sy = radius * r.RingSin[cell] / 65536 + cy;
            const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
            const int ax = inside ? int(sx) : x, ay = inside ? int(sy) : y;
            const P* upper = f.New<P>(ay);
            const P* lower = f.New<P>(h - 1 - ay);
            top[x] = upper[ax];
            top[w - 1 - x] = upper[w - 1 - ax];
            bottom[x] = lower[ax];
            bottom[w - 1 - x] = lower[w - 1 - ax];
        }
    }
}

}  // namespace

bool TWipeRipple::Step() {
    if (!BeginStep() || Tooth() < 1) return true;
    const int cx = Width() / 2, cy = Height() / 2;
    const std::int64_t reach = wipe::Round(std::sqrt(double(cx) * cx + double(cy) * cy));
    const std::int64_t front = wipe::Scale(reach + std::int64_t(Wave.size()), Elapsed(), Duration);
    const wipe::TLockedFrames frames(*this);
    if (!frames) return false;
    if (BitCount() == 32) Ripple<std::uint32_t>(*this, frames, front);
    else Ripple<std::uint16_t>(*this, frames, front);
    return false;
}

}  // namespace vesk
