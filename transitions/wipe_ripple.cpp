#include "transitions/wipe_ripple.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "transitions/locked_frames.h"
#include "transitions/wide_kernels.h"
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

// Where the band cells x0 .. x0 + n - 1 of quarter row y and their three
// mirror pixels read New: the point `radius` from the centre along the
// cell's direction (mirrored likewise), or the cell's own place when that
// point is off the screen, as indexes from New's row 0 with `stride` pixels
// between rows: `upper` and `upperMirror` for row y, `lower` and
// `lowerMirror` for row h - 1 - y. The radius arithmetic runs in 32 bits,
// which the vectoriser can widen, whenever the radius times 65536 fits
// (every screen with ripples of ordinary height).
template <class I>
VESK_WIPE_INLINE void RippleSources(const std::uint16_t* __restrict dist, const std::int32_t* __restrict cos,
                                    const std::int32_t* __restrict sin, const std::int32_t* __restrict wave,
                                    std::int32_t* __restrict upper, std::int32_t* __restrict upperMirror,
                                    std::int32_t* __restrict lower, std::int32_t* __restrict lowerMirror, int x0, int n,
                                    int y, int w, int h, std::int32_t stride, I lastIndex) {
    const int cx = w / 2, cy = h / 2;
    for (int k = 0; k < n; ++k) {
        const int x = x0 + k;
        const I d = dist[x];
        const I radius = d + wave[d + lastIndex];
        const I sx = radius * cos[x] / 65536 + cx, sy = radius * sin[x] / 65536 + cy;
        const bool inside = (sx >= 0) & (sx < w) & (sy >= 0) & (sy < h);
        const std::int32_t ax = inside ? std::int32_t(sx) : x, ay = inside ? std::int32_t(sy) : y;
        upper[k] = ay * stride + ax;
        upperMirror[k] = ay * stride + w - 1 - ax;
        lower[k] = (h - 1 - ay) * stride + ax;
        lowerMirror[k] = (h - 1 - ay) * stride + w - 1 - ax;
    }
}

struct TRippleSources32 {
    template <class... Args>
    VESK_WIPE_INLINE void operator()(Args... args) const {
        RippleSources<std::int32_t>(args...);
    }
};

// The band cells x0 .. x0 + n - 1 of target row d and their mirrors,
// read through their indexes.
struct TRippleGather {
    template <class P>
    VESK_WIPE_INLINE void operator()(P* __restrict d, const P* __restrict row0, const std::int32_t* __restrict at,
                                     const std::int32_t* __restrict mirror, int x0, int n, int w) const {
        for (int k = 0; k < n; ++k) {
            d[x0 + k] = row0[at[k]];
            d[w - 1 - x0 - k] = row0[mirror[k]];
        }
    }
};

template <class P>
void Ripple(const TWipeRipple& r, const wipe::TLockedFrames& f, std::int64_t front, bool narrow) {
    const int w = r.Width(), h = r.Height(), cx = w / 2, cy = h / 2;
    const std::int64_t band = std::int64_t(r.Wave.size());
    // The old picture shows where the front has not arrived (d > front),
    // the new one where the ring has passed (d < front - band + 1).
    const std::int64_t oldBeyond = front, newBelow = front - band + 1;
    const auto stride = std::int32_t(r.New->Pitch() / int(sizeof(P)));
    const P* row0 = f.New<P>(0);
    std::vector<std::int32_t> indexes(4 * static_cast<std::size_t>(cx));
    std::int32_t* const upper = indexes.data();
    std::int32_t *const upperMirror = upper + cx, *const lower = upper + 2 * cx, *const lowerMirror = upper + 3 * cx;
    for (int y = 0; y < cy; ++y) {
        const std::size_t rowStart = std::size_t(y) * std::size_t(cx);
        const std::uint16_t* dist = r.RingDistance.data() + rowStart;
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
        const int n = newFrom - ringFrom;
        if (n <= 0) continue;
        const std::int32_t *cos = r.RingCos.data() + rowStart, *sin = r.RingSin.data() + rowStart;
        if (narrow)
            wipe::RunRow(TRippleSources32{}, dist, cos, sin, r.Wave.data(), upper, upperMirror, lower, lowerMirror,
                         ringFrom, n, y, w, h, stride, std::int32_t(band - 1 - front));
        else
            RippleSources<std::int64_t>(dist, cos, sin, r.Wave.data(), upper, upperMirror, lower, lowerMirror, ringFrom,
                                        n, y, w, h, stride, band - 1 - front);
        wipe::RunRow(TRippleGather{}, f.Target<P>(y), row0, upper, upperMirror, ringFrom, n, w);
        wipe::RunRow(TRippleGather{}, f.Target<P>(h - 1 - y), row0, lower, lowerMirror, ringFrom, n, w);
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
    // Radii stay below reach plus the highest ripple; times 65536 they must
    // fit 31 bits for the 32-bit arithmetic.
    std::int64_t highest = 0;
    for (const std::int32_t v : Wave) highest = std::max<std::int64_t>(highest, std::abs(std::int64_t(v)));
    const bool narrow = (reach + highest) < 32767;
    if (BitCount() == 32) Ripple<std::uint32_t>(*this, frames, front, narrow);
    else Ripple<std::uint16_t>(*this, frames, front, narrow);
    return false;
}

}  // namespace vesk
