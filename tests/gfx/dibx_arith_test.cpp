// Exact blend arithmetic: every expected value below is worked out by hand
// from the rules (weights w and 255 - w, divide by 256 with a shift, the
// skip rules of each family), never taken from a run.
#include <gtest/gtest.h>

#include "dibx_test_util.h"
#include "gfx/dibx.h"
#include "gfx/pixel_kernels.h"

using namespace vesk;
using vesk::test::MakeSurface;

namespace {

enum class Op { Alpha, AlphaKeyed, Masked, AlphaMasked, Add, AddMasked, Coverage, BlendRect, AddRect, SubRect };

struct Case {
    const char* what;
    Op op;
    int bits;
    std::uint32_t src, dst;
    int weight;    // alpha or intensity
    int mask;      // mask or coverage value
    std::int32_t key;
    std::uint32_t expected;
};

// Draws a row of equal source pixels over a row of equal destination
// pixels (long enough for the vector loops and their tails) and returns the
// result when every pixel agrees, else a value no case expects.
constexpr int kRow = 37;

std::uint32_t DrawCase(const Case& c) {
    auto dst = MakeSurface(kRow, 1, c.bits);
    auto src = MakeSurface(kRow, 1, c.bits);
    auto mask = MakeSurface(kRow, 1, 8);
    dst->Fill(c.dst);
    src->Fill(c.src);
    mask->Fill(std::uint32_t(c.mask));
    src->TransparentColor = c.key;
    const TRect r{0, 0, kRow, 1};
    switch (c.op) {
        case Op::Alpha: dst->DrawAlpha(0, 0, c.weight, false, false, false, r, *src); break;
        case Op::AlphaKeyed: dst->DrawAlpha(0, 0, c.weight, false, false, true, r, *src); break;
        case Op::Masked: dst->DrawMasked(0, 0, *mask, false, false, r, *src); break;
        case Op::AlphaMasked: dst->DrawAlphaMasked(0, 0, c.weight, *mask, false, false, r, *src); break;
        case Op::Add: dst->DrawAdd(0, 0, c.weight, false, false, r, *src); break;
        case Op::AddMasked: dst->DrawAddMasked(0, 0, c.weight, *mask, false, false, r, *src); break;
        case Op::Coverage: dst->DrawCoverage(0, 0, c.weight, c.src, false, false, r, *mask); break;
        case Op::BlendRect: dst->BlendRect(r, c.src, c.weight); break;
        case Op::AddRect: dst->AddRect(r, c.src); break;
        case Op::SubRect: dst->SubRect(r, c.src); break;
    }
    for (int x = 1; x < kRow; ++x)
        if (dst->GetPixel(x, 0) != dst->GetPixel(0, 0)) return 0xDEADBEEF;
    return dst->GetPixel(0, 0);
}

const Case kCases[] = {
    // 32-bit: four byte channels, the fourth byte included.
    {"alpha 128", Op::Alpha, 32, 0x00FF8040, 0x00204060, 128, 0, -1, 0x008F5F4F},
    {"alpha 255 darkens white", Op::Alpha, 32, 0x00FFFFFF, 0x00000000, 255, 0, -1, 0x00FEFEFE},
    {"alpha fourth byte", Op::Alpha, 32, 0xFF000000, 0x00000000, 255, 0, -1, 0xFE000000},
    {"alpha equal pixel kept", Op::Alpha, 32, 0x00123456, 0x00123456, 100, 0, -1, 0x00123456},
    {"alpha 0 draws nothing", Op::Alpha, 32, 0x00FFFFFF, 0x00000010, 0, 0, -1, 0x00000010},
    {"alpha key ignored without flag", Op::Alpha, 32, 0x00FFFFFF, 0x00000000, 255, 0, 0x00FFFFFF, 0x00FEFEFE},
    {"alpha key honoured with flag", Op::AlphaKeyed, 32, 0x00FFFFFF, 0x00000000, 255, 0, 0x00FFFFFF, 0},
    {"masked 255 copies", Op::Masked, 32, 0x00FFFFFF, 0x00000000, 0, 255, -1, 0x00FFFFFF},
    {"masked 0 skips", Op::Masked, 32, 0x00FFFFFF, 0x00000011, 0, 0, -1, 0x00000011},
    {"masked 128", Op::Masked, 32, 0x000000FF, 0x00000000, 0, 128, -1, 0x0000007F},
    {"masked equal kept", Op::Masked, 32, 0x00808080, 0x00808080, 0, 128, -1, 0x00808080},
    {"alpha-masked 255 gives alpha", Op::AlphaMasked, 32, 0x000000FF, 0, 200, 255, -1, 0x000000C7},
    {"alpha-masked 128", Op::AlphaMasked, 32, 0x000000FF, 0, 200, 128, -1, 0x00000063},
    {"add 128", Op::Add, 32, 0x00FF8040, 0x00808080, 128, 0, -1, 0x00FFC0A0},
    {"add saturates", Op::Add, 32, 0x00FFFFFF, 0x00F0F0F0, 255, 0, -1, 0x00FFFFFF},
    {"add skips key always", Op::Add, 32, 0x00FFFFFF, 0x00101010, 255, 0, 0x00FFFFFF, 0x00101010},
    {"add 0 draws nothing", Op::Add, 32, 0x00FFFFFF, 0x00101010, 0, 0, -1, 0x00101010},
    {"add-masked 255 gives intensity", Op::AddMasked, 32, 0x000000FF, 0, 200, 255, -1, 0x000000C7},
    {"add-masked 128", Op::AddMasked, 32, 0x000000FF, 0, 200, 128, -1, 0x00000063},
    {"coverage alpha 255", Op::Coverage, 32, 0x00FFFFFF, 0, 255, 128, -1, 0x007F7F7F},
    {"coverage 255 gives alpha", Op::Coverage, 32, 0x000000FF, 0, 100, 255, -1, 0x00000063},
    {"coverage weighted", Op::Coverage, 32, 0x000000FF, 0, 100, 128, -1, 0x00000031},
    {"coverage colour kept", Op::Coverage, 32, 0x00123456, 0x00123456, 100, 128, -1, 0x00123456},
    {"blend rect", Op::BlendRect, 32, 0x00FFFFFF, 0, 128, 0, -1, 0x007F7F7F},
    {"blend rect equal kept", Op::BlendRect, 32, 0x00FFFFFF, 0x00FFFFFF, 128, 0, -1, 0x00FFFFFF},
    {"add rect", Op::AddRect, 32, 0x00204080, 0x00F08010, 0, 0, -1, 0x00FFC090},
    {"sub rect", Op::SubRect, 32, 0x00204080, 0x00F08010, 0, 0, -1, 0x00D04000},
    // 24-bit: three byte channels.
    {"24 alpha 128", Op::Alpha, 24, 0xFF8040, 0x204060, 128, 0, -1, 0x8F5F4F},
    {"24 add", Op::Add, 24, 0xFF8040, 0x808080, 128, 0, -1, 0xFFC0A0},
    // 16-bit 5-6-5: masked fields, top field computed shifted by one.
    {"16 alpha red over blue", Op::Alpha, 16, 0xF800, 0x001F, 128, 0, -1, 0x780F},
    {"16 alpha green", Op::Alpha, 16, 0x07E0, 0x0000, 200, 0, -1, 0x0620},
    {"16 alpha key without flag", Op::Alpha, 16, 0xFFFF, 0x0000, 200, 0, 0xFFFF, 0x0000},
    {"16 alpha-masked 255", Op::AlphaMasked, 16, 0x001F, 0, 100, 255, -1, 0x000B},
    {"16 coverage 255", Op::Coverage, 16, 0x001F, 0, 100, 255, -1, 0x000B},
    {"16 add saturates", Op::Add, 16, 0xFFFF, 0x0841, 255, 0, -1, 0xFFFF},
    {"16 add loses single steps", Op::Add, 16, 0x0821, 0x0000, 255, 0, -1, 0x0000},
    {"16 add rect clamps red", Op::AddRect, 16, 0x1000, 0xF000, 0, 0, -1, 0xF800},
    {"16 sub rect", Op::SubRect, 16, 0x0821, 0xFFFF, 0, 0, -1, 0xF7DE},
    // 15-bit 5-5-5.
    {"15 alpha 255 white", Op::Alpha, 15, 0x7FFF, 0x0000, 255, 0, -1, 0x7BDE},
    // 8-bit levels.
    {"8 alpha 64", Op::Alpha, 8, 200, 100, 64, 0, -1, 124},
    {"8 alpha-masked 255 weighs 199", Op::AlphaMasked, 8, 255, 0, 200, 255, -1, 198},
    {"8 add is raw", Op::Add, 8, 200, 100, 10, 0, -1, 255},
    {"8 add raw small", Op::Add, 8, 20, 30, 1, 0, -1, 50},
};

}  // namespace

TEST(DibxArithmetic, TableOfHandWorkedCases) {
    for (const Case& c : kCases) EXPECT_EQ(DrawCase(c), c.expected) << c.what << " (" << c.bits << " bits)";
}

TEST(DibxArithmetic, EveryKernelSetGivesTheSameTable) {
    for (const pixel::PixelKernels* set : pixel::AvailableKernelSets()) {
        pixel::UseKernels(set);
        for (const Case& c : kCases)
            EXPECT_EQ(DrawCase(c), c.expected) << c.what << " (" << c.bits << " bits, " << set->name << ")";
    }
    pixel::UseKernels(nullptr);
}
