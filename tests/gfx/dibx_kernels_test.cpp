// The AVX2 and the baseline row kernels must give identical results on long
// rows of varied pixels, where the vector loops do the work.
#include <gtest/gtest.h>

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
void CompareSets(const KernelSet<P>& a, const KernelSet<P>& b, const Channels& c, std::uint32_t mask) {
    const int n = 1000;
    const auto src = Noise<P>(n, 1, mask), dst0 = Noise<P>(n, 2, mask);
    auto msk = Noise<std::uint8_t>(n, 3, 0xFF);
    for (int i = 0; i < n; i += 7) msk[std::size_t(i)] = i % 2 ? 0 : 255;  // the special mask values
    auto s = src;
    for (int i = 0; i < n; i += 5) s[std::size_t(i)] = dst0[std::size_t(i)];  // equal pixels
    for (int weight : {1, 128, 255}) {
        RowParams p;
        p.weight = weight;
        p.useKey = true;
        p.key = s[3];
        p.is32 = sizeof(P) == 4;
        auto run = [&](auto&& op) {
            auto da = dst0, db = dst0;
            op(a, da.data());
            op(b, db.data());
            EXPECT_EQ(da, db) << "weight " << weight;
        };
        run([&](const KernelSet<P>& k, P* d) { k.alpha(d, s.data(), n, p, c); });
        run([&](const KernelSet<P>& k, P* d) { k.masked(d, s.data(), msk.data(), n, p, c); });
        run([&](const KernelSet<P>& k, P* d) {
            RowParams q = p;
            q.weight = -1;
            k.masked(d, s.data(), msk.data(), n, q, c);
        });
        run([&](const KernelSet<P>& k, P* d) { k.add(d, s.data(), n, p, c); });
        run([&](const KernelSet<P>& k, P* d) { k.addMasked(d, s.data(), msk.data(), n, p, c); });
        run([&](const KernelSet<P>& k, P* d) { k.coverage(d, msk.data(), n, s[9], p, c); });
        run([&](const KernelSet<P>& k, P* d) { k.blendValue(d, n, s[9], weight, c); });
        run([&](const KernelSet<P>& k, P* d) { k.addValue(d, n, s[9], c); });
        run([&](const KernelSet<P>& k, P* d) { k.subValue(d, n, s[9], c); });
        run([&](const KernelSet<P>& k, P* d) { k.keyCopy(d, s.data(), n, s[3]); });
    }
}

}  // namespace

TEST(PixelKernels, Avx2AndBaselineAgree) {
    if (!CpuHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    const PixelKernels& a = Avx2Kernels();
    const PixelKernels& b = BaselineKernels();
    CompareSets(a.bytes32, b.bytes32, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFFFFFFFF);
    CompareSets(a.fields16, b.fields16, Channels{0xF800, 0x07E0, 0x001F}, 0xFFFF);
    CompareSets(a.fields16, b.fields16, Channels{0x7C00, 0x03E0, 0x001F}, 0x7FFF);
    CompareSets(a.bytes8, b.bytes8, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFF);
    CompareSets(a.generic, b.generic, Channels{0xFF0000, 0xFF00, 0xFF}, 0xFFFFFF);
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
