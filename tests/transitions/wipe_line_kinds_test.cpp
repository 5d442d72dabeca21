// The twists, bamboo blinds and rubbers write stretched lines themselves;
// here they are held to the same lines drawn through the surfaces' fills,
// copies and stretches, as the kinds are defined.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/transitions/wipe_fixture.h"
#include "transitions/wipe_math.h"

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr double kPi = std::numbers::pi;

// The twist of rows (or columns) at `position` of `duration`, drawn line by
// line into target.
void ReferenceTwist(TDIBX& target, TDIBX& old, TDIBX& nw, bool columns, bool flag, int position, int duration) {
    const int w = target.Width(), h = target.Height(), lines = columns ? w : h, length = columns ? h : w;
    const double phi = double(position) / duration * (3 * kPi / 2);
    int done = -1;
    for (int count = 0; count < lines; ++count) {
        const int line = flag ? lines - 1 - count : count;
        const double e = phi - (double(count) / lines) * kPi / 2;
        if (e < 0) continue;
        if (e >= kPi) {
            done = line;
            continue;
        }
        const int squeezed = int(wipe::Round(std::cos(e) * length));
        const int n = std::abs(squeezed);
        TDIBX& src = squeezed > 0 ? old : nw;
        if (!columns) {
            target.FillRect(TRect{0, line, w, line + 1}, 0);
            if (n > 0)
                target.StretchDraw(TRect{(w - n) / 2, line, (w - n) / 2 + n, line + 1}, src, 255, false, false, false,
                                   TRect{0, line, w, line + 1});
        } else {
            const int a = (h - n) / 2;
            target.FillRect(TRect{line, 0, line + 1, a}, 0);
            target.FillRect(TRect{line, a + n, line + 1, 2 * a + n}, 0);
            if (n > 0)
                target.StretchDraw(TRect{line, a, line + 1, a + n}, src, 255, false, false, false,
                                   TRect{line, 0, line + 1, h});
        }
    }
    if (done < 0) return;
    const int from = flag ? done : 0, to = flag ? lines : done + 1;
    const TRect part = columns ? TRect{from, 0, to, h} : TRect{0, from, w, to};
    target.Draw(part.Left, part.Top, false, false, false, part, nw);
}

TEST(WipeLineKinds, LinesMatchTheStretchesTheyStandFor) {
    for (const int bits : {15, 32})
        for (const bool columns : {false, true})
            for (const std::uint8_t flag : {0, 1}) {
                TWipeRun run(57, 43, bits);
                TWipeRun::TSetup s;
                s.flag = flag;
                run.Start(columns ? WP_TWISTV : WP_TWISTH, s);
                std::unique_ptr<TDIBX> want = Picture(57, 43, bits, OldColour);
                for (const int p : {0, 90, 333, 500, 640, 777, 999}) {
                    run.StepAt(p);
                    ReferenceTwist(*want, *run.old, *run.nw, columns, flag != 0, p, 1000);
                    ASSERT_EQ(Pixels(*run.target), Pixels(*want))
                        << (columns ? "columns" : "rows") << " flag " << int(flag) << " at " << p << ", " << bits;
                }
            }
}

// The bamboo blind (or, with a strip of n > 1 lines, the rubber) at one
// step: a strip of S stretched over the rolled part, the rest of S copied.
void ReferenceRoll(TDIBX& target, TDIBX& old, TDIBX& nw, int kind, bool flag, int position, int duration) {
    const bool vertical = kind == WP_SUDAREV || kind == WP_RUBBERV, rubber = kind == WP_RUBBERH || kind == WP_RUBBERV;
    const int size = vertical ? target.Height() : target.Width(), across = vertical ? target.Width() : target.Height();
    auto band = [&](int from, int to) { return vertical ? TRect{0, from, across, to} : TRect{from, 0, to, across}; };
    int k = int(std::int64_t(2 * size - 1) * position / duration);
    TDIBX& src = k < size ? old : nw;
    if (k >= size) k = 2 * size - k - 1;
    const int rest = size - k - 1, w = k + 1;
    const double q = std::abs(position - duration / 2.0) / (duration / 2.0);
    int n = 1, start = k;
    if (rubber) {
        n = int(std::max<std::int64_t>(1, wipe::Round(q * (flag ? w : k) / 2)));
        start = flag ? rest : std::max(0, k - n);
    } else if (flag) {
        start = rest;
    }
    const TRect to = flag ? band(rest, size) : band(0, w);
    target.StretchDraw(to, src, 255, false, false, false, band(start, start + n));
    if (w < size) {
        const TRect kept = flag ? band(0, rest) : band(w, size);
        target.Draw(kept.Left, kept.Top, false, false, false, kept, src);
    }
}

TEST(WipeLineKinds, RollsMatchTheStretchesTheyStandFor) {
    for (const int bits : {16, 32})
        for (const int kind : {WP_SUDAREH, WP_SUDAREV, WP_RUBBERH, WP_RUBBERV})
            for (const std::uint8_t flag : {0, 1}) {
                TWipeRun run(57, 43, bits);
                TWipeRun::TSetup s;
                s.flag = flag;
                run.Start(kind, s);
                std::unique_ptr<TDIBX> want = Picture(57, 43, bits, OldColour);
                for (const int p : {0, 90, 333, 499, 500, 640, 999}) {
                    run.StepAt(p);
                    ReferenceRoll(*want, *run.old, *run.nw, kind, flag != 0, p, 1000);
                    ASSERT_EQ(Pixels(*run.target), Pixels(*want))
                        << WipeKinds()[std::size_t(kind)].Name << " flag " << int(flag) << " at " << p << ", " << bits;
                }
            }
}

// A column squeezed to nothing is black from the top down to row 2a - 1
// with a = H div 2: the whole column on an even height.
TEST(WipeLineKinds, ColumnSqueezedToNothingIsBlack) {
    TWipeRun run(640, 48, 32);
    run.Start(WP_TWISTV, {});
    run.StepAt(500);  // phi = 3 pi / 4: column 320 is at e = pi / 2
    for (int y = 0; y < 48; ++y) ASSERT_EQ(run.target->GetPixel(320, y), 0u) << y;
    EXPECT_NE(run.target->GetPixel(100, 24), 0u);
}

}  // namespace
