// The per-pixel rules of the kinds that write pixels themselves, against
// arithmetic written out here, and the AVX2 builds of their row loops
// against the plain builds.

#include <gtest/gtest.h>

#include <random>

#include "gfx/pixel_kernels.h"
#include "tests/transitions/wipe_fixture.h"
#include "transitions/grey_rows.h"
#include "transitions/mask_compose.h"
#include "transitions/wipe_mask.h"

using namespace vesk;
using namespace vesk::test;

namespace {

// A mask transition whose mask is given: value i % 256 at column i.
class TGivenMask : public TWipeMask {
public:
    std::vector<std::uint8_t> Values;
    using TWipeMask::TWipeMask;
    bool BuildMask() override {
        for (int y = 0; y < Mask.Height(); ++y)
            for (int x = 0; x < Width(); ++x) Mask.SetPixel(x, y, Values[std::size_t(x) % Values.size()]);
        return true;
    }
};

// (m * new + (255 - m) * old) >> 8 per channel: the bytes of a 32-bit
// pixel, the fields of a 15/16-bit one with the top field taken shifted
// right by one.
std::uint32_t Expected(std::uint32_t o, std::uint32_t n, std::uint32_t m, int bits) {
    if (m == 0) return o;
    if (m == 255) return n;
    auto mix = [&](std::uint32_t a, std::uint32_t b) { return (m * b + (255 - m) * a) >> 8; };
    if (bits == 32) {
        std::uint32_t r = 0;
        for (int k = 0; k < 32; k += 8) r |= (mix((o >> k) & 0xFF, (n >> k) & 0xFF) & 0xFF) << k;
        return r;
    }
    const std::uint32_t red = bits == 16 ? 0xF800 : 0x7C00, green = bits == 16 ? 0x07E0 : 0x03E0, blue = 0x1F;
    const std::uint32_t top = red >> 1;
    return ((mix((o >> 1) & top, (n >> 1) & top) & top) << 1) | (mix(o & green, n & green) & green) |
           (mix(o & blue, n & blue) & blue);
}

// Every mask level, over different pixels and over equal ones: a blend of
// two equal pixels still loses a step by the shift, as the surfaces' blends
// do.
TEST(WipeCompose, MaskLevelsBlendByTheSurfaceRules) {
    for (const int bits : {15, 16, 32}) {
        TWipeRun run(256, 2, bits);
        // Row 1 of New equals Old.
        run.nw->Draw(0, 1, false, false, false, TRect{0, 1, 256, 2}, *run.old);
        TGivenMask wipe(*run.target, *run.old, *run.nw);
        for (int v = 0; v < 256; ++v) wipe.Values.push_back(std::uint8_t(v));
        wipe.Duration = 10;
        wipe.Prepare();
        wipe.Step();
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 256; ++x)
                ASSERT_EQ(run.target->GetPixel(x, y),
                          Expected(run.old->GetPixel(x, y), run.nw->GetPixel(x, y), std::uint32_t(x), bits))
                    << bits << " bits, mask " << x << ", row " << y;
        EXPECT_NE(run.target->GetPixel(128, 1), run.old->GetPixel(128, 1)) << "equal pixels were skipped";
    }
}

// The AVX2 builds of the row loops give the plain builds' results on rows
// of every length up to a few vectors, with uniform runs and mixed stretches.
class WideRows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pixel::CpuHasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    }
    void TearDown() override { pixel::UseKernels(nullptr); }

    template <class Run>
    static void Both(Run&& run) {
        std::mt19937 random(5);
        for (int n = 1; n <= 80; ++n) {
            pixel::UseKernels(&pixel::BaselineKernels());
            const auto plain = run(n, std::mt19937(random));
            pixel::UseKernels(nullptr);
            const auto wide = run(n, std::mt19937(random));
            ASSERT_EQ(plain, wide) << "row of " << n;
            random.discard(1);
        }
    }

    // Mask rows with long 0 and 255 runs between random levels.
    static std::vector<std::uint8_t> MaskRow(int n, std::mt19937& r) {
        std::vector<std::uint8_t> m(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int zone = (i / 17 + int(r() % 2)) % 3;
            m[std::size_t(i)] = zone == 0 ? 0 : zone == 1 ? 255 : std::uint8_t(r());
        }
        return m;
    }
    template <class P>
    static std::vector<P> Row(int n, std::mt19937& r) {
        std::vector<P> v(static_cast<std::size_t>(n));
        for (P& p : v) p = P(r());
        return v;
    }
};

