#pragma once

#include <cstdint>

#include "transitions/wide_kernels.h"

namespace vesk::wipe {

// The source lines of a nearest-pixel stretch of `srcLength` lines from
// `srcStart` over `destLength` lines, walked exactly as the surfaces'
// stretched draw walks them when nothing is clipped: line i reads
// (srcStart * 65536 + i * step) >> 16 with step = trunc(srcLength /
// destLength * 65536). The kinds that stretch one line at a time use it to
// write the lines themselves; a call of the stretched draw per line costs
// more than its pixels.
struct TStretchWalk {
    std::int64_t start, step;

    TStretchWalk(int srcStart, int srcLength, int destLength)
        : start(std::int64_t(srcStart) * 65536), step(std::int64_t(double(srcLength) / destLength * 65536.0)) {}

    int operator()(int i) const { return int((start + i * step) >> 16); }
};

// d[i] = s[walk(i)] for i < n: one stretched row. The positions stay below
// the end of the source times 65536, which fits 31 bits on every surface
// narrower than 32768 pixels; the loop is then a vector gather.
struct TStretchRow {
    template <class P>
    VESK_WIPE_INLINE void operator()(P* __restrict d, const P* __restrict s, std::int32_t start, std::int32_t step,
                                     int n) const {
        for (int i = 0; i < n; ++i) d[i] = s[(start + i * step) >> 16];
    }
};

template <class P>
void StretchRow(P* d, const P* s, const TStretchWalk& walk, int n) {
    if (walk.start + std::int64_t(n) * walk.step < (std::int64_t(1) << 31)) {
        RunRow(TStretchRow{}, d, s, std::int32_t(walk.start), std::int32_t(walk.step), n);
        return;
    }
    std::int64_t at = walk.start;
    for (int i = 0; i < n; ++i, at += walk.step) d[i] = s[at >> 16];
}

}  // namespace vesk::wipe
