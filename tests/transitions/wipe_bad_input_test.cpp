// Bad input gives the defined result or a clean end: missing and damaged
// mask pictures, pictures of other sizes and kinds, surfaces that do not
// match, parameters at every extreme, durations of one frame or none, and
// screens too small for a kind.

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "common/error.h"
#include "gfx/fenks.h"
#include "tests/transitions/wipe_fixture.h"
#include "transitions/grey_mask.h"
#include "transitions/wipe_math.h"

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr int kMaskPictureKinds[] = {WP_MASKFADE, WP_MASKWHITE, WP_MASKBLACK};

// Without a picture every level is 255, with a source or without one.
TEST(WipeBadInput, MissingMaskPictureGivesUniformLevels) {
    TMemoryMaskSource empty;
    for (TWipeMaskSource* source : {static_cast<TWipeMaskSource*>(&empty), static_cast<TWipeMaskSource*>(nullptr)})
        for (const char* name : {"", "missing.png", "missing"}) {
            TWipeRun run(32, 24, 32);
            TWipeRun::TSetup s;
            s.source = source;
            s.maskName = name;
            TCustomWipe& w = run.Start(WP_MASKFADE, s);
            wipe::TGreyMask grey;
            wipe::LoadGreyMask(w, grey);
            EXPECT_EQ(grey.Levels, std::vector<std::uint8_t>(32 * 24, 255)) << name;
            run.StepAt(500);
            EXPECT_EQ(Pixels(*run.target), Pixels(*run.nw)) << name;
        }
}

// A picture the layered-image reader rejects raises its error from
// Prepare; the transition then runs as without a picture.
TEST(WipeBadInput, DamagedMaskPictureRaisesAndLeavesAUsableTransition) {
    std::vector<std::uint8_t> png = PngFile(16, 16, 8, MaskGrey);
    png.resize(png.size() / 2);
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"cut.png", png},
        {"noise.fnk", std::vector<std::uint8_t>(300, 0x5A)},
        {"fenk.fnk", {'F', 'e', 'n', 'k', '1', '0', '5', 0xFF, 0xFF, 0xFF, 0x7F}},
        {"noext", std::vector<std::uint8_t>(10, 1)},
    };
    for (const auto& [name, bytes] : files)
        for (const int kind : kMaskPictureKinds) {
            TMemoryMaskSource source;
            source.Files[name] = bytes;
            TWipeRun run(32, 24, 16);
            ProcessRandom().Seed(1);
            run.wipe = CreateWipe(kind, *run.target, *run.old, *run.nw);
            run.wipe->Duration = 1000;
            run.wipe->MaskSource = &source;
            run.wipe->SetMaskName(name);
            EXPECT_THROW(run.wipe->Prepare(), EVeskError) << name;
            EXPECT_FALSE(run.StepAt(500));
            EXPECT_TRUE(run.StepAt(1000));
        }
}

// Colour pictures turn into the nearest grey (the rounded mean of the
// channels), grey ones keep their levels; a picture of another size is cut
// or repeated from the top-left corner; Flag inverts the colours first.
TEST(WipeBadInput, MaskPicturesOfAnySizeAndKindBecomeGreyLevels) {
    auto colour = [](int x, int y) { return Rgb((x * 40) % 256, (y * 30) % 256, (x * y * 7) % 256); };
    struct TRow {
        int w, h, bits;
    };
    for (const TRow r : {TRow{5, 3, 24}, TRow{100, 80, 24}, TRow{1, 1, 24}, TRow{7, 9, 8}})
        for (const std::uint8_t flag : {0, 1}) {
            TMemoryMaskSource source;
            source.Files["m.png"] = r.bits == 8 ? PngFile(r.w, r.h, 8, MaskGrey) : PngFile(r.w, r.h, 24, colour);
            TWipeRun run(32, 24, 32);
            TWipeRun::TSetup s;
            s.source = &source;
            s.maskName = "m.png";
            s.flag = flag;
            TCustomWipe& w = run.Start(WP_MASKFADE, s);
            wipe::TGreyMask grey;
            wipe::LoadGreyMask(w, grey);
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 32; ++x) {
                    const auto c = std::uint32_t(r.bits == 8 ? MaskGrey(x % r.w, y % r.h) : colour(x % r.w, y % r.h));
                    std::uint32_t sum = 0;
                    for (int k = 0; k < 3; ++k) sum += flag ? 255 - ((c >> (8 * k)) & 0xFF) : (c >> (8 * k)) & 0xFF;
                    ASSERT_EQ(grey.Row(y)[x], (sum + 1) / 3) << r.w << "x" << r.h << " at " << x << ", " << y;
                }
        }
}

