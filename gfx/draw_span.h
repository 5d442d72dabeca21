#pragma once

#include <cstdint>

#include "gfx/pixel_rows.h"

namespace vesk::pixel {

// What a span of destination pixels does with its source.
enum class Family {
    Copy,       // plain copy
    KeyCopy,    // copy, skipping key pixels
    Alpha,      // constant-weight blend
    Masked,     // blend weighted by a mask (DrawMasked / DrawAlphaMasked)
    Add,        // additive
    AddMasked,  // additive weighted by a mask
    Coverage,   // one colour weighted by an 8-bit coverage source
};

// Where the source pixels of a span come from: a run of one row (walked
// backwards when mirrored), or an index per pixel. Indexes count pixels
// from the start of source row `row`; with fromRow0 they count from row 0
// and include the row (row * RowStride() + column).
struct SourceSpan {
    int row = 0;
    int x0 = 0;
    bool reversed = false;
    const std::int32_t* index = nullptr;
    bool fromRow0 = false;
};

// Draws spans of one operation from a locked source (and optional mask)
// into a locked destination. Same-format 8/16/32-bit pairs run the kernels
// straight on the rows; any other pair goes through 32-bit pixels unpacked
// from each store.
class SpanDrawer {
public:
    SpanDrawer(const LockedSurface& dst, const LockedSurface* src, const LockedSurface* mask, Family family,
               const RowParams& params);

    void Span(int dy, int dx, int n, const SourceSpan& s, const SourceSpan* m = nullptr);
    // A span whose source pixels the caller has prepared as native values
    // (palette lookups); maskRow may be null.
    void SpanFrom(int dy, int dx, int n, const std::uint32_t* values, const std::uint8_t* maskRow);

    // A plain copy depends on its source alone, so a destination row whose
    // source row equals that of an already drawn row can repeat its bytes.
    bool CanRepeatRows() const;
    void RepeatRow(int fromDy, int toDy, int dx, int n);

    // Index distance between rows for indexes that count from row 0.
    int RowStride() const;
    // Same as RowStride for the mask surface.
    int MaskRowStride() const;

private:
    template <class P>
    const P* FetchNative(const LockedSurface& from, const SourceSpan& s, int n, P* scratch);
    const std::uint32_t* FetchUnpacked(const LockedSurface& from, const SourceSpan& s, int n, std::uint32_t* scratch);
    void Run(int dy, int dx, int n, const std::uint32_t* values32, const SourceSpan* s, const std::uint8_t* maskRow);
    template <class P>
    void RunNative(P* d, const P* s, const std::uint8_t* m, int n, const KernelSet<P>& k);

    const LockedSurface& dst_;
    const LockedSurface* src_;
    const LockedSurface* mask_;
    Family family_;
    RowParams params_;
    Channels channels_;
    const PixelKernels& kernels_;
    bool native_;
    ScratchRow<std::uint32_t> src32_, dst32_;
    ScratchRow<std::uint16_t> src16_;
    ScratchRow<std::uint8_t> src8_, mask8_;
};

// Index distance between rows used by the unpacked path: columns stay below
// kMaxSurfaceSide, so row * stride + column never overflows.
inline constexpr int kUnpackedRowStride = kMaxSurfaceSide;

}  // namespace vesk::pixel
