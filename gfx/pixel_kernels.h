#pragma once

#include <cstdint>
#include <vector>

namespace vesk::pixel {

// Row kernels behind the surface operations. Each is written once (in
// pixel_kernels.inc) as a branch-free loop for the compiler to vectorise and
// compiled three times, for baseline x86-64, for AVX2 and for AVX-512; the
// set in use is the widest one the processor offers. A set may replace a
// kernel with one written for its instructions (the AVX2 set's 32-bit blend
// and add). All sets compute exactly the same results.

// Channel layout of the destination arithmetic. 32-bit stores treat each of
// the four bytes as a channel; 15/16-bit stores use the three masked fields
// (the top field computed shifted right by one); the generic layout uses the
// three masked fields as they are.
struct Channels {
    std::uint32_t top = 0;  // red mask
    std::uint32_t mid = 0;  // green mask
    std::uint32_t low = 0;  // blue mask
};

// Per-draw constants of a row kernel.
struct RowParams {
    int weight = 0;          // alpha or intensity, 0..255
    bool useKey = false;     // skip source pixels equal to key
    std::uint32_t key = 0;
    std::uint32_t colour = 0;  // the colour of a coverage draw
    bool is32 = false;       // the destination is a 32-bit store (its own special cases)
    bool skipEqual = true;   // skip source pixels equal to the destination
    bool rawAdd8 = false;    // DrawAdd into an 8-bit store: min(255, src + dst)
    bool mask255Plain = false;  // mask 255 gives the weight itself on every store
};

// Kernels over one pixel type P: d is the destination row, s the source row
// (already mirrored when the draw mirrors), m an 8-bit mask row, n pixels.
template <class P>
struct KernelSet {
    // Copy, skipping source pixels equal to key.
    void (*keyCopy)(P* d, const P* s, int n, std::uint32_t key);
    // Constant-alpha blend (DrawAlpha): skips key pixels (when useKey) and
    // pixels already equal to the source.
    void (*alpha)(P* d, const P* s, int n, const RowParams& p, const Channels& c);
    // Per-pixel mask. weight < 0: DrawMasked (mask 255 copies, else the
    // mask is the weight); otherwise DrawAlphaMasked with alpha = weight.
    void (*masked)(P* d, const P* s, const std::uint8_t* m, int n, const RowParams& p, const Channels& c);
    // Additive (DrawAdd).
    void (*add)(P* d, const P* s, int n, const RowParams& p, const Channels& c);
    // Additive with mask (DrawAddMasked).
    void (*addMasked)(P* d, const P* s, const std::uint8_t* m, int n, const RowParams& p, const Channels& c);
    // Coverage draw of one colour (DrawCoverage); weight = alpha.
    void (*coverage)(P* d, const std::uint8_t* cov, int n, std::uint32_t colour, const RowParams& p,
                     const Channels& c);
    // Rectangle operations with one value: blend (skips pixels equal to the
    // value), saturating add, saturating subtract.
    void (*blendValue)(P* d, int n, std::uint32_t value, int alpha, const Channels& c);
    void (*addValue)(P* d, int n, std::uint32_t value, const Channels& c);
    void (*subValue)(P* d, int n, std::uint32_t value, const Channels& c);
    // d[i] = s[index[i]]: the column gather of stretched and rotated draws.
    void (*gather)(P* d, const P* s, const std::int32_t* index, int n);
    // d[i] = s[n - 1 - i]: a mirrored source row.
    void (*reverse)(P* d, const P* s, int n);
};

// Source sampling of a rotated row: destination pixel i reads source column
// (u + i*du) >> 16 and row (v + i*dv) >> 16 (mirrored inside SrcRect when
// flipped); the caller has already narrowed the row to the pixels whose
// position lies inside SrcRect.
struct RotateRow {
    std::int64_t u = 0, du = 0, v = 0, dv = 0;
    int srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;
    bool flipH = false, flipV = false;
    int stride = 0;  // index distance between source rows
};

struct PixelKernels {
    const char* name;
    // index[i] = row * stride + column for the pixels of a rotated row.
    void (*rotateIndex)(std::int32_t* index, int n, const RotateRow& r);
    KernelSet<std::uint32_t> bytes32;   // 32-bit stores, byte channels
    KernelSet<std::uint16_t> fields16;  // 15/16-bit stores
    KernelSet<std::uint8_t> bytes8;     // 8-bit stores
    KernelSet<std::uint32_t> generic;   // unpacked pixels of any other store
};

const PixelKernels& BaselineKernels();
const PixelKernels& Avx2Kernels();
const PixelKernels& Avx512Kernels();
bool CpuHasAvx2();
// AVX-512 F, BW, VL and DQ, with the system saving the vector state.
bool CpuHasAvx512();

// Every set this processor can run, the baseline first.
std::vector<const PixelKernels*> AvailableKernelSets();

// The set in use: the processor's widest, unless a test or a benchmark has
// chosen one with UseKernels (nullptr goes back to the processor's choice).
const PixelKernels& Kernels();
void UseKernels(const PixelKernels* set);
void UseBaselineKernels(bool baseline);

}  // namespace vesk::pixel