// A layered image is read with the project's identification code.
TEST(WipeBadInput, LayeredMaskPicturesAreReadWithTheProjectsCode) {
    TFenkFrameList list(0x1234);
    TFenkFrame& frame = list.AddFrame();
    frame.Image.SetSize(8, 8, 8);
    frame.Image.SetGreyPalette();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) frame.Image.SetPixel(x, y, std::uint32_t(x * 30 + y));
    TMemoryStream bytes;
    list.SaveToStream(bytes, FK_ZLIB, 70);
    TMemoryMaskSource source;
    source.Code = 0x1234;
    source.Files["mask.fnk"] = bytes.Bytes();
    TWipeRun run(8, 8, 32);
    TWipeRun::TSetup s;
    s.source = &source;
    s.maskName = "mask.fnk";
    TCustomWipe& w = run.Start(WP_MASKWHITE, s);
    wipe::TGreyMask grey;
    wipe::LoadGreyMask(w, grey);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(grey.Row(y)[x], x * 30 + y);
}

// Three surfaces that are not one size and bit count of 15, 16 or 32, or
// a target resized after the transition was made: every step ends the
// transition without drawing.
TEST(WipeBadInput, SurfacesThatDoNotMatchEndTheTransition) {
    struct TCase {
        const char* what;
        int tw, th, tbits, ow, oh, obits, nbits;
    };
    const TCase cases[] = {
        {"old smaller", 32, 24, 32, 16, 24, 32, 32}, {"new of other bits", 32, 24, 32, 32, 24, 32, 16},
        {"all 8 bits", 32, 24, 8, 32, 24, 8, 8},     {"all 24 bits", 32, 24, 24, 32, 24, 24, 24},
        {"empty", 0, 0, 32, 0, 0, 32, 32},
    };
    for (const TCase& c : cases)
        for (int kind = 1; kind < kWipeKindCount; ++kind) {
            TDIBX target(c.tw, c.th, c.tbits), old(c.ow, c.oh, c.obits), nw(c.tw, c.th, c.nbits);
            target.Fill(7);
            std::unique_ptr<TCustomWipe> w = CreateWipe(kind, target, old, nw);
            w->Duration = 100;
            w->Prepare();
            w->Position = 50;
            EXPECT_TRUE(w->Step()) << c.what << " " << WipeKinds()[std::size_t(kind)].Name;
            EXPECT_EQ(Pixels(target), std::vector<std::uint32_t>(std::size_t(c.tw * c.th), 7u)) << c.what;
        }
    for (int kind = 1; kind < kWipeKindCount; ++kind) {
        TWipeRun run(32, 24, 32);
        run.Start(kind, {});
        run.target->SetSize(40, 30, 32);
        run.old->SetSize(40, 30, 32);
        run.nw->SetSize(40, 30, 32);
        EXPECT_TRUE(run.StepAt(500)) << WipeKinds()[std::size_t(kind)].Name;
    }
}

// Every kind with both parameters at the extremes, stepped through its
// duration: no crash, no error, a target of unchanged size.
TEST(WipeBadInput, ParametersAtEveryExtreme) {
    const std::pair<std::int32_t, std::int32_t> params[] = {{kMin, kMin}, {-1, -1}, {0, 0},       {1, 1},
                                                            {2, 2},       {kMax, kMax}, {0, kMax}, {kMax, 0}};
    for (int kind = 1; kind < kWipeKindCount; ++kind)
        for (const auto& [p0, p1] : params) {
            TWipeRun run(40, 30, 16);
            TWipeRun::TSetup s;
            s.param0 = p0;
            s.param1 = p1;
            s.flag = std::uint8_t(p0 & 1);
            ASSERT_NO_THROW(run.Start(kind, s)) << WipeKinds()[std::size_t(kind)].Name << " " << p0 << ", " << p1;
            for (const int p : {0, 1, 333, 500, 998, 999})
                ASSERT_NO_THROW(run.StepAt(p)) << WipeKinds()[std::size_t(kind)].Name << " " << p0 << ", " << p1;
            EXPECT_EQ(run.target->Width(), 40);
            EXPECT_TRUE(run.StepAt(1000));
        }
}

