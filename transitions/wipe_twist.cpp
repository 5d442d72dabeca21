#include "transitions/wipe_twist.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "transitions/locked_frames.h"
#include "transitions/stretch_walk.h"
#include "transitions/wide_kernels.h"
#include "transitions/wipe_math.h"

namespace vesk {

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
    for (int count = 0; count < height; ++count) {
        const int row = w.Flag ? height - 1 - count : count;
        const TSlat slat(phi, count, height, width);
        if (slat.state == TSlat::Done) done = row;
        if (slat.state != TSlat::Turning) continue;
        // Black around the squeezed row, which stands in the middle.
        const int n = int(std::abs(slat.squeezed)), x = (width - n) / 2;
        P* d = f.Target<P>(row);
        std::fill(d, d + x, P(0));
        std::fill(d + x + n, d + width, P(0));
        if (n == 0) continue;
        const P* src = slat.squeezed > 0 ? f.Old<P>(row) : f.New<P>(row);
        wipe::StretchRow(d + x, src, wipe::TStretchWalk(0, width, n), n);
    }
}

// The turning columns of one source, a run of columns: each squeezed to
// `length` rows from `top` with black down to `end`, its walk through the
// source rows kept in `at`.
struct TColumnRun {
    int from = 0, to = 0;
    std::vector<std::int32_t> top, length, end, at, step;
};

// A run of n adjacent turning columns of one source, written a row at a
// time from the top: column by column the stretch would touch a cache line
// per pixel. Each column's source row is read through one index, which the
// vectoriser makes a gather; it takes the selects and the gather only with
// whole-word masks rather than flags.
template <class P>
VESK_WIPE_INLINE void ColumnRows(P* __restrict out, std::int32_t outStride, const P* __restrict in,
                                 std::int32_t stride, int height, int n, const std::int32_t* __restrict top,
                                 const std::int32_t* __restrict length, const std::int32_t* __restrict end,
                                 std::int32_t* __restrict at, const std::int32_t* __restrict step) {
    for (int y = 0; y < height; ++y, out += outStride) {
        for (int k = 0; k < n; ++k) {
            const std::int32_t t = top[k], len = length[k], e = end[k], a = at[k], st = step[k];
            const std::int32_t j = y - t;
            const std::int32_t outside = (j < 0 ? -1 : 0) | (j >= len ? -1 : 0);
            const std::int32_t row = (a >> 16) & ~outside;
            const P sv = in[row * stride + k];
            const P dv = out[k];
            const P black = y < e ? P(0) : dv;
            out[k] = outside ? black : sv;
            at[k] = a + (st & ~outside);
        }
    }
}

struct TColumnRows {
    template <class P, class... Rest>
    VESK_WIPE_INLINE void operator()(P* out, Rest... rest) const {
        ColumnRows(out, rest...);
    }
};

template <class P>
void TwistColumns(const TCustomWipe& w, const wipe::TLockedFrames& f, double phi, int& done) {
    const int width = w.Width(), height = w.Height();
    // The angle falls along the columns, so the columns still showing the
    // old picture, then those showing the new one, are runs.
    TColumnRun runs[2];
    int firstDone = -1, lastDone = -1;
    for (int col = 0; col < width; ++col) {
        const TSlat slat(phi, w.Flag ? width - 1 - col : col, width, height);
        if (slat.state == TSlat::Done) {
            if (firstDone < 0) firstDone = col;
            lastDone = col;
        }
        if (slat.state != TSlat::Turning) continue;
        TColumnRun& run = runs[slat.squeezed < 0];
        if (run.top.empty()) run.from = col;
        run.to = col + 1;
        const int n = int(std::abs(slat.squeezed)), a = (height - n) / 2;
        const wipe::TStretchWalk walk(0, height, std::max(n, 1));
        run.top.push_back(a);
        run.length.push_back(n);
        run.end.push_back(2 * a + n);
        run.at.push_back(std::int32_t(walk.start));
        run.step.push_back(std::int32_t(walk.step));
    }
    // The last done column in the order the columns turn.
    done = w.Flag ? firstDone : lastDone;
    const auto outStride = std::int32_t(w.Target->Pitch() / int(sizeof(P)));
    for (int which = 0; which < 2; ++which) {
        TColumnRun& run = runs[which];
        const P* in = which ? f.New<P>(0) : f.Old<P>(0);
        const auto stride = std::int32_t((which ? w.New : w.Old)->Pitch() / int(sizeof(P)));
        if (run.to > run.from)
            wipe::RunRow(TColumnRows{}, f.Target<P>(0) + run.from, outStride, in + run.from, stride, height,
                         run.to - run.from, run.top.data(), run.length.data(), run.end.data(), run.at.data(),
                         run.step.data());
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