TEST_F(WideRows, MaskComposition) {
    for (const bool two : {false, true}) {
        Both([&](int n, std::mt19937 r) {
            std::vector<std::uint8_t> m = MaskRow(n, r);
            if (two)
                for (auto& v : m) v = v ? 255 : 0;
            const auto o = Row<std::uint32_t>(n, r), nw = Row<std::uint32_t>(n, r);
            std::vector<std::uint32_t> d(static_cast<std::size_t>(n));
            wipe::ComposeRow(d.data(), o.data(), nw.data(), m.data(), n, two);
            return d;
        });
        for (const int bits : {15, 16}) {
            TDIBX store(1, 1, bits);
            const wipe::Fields16 f(store);
            Both([&](int n, std::mt19937 r) {
                std::vector<std::uint8_t> m = MaskRow(n, r);
                if (two)
                    for (auto& v : m) v = v ? 255 : 0;
                const auto o = Row<std::uint16_t>(n, r), nw = Row<std::uint16_t>(n, r);
                std::vector<std::uint16_t> d(static_cast<std::size_t>(n));
                wipe::ComposeRow(d.data(), o.data(), nw.data(), m.data(), n, two, f);
                return d;
            });
        }
    }
}

TEST_F(WideRows, SpotAndMaskGreyRows) {
    BuildColourTables(16);
    TDIBX store(1, 1, 16);
    const wipe::Fields16 f(store);
    const std::uint16_t* grey16 = ColourTables().GreyPixels16.data();
    for (const int b : {0, 100, 300, 600}) {
        Both([&](int n, std::mt19937 r) {
            std::vector<std::int32_t> dist(static_cast<std::size_t>(n));
            for (auto& v : dist) v = std::int32_t(r() % 700);
            const auto o = Row<std::uint32_t>(n, r), nw = Row<std::uint32_t>(n, r);
            const auto o16 = Row<std::uint16_t>(n, r), nw16 = Row<std::uint16_t>(n, r);
            std::vector<std::uint32_t> d(static_cast<std::size_t>(n));
            std::vector<std::uint16_t> d16(static_cast<std::size_t>(n));
            wipe::SpotRow(d.data(), o.data(), nw.data(), dist.data(), n, b);
            wipe::SpotRow(d16.data(), o16.data(), nw16.data(), dist.data(), n, b, f, grey16);
            return std::make_pair(d, d16);
        });
    }
    for (const bool darken : {false, true})
        for (const int q : {0, 256, 500, 767}) {
            Both([&](int n, std::mt19937 r) {
                const auto g = Row<std::uint8_t>(n, r);
                const auto o = Row<std::uint32_t>(n, r), nw = Row<std::uint32_t>(n, r);
                const auto o16 = Row<std::uint16_t>(n, r), nw16 = Row<std::uint16_t>(n, r);
                std::vector<std::uint32_t> d(static_cast<std::size_t>(n));
                std::vector<std::uint16_t> d16(static_cast<std::size_t>(n));
                wipe::ShadowRow(d.data(), o.data(), nw.data(), g.data(), n, q, darken);
                wipe::ShadowRow(d16.data(), o16.data(), nw16.data(), g.data(), n, q, darken, f, grey16);
                return std::make_pair(d, d16);
            });
        }
}

}  // namespace
