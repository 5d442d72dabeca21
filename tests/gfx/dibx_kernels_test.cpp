// Every kernel set the processor runs (AVX2, AVX-512) must give the results
// of the baseline set on long rows of varied pixels, where the vector loops
// do the work, for every weight.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gfx/pixel_kernels.h"

using namespace vesk::pixel;

namespace {

template <class P>
std::vector<P> Noise(int n, std::uint32_t seed, std::uint32_t mask) {
    std::vector<P> v(static_cast<std::size_t>(n));
    for (auto& x : v) {
        seed = seed * 1664525u + 1013904223u;
        x = P((seed >> 7) & mask);
    }
    return v;
}

template <class P>
void CompareSets(const KernelSet<P>& a, const KernelSet<P>& b, const Channels& c, std::uint32_t mask,
                 const char* what) {
    // An odd length leaves a tail after every vector width.
    const int n = 1003;
    const auto src = Noise<P>(n, 1, mask), dst0 = Noise<P>(n, 2, mask);
    auto msk = Noise<std::uint8_t>(n, 3, 0xFF);
    for (int i = 0; i < n; i += 7) msk[std::size_t(i)] = i % 2 ? 0 : 255;  // the special mask values
    auto s = src;
    for (int i = 0; i < n; i += 5) s[std::size_t(i)] = dst0[std::size_t(i)];  // equal pixels
    std::vector<std::int32_t> index(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) index[std::size_t(i)] = std::int32_t((i * 7919) % n);
    for (int weight = 0; weight <= 255; ++weight) {
        RowParams p;
        p.weight = weight;
        p.useKey = weight % 2 == 0;
        p.key = s[3];
        p.is32 = sizeof(P) == 4;
        p.mask255Plain = weight % 3 == 0;
        int failures = 0;
        auto run = [&](const char* op, auto&& f) {
            auto da = dst0, db = dst0;
            f(a, da.data());
            f(b, db.data());
            if (da != db && failures++ < 5) ADD_FAILURE() << what << " " << op << ", weight " << weight;
        };
        run("alpha", [&](const KernelSet<P>& k, P* d) { k.alpha(d, s.data(), n, p, c); });
        run("alpha-masked", [&](const KernelSet<P>& k, P* d) { k.masked(d, s.data(), msk.data(), n, p, c); });
        run("masked", [&](const KernelSet<P>& k, P* d) {
            RowParams q = p;
            q.weight = -1;
            k.masked(d, s.data(), msk.data(), n, q, c);
        });
        run("add", [&](const KernelSet<P>& k, P* d) { k.add(d, s.data(), n, p, c); });
        run("add raw", [&](const KernelSet<P>& k, P* d) {
            RowParams q = p;
            q.rawAdd8 = true;
            k.add(d, s.data(), n, q, c);
        });
        run("add-masked", [&](const KernelSet<P>& k, P* d) { k.addMasked(d, s.data(), msk.data(), n, p, c); });
        run("coverage", [&](const KernelSet<P>& k, P* d) { k.coverage(d, msk.data(), n, s[9], p, c); });
        run("blend value", [&](const KernelSet<P>& k, P* d) { k.blendValue(d, n, s[weight], weight, c); });
        run("add value", [&](const KernelSet<P>& k, P* d) { k.addValue(d, n, s[weight], c); });
        run("sub value", [&](const KernelSet<P>& k, P* d) { k.subValue(d, n, s[weight], c); });
        run("key copy", [&](const KernelSet<P>& k, P* d) { k.keyCopy(d, s.data(), n, s[weight]); });
        run("gather", [&](const KernelSet<P>& k, P* d) { k.gather(d, s.data(), index.data(), n); });
        run("reverse", [&](const KernelSet<P>& k, P* d) { k.reverse(d, s.data(), n); });
    }
}

}  // namespace