// A duration of one frame draws the first frame and is finished at 1; a
// duration of 0 (or below) finishes at the first step without drawing; a
// position before 0 draws the first frame.
TEST(WipeBadInput, DurationsOfOneFrameOrNone) {
    for (int kind = 1; kind < kWipeKindCount; ++kind) {
        const char* name = WipeKinds()[std::size_t(kind)].Name;
        {
            TWipeRun run(32, 24, 32);
            TWipeRun::TSetup s;
            s.duration = 1;
            run.Start(kind, s);
            EXPECT_FALSE(run.StepAt(0)) << name;
            const std::vector<std::uint32_t> first = Pixels(*run.target);
            EXPECT_TRUE(run.StepAt(1)) << name;
            EXPECT_EQ(Pixels(*run.target), first) << name;
        }
        for (const std::int32_t duration : {0, -5}) {
            TWipeRun run(32, 24, 32);
            TWipeRun::TSetup s;
            s.duration = duration;
            run.Start(kind, s);
            run.target->Fill(3);
            EXPECT_TRUE(run.StepAt(0)) << name;
            EXPECT_TRUE(run.StepAt(-1)) << name;
            EXPECT_EQ(Pixels(*run.target), std::vector<std::uint32_t>(32 * 24, 3u)) << name;
        }
        {
            TWipeRun run(32, 24, 32), at0(32, 24, 32);
            run.Start(kind, {});
            at0.Start(kind, {});
            EXPECT_FALSE(run.StepAt(-40)) << name;
            at0.StepAt(0);
            EXPECT_EQ(Pixels(*run.target), Pixels(*at0.target)) << name;
        }
    }
}

// Screens down to one pixel; the ripple needs 12 pixels either way and
// ends at once on smaller ones.
TEST(WipeBadInput, TinyScreens) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{11, 40}, std::pair{12, 12}})
        for (const int bits : {15, 32})
            for (int kind = 1; kind < kWipeKindCount; ++kind) {
                TWipeRun run(w, h, bits);
                ASSERT_NO_THROW(run.Start(kind, {}));
                bool finished = false;
                for (const int p : {0, 250, 500, 999}) ASSERT_NO_THROW(finished = run.StepAt(p));
                EXPECT_EQ(finished, kind == WP_RIPPLE && (w < 12 || h < 12)) << WipeKinds()[std::size_t(kind)].Name;
            }
}

// Kinds that build tables in Prepare make them at their first step when a
// caller never prepared them.
TEST(WipeBadInput, StepWithoutPrepare) {
    for (int kind = 1; kind < kWipeKindCount; ++kind) {
        // Each run draws its random orders from the same seed.
        std::vector<std::vector<std::uint32_t>> frames;
        TWipeRun run(32, 24, 32);
        ProcessRandom().Seed(3);
        run.wipe = CreateWipe(kind, *run.target, *run.old, *run.nw);
        run.wipe->Duration = 1000;
        for (const int p : {100, 600}) {
            run.StepAt(p);
            frames.push_back(Pixels(*run.target));
        }
        TWipeRun prepared(32, 24, 32);
        TWipeRun::TSetup s;
        s.seed = 3;
        prepared.Start(kind, s);
        for (const int p : {100, 600}) {
            prepared.StepAt(p);
            EXPECT_EQ(frames[p == 100 ? 0 : 1], Pixels(*prepared.target)) << WipeKinds()[std::size_t(kind)].Name;
        }
    }
}

// span * position / duration truncated toward zero, exactly, where the
// plain product would pass 64 bits.
TEST(WipeBadInput, ProgressScaleIsExactForEverySpan) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 10000; ++i) {
        const auto span = std::int64_t(random() >> (random() % 40)) * (i % 2 ? 1 : -1);
        const auto duration = std::int32_t(1 + random() % std::uint64_t(kMax));
        const auto position = std::int32_t(random() % std::uint64_t(duration));
        const __int128 want = __int128(span) * position / duration;
        ASSERT_EQ(wipe::Scale(span, position, duration), std::int64_t(want))
            << span << " " << position << " " << duration;
    }
}

}  // namespace
