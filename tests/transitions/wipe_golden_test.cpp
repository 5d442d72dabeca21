// Every kind at every bit count against golden frames: the frames at 0, 25,
// 50 and 75 % of a 1000 ms transition and its last frame (999 ms), stepped
// in that order on one target as the registry would, side by side in one
// PNG file per kind and bit count under golden/. scripts/regen-wipe-goldens.sh
// writes them anew; a normal run only reads them.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <optional>
#include <string>

#include "common/stream.h"
#include "gfx/fenks.h"
#include "gfx/pixel_kernels.h"
#include "gfx/pngfile.h"
#include "tests/transitions/wipe_fixture.h"

using namespace vesk;
using namespace vesk::test;

namespace {

constexpr int kW = 64, kH = 48;
constexpr std::int32_t kPositions[] = {0, 250, 500, 750, 999};
constexpr int kFrames = int(std::size(kPositions));

// Parameters that suit a screen of 64 x 48 where the defaults would cover
// it with one cell; the mask kinds read the test's ramp picture.
TWipeRun::TSetup GoldenSetup(int kind, TWipeMaskSource* source) {
    TWipeRun::TSetup s;
    switch (kind) {
        case WP_GRID:
        case WP_GRIDH:
        case WP_GRIDV: s.param0 = 16; break;
        // Chips that leave one after another instead of all at once.
        case WP_CRACK: s.param0 = 16, s.param1 = 20; break;
        case WP_ZOOMIN: s.param0 = 40, s.param1 = 20; break;
        case WP_BLOCKCOIL:
        case WP_BLOCKRANDOM: s.param0 = 10; break;
        case WP_MASKFADE:
        case WP_MASKWHITE:
        case WP_MASKBLACK: s.maskName = "mask.png"; break;
        default: break;
    }
    s.source = source;
    return s;
}

std::string GoldenName(int kind, int bits) {
    std::string name = std::string(WipeKinds()[std::size_t(kind)].Name).substr(3);
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name + "_" + std::to_string(bits);
}

// The frames of one kind side by side.
std::unique_ptr<TDIBX> Strip(int kind, int bits) {
    TMemoryMaskSource source;
    source.Files["mask.png"] = PngFile(kW / 2, kH / 2, 8, MaskGrey);
    TWipeRun run(kW, kH, bits);
    run.Start(kind, GoldenSetup(kind, &source));
    auto strip = std::make_unique<TDIBX>(kW * kFrames, kH, bits);
    for (int i = 0; i < kFrames; ++i) {
        run.StepAt(kPositions[i]);
        strip->Draw(i * kW, 0, false, false, false, run.target->BoundsRect(), *run.target);
    }
    return strip;
}

void WritePng(const TCustomDIBX& strip, const std::string& path) {
    TDIBSurface image;
    image.SetSize(strip.Width(), strip.Height(), 24);
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
            image.SetPixel(x, y, image.NativeOf(std::int32_t(NativeToColour(strip, strip.GetPixel(x, y)))));
    TMemoryStream bytes;
    SavePng(bytes, image);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()), std::streamsize(bytes.Size()));
    ASSERT_TRUE(out.flush()) << path;
}

std::optional<TFenkFrameList> ReadPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    TMemoryStream bytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    TFenkFrameList list;
    LoadPngFrame(bytes, list);
    return list;
}

class WipeGolden : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(WipeGolden, MatchesItsFrames) {
    const auto [kind, bits] = GetParam();
    const std::unique_ptr<TDIBX> strip = Strip(kind, bits);
    const std::string file = GoldenName(kind, bits) + ".png";
    if (const char* out = std::getenv("VESK_WIPE_GOLDEN_OUT")) {
        WritePng(*strip, std::string(out) + "/" + file);
        GTEST_SKIP() << "wrote " << file;
    }
    const std::optional<TFenkFrameList> golden =
        ReadPng(std::string(VESK_SOURCE_DIR) + "/tests/transitions/golden/" + file);
    ASSERT_TRUE(golden.has_value()) << "no golden " << file << "; scripts/regen-wipe-goldens.sh makes it";
    const TDIBSurface& image = (*golden)[0].Image;
    ASSERT_EQ(image.Width(), strip->Width());
    ASSERT_EQ(image.Height(), strip->Height());
    int wrong[kFrames] = {};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < strip->Width(); ++x)
            wrong[x / kW] += strip->GetPixel(x, y) != TPixel(strip->ColorToPixel(image.ColorOf(image.GetPixel(x, y))));
    for (int i = 0; i < kFrames; ++i) EXPECT_EQ(wrong[i], 0) << "pixels off the golden at " << kPositions[i] << " ms";

    // The plain builds of the row loops draw the same frames.
    pixel::UseKernels(&pixel::BaselineKernels());
    const std::unique_ptr<TDIBX> plain = Strip(kind, bits);
    pixel::UseKernels(nullptr);
    EXPECT_EQ(Pixels(*plain), Pixels(*strip)) << "the baseline kernels drew other frames";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, WipeGolden, ::testing::Combine(::testing::Range(1, int(kWipeKindCount)),
                                                                   ::testing::Values(15, 16, 32)),
                         [](const auto& info) {
                             return GoldenName(std::get<0>(info.param), std::get<1>(info.param));
                         });

}  // namespace