TEST(PixelKernels, EverySetAgreesWithTheBaseline) {
    const std::vector<const PixelKernels*> sets = AvailableKernelSets();
    ASSERT_EQ(sets.front(), &BaselineKernels());
    // This machine has them; a processor without them runs the baseline only.
    EXPECT_EQ(sets.size(), 1u + CpuHasAvx2() + CpuHasAvx512());
    EXPECT_EQ(&Kernels(), sets.back());
    const PixelKernels& b = BaselineKernels();
    for (const PixelKernels* a : sets) {
        if (a == &b) continue;
        SCOPED_TRACE(a->name);
        CompareSets(a->bytes32, b.bytes32, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFFFFFFFF, "32-bit");
        CompareSets(a->fields16, b.fields16, Channels{0xF800, 0x07E0, 0x001F}, 0xFFFF, "5-6-5");
        CompareSets(a->fields16, b.fields16, Channels{0x7C00, 0x03E0, 0x001F}, 0x7FFF, "5-5-5");
        CompareSets(a->bytes8, b.bytes8, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFF, "8-bit");
        CompareSets(a->generic, b.generic, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFFFFFF, "generic");
        // Rotated rows: the same source positions from the same steps.
        RotateRow r;
        r.u = 3 << 16;
        r.du = 51234;
        r.v = 7 << 16;
        r.dv = 12345;
        r.srcLeft = 2;
        r.srcTop = 1;
        r.srcRight = 2000;
        r.srcBottom = 1000;
        r.stride = 2048;
        for (bool flip : {false, true}) {
            r.flipH = r.flipV = flip;
            std::vector<std::int32_t> ia(700), ib(700);
            a->rotateIndex(ia.data(), 700, r);
            b.rotateIndex(ib.data(), 700, r);
            EXPECT_EQ(ia, ib) << (flip ? "flipped" : "");
        }
    }
}

namespace {

// The rules of 32-bit stores, one byte channel at a time.
template <class F>
std::uint32_t PerByte(std::uint32_t s, std::uint32_t d, F&& f) {
    std::uint32_t r = 0;
    for (int k = 0; k < 32; k += 8) r |= f((s >> k) & 0xFF, (d >> k) & 0xFF) << k;
    return r;
}


}  // namespace

TEST(PixelKernels, ByteBlendsFollowTheRulesOnEveryWidthAndStart) {
    // Short rows at every start within a vector: the head before the first
    // aligned vector, the vectors and the tail all meet each weight that has
    // a special case (0, the two halves' edges, 255), with equal pixels,
    // key pixels and the byte extremes.
    const int maxWidth = 40;
    auto src = Noise<std::uint32_t>(maxWidth + 8, 7, 0xFFFFFFFF);
    const auto dst0 = Noise<std::uint32_t>(maxWidth + 8, 8, 0xFFFFFFFF);
    for (std::size_t i = 0; i < src.size(); i += 6) src[i] = dst0[i];
    src[4] = 0xFF00FF00u;
    src[5] = 0x00FF00FFu;
    const std::uint32_t key = src[10];
    for (const PixelKernels* set : AvailableKernelSets()) {
        for (int w : {0, 1, 127, 128, 254, 255}) {
            const std::uint32_t u = std::uint32_t(w);
            auto blendRule = [u](std::uint32_t s, std::uint32_t d) { return (s * u + d * (255 - u)) >> 8; };
            auto addRule = [u](std::uint32_t s, std::uint32_t d) { return std::min(255u, d + ((s * u) >> 8)); };
            for (bool useKey : {false, true}) {
                RowParams p;
                p.weight = w;
                p.is32 = true;
                p.useKey = useKey;
                p.key = key;
                int failures = 0;
                for (int start = 0; start < 8; ++start)
                    for (int n = 1; n <= maxWidth; ++n) {
                        auto alpha = dst0, add = dst0;
                        const std::uint32_t* s = src.data() + start;
                        set->bytes32.alpha(alpha.data() + start, s, n, p, Channels{});
                        set->bytes32.add(add.data() + start, s, n, p, Channels{});
                        for (int i = 0; i < int(dst0.size()); ++i) {
                            const std::size_t at = std::size_t(i);
                            const bool inside = i >= start && i < start + n;
                            const bool keyed = inside && useKey && src[at] == key;
                            std::uint32_t wantAlpha = dst0[at], wantAdd = dst0[at];
                            if (inside && !keyed) {
                                wantAdd = PerByte(src[at], dst0[at], addRule);
                                if (src[at] != dst0[at]) wantAlpha = PerByte(src[at], dst0[at], blendRule);
                            }
                            if ((alpha[at] != wantAlpha || add[at] != wantAdd) && failures++ < 5)
                                ADD_FAILURE() << set->name << " weight " << w << (useKey ? " keyed" : "")
                                              << ", start " << start << ", width " << n << ", pixel " << i;
                        }
                    }
            }
        }
    }
}

TEST(PixelKernels, RotatedIndexesFollowThePositionsInEveryRange) {
    // Rows whose positions stay below 2^31 and rows that pass it (a wide
    // source far from its origin), forwards and backwards, mirrored or not.
    struct Case {
        std::int64_t u, du, v, dv;
    };
    const Case cases[] = {{3 << 16, 51234, 7 << 16, 12345},
                          {900ll << 16, -70000, 5 << 16, 30000},
                          {(1ll << 31) - 400 * 40000ll, 40000, 1 << 16, 0},
                          {(1ll << 31) + 5, -3000, 2 << 16, 100}};
    const int n = 700;
    for (const PixelKernels* set : AvailableKernelSets())
        for (const Case& k : cases)
            for (bool flip : {false, true}) {
                RotateRow r;
                r.u = k.u;
                r.du = k.du;
                r.v = k.v;
                r.dv = k.dv;
                r.srcLeft = 2;
                r.srcTop = 1;
                r.srcRight = 40000;
                r.srcBottom = 1000;
                r.stride = 40960;
                r.flipH = r.flipV = flip;
                std::vector<std::int32_t> got(n);
                set->rotateIndex(got.data(), n, r);
                int failures = 0;
                for (int i = 0; i < n; ++i) {
                    const std::int64_t col = (k.u + i * k.du) >> 16, row = (k.v + i * k.dv) >> 16;
                    const std::int64_t c = flip ? r.srcRight - 1 - col : r.srcLeft + col;
                    const std::int64_t y = flip ? r.srcBottom - 1 - row : r.srcTop + row;
                    if (got[std::size_t(i)] != std::int32_t(y * r.stride + c) && failures++ < 3)
                        ADD_FAILURE() << set->name << " u " << k.u << (flip ? " flipped" : "") << ", pixel " << i;
                }
            }
}

TEST(PixelKernels, ChoosingASetIsHonouredAndUndone) {
    UseKernels(&BaselineKernels());
    EXPECT_EQ(&Kernels(), &BaselineKernels());
    UseKernels(nullptr);
    EXPECT_EQ(&Kernels(), AvailableKernelSets().back());
}

TEST(PixelKernels, ByteChannelsAgreeWithTheFieldArithmetic) {
    // The byte-channel arithmetic of 32-bit stores against the plain
    // per-field one on 24-bit values (fourth byte zero), on a row that ends
    // inside a chunk, with equal pixels, key pixels and masks 0 and 255.
    const PixelKernels& k = Kernels();
    const int n = 500;
    auto s = Noise<std::uint32_t>(n, 4, 0xFFFFFF);
    const auto d0 = Noise<std::uint32_t>(n, 5, 0xFFFFFF);
    auto m = Noise<std::uint8_t>(n, 6, 0xFF);
    for (int i = 0; i < n; i += 5) s[std::size_t(i)] = d0[std::size_t(i)];
    for (int i = 0; i < n; i += 3) m[std::size_t(i)] = i % 2 ? 0 : 255;
    const Channels c{0xFF0000, 0xFF00, 0xFF};
    for (int w : {1, 77, 255}) {
        for (bool useKey : {false, true}) {
            SCOPED_TRACE(testing::Message() << "weight " << w << (useKey ? ", key" : ""));
            RowParams p;
            p.weight = w;
            p.is32 = true;
            p.useKey = useKey;
            p.key = s[7];
            RowParams byMask = p;
            byMask.weight = -1;
            auto compare = [&](auto&& op) {
                auto a = d0, b = d0;
                op(k.bytes32, a.data());
                op(k.generic, b.data());
                EXPECT_EQ(a, b);
            };
            using Set = KernelSet<std::uint32_t>;
            compare([&](const Set& ks, std::uint32_t* d) { ks.alpha(d, s.data(), n, p, c); });
            compare([&](const Set& ks, std::uint32_t* d) { ks.masked(d, s.data(), m.data(), n, p, c); });
            compare([&](const Set& ks, std::uint32_t* d) { ks.masked(d, s.data(), m.data(), n, byMask, c); });
            compare([&](const Set& ks, std::uint32_t* d) { ks.add(d, s.data(), n, p, c); });
            compare([&](const Set& ks, std::uint32_t* d) { ks.addMasked(d, s.data(), m.data(), n, p, c); });
            compare([&](const Set& ks, std::uint32_t* d) { ks.subValue(d, n, s[0], c); });
        }
    }
}
