#include "gfx/draw_span.h"

#include <cstring>

namespace vesk::pixel {

SpanDrawer::SpanDrawer(const LockedSurface& dst, const LockedSurface* src, const LockedSurface* mask,
                       Family family, const RowParams& params)
    : dst_(dst),
      src_(src),
      mask_(mask),
      family_(family),
      params_(params),
      channels_(ChannelsOf(dst.Surface())),
      kernels_(Kernels()),
      native_(IsNativeBpp(dst.Bpp()) && (!src || src->Bpp() == dst.Bpp())) {
    params_.is32 = dst.Surface().BitCount() == 32;
}

int SpanDrawer::RowStride() const {
    if (!native_) return kUnpackedRowStride;
    return src_ ? src_->Pitch() / (src_->Bpp() / 8) : 0;
}

int SpanDrawer::MaskRowStride() const { return mask_ ? mask_->Pitch() : 0; }

template <class P>
const P* SpanDrawer::FetchNative(const LockedSurface& from, const SourceSpan& s, int n, P* scratch) {
    const KernelSet<P>* k;
    if constexpr (sizeof(P) == 4) k = &kernels_.bytes32;
    else if constexpr (sizeof(P) == 2) k = &kernels_.fields16;
    else k = &kernels_.bytes8;
    if (s.index) {
        const P* base = reinterpret_cast<const P*>(from.Row(s.fromRow0 ? 0 : s.row));
        k->gather(scratch, base, s.index, n);
        return scratch;
    }
    const P* row = reinterpret_cast<const P*>(from.Row(s.row)) + s.x0;
    if (!s.reversed) return row;
    k->reverse(scratch, row, n);
    return scratch;
}

const std::uint32_t* SpanDrawer::FetchUnpacked(const LockedSurface& from, const SourceSpan& s, int n,
                                               std::uint32_t* out) {
    const int bpp = from.Bpp();
    if (s.index) {
        for (int i = 0; i < n; ++i) {
            int row = s.row, col = s.index[i];
            if (s.fromRow0) {  // both parts are non-negative here
                row = col / kUnpackedRowStride;
                col %= kUnpackedRowStride;
            }
            out[i] = ReadPixel(from.Row(row), col, bpp);
        }
        return out;
    }
    const std::uint8_t* row = from.Row(s.row);
    for (int i = 0; i < n; ++i) out[i] = ReadPixel(row, s.reversed ? s.x0 + n - 1 - i : s.x0 + i, bpp);
    return out;
}

template <class P>
void SpanDrawer::RunNative(P* d, const P* s, const std::uint8_t* m, int n, const KernelSet<P>& k) {
    switch (family_) {
        case Family::Copy:  // a gathered or mirrored source is already in place
            if (d != s) std::memcpy(d, s, std::size_t(n) * sizeof(P));
            break;
        case Family::KeyCopy: k.keyCopy(d, s, n, params_.key); break;
        case Family::Alpha: k.alpha(d, s, n, params_, channels_); break;
        case Family::Masked: k.masked(d, s, m, n, params_, channels_); break;
        case Family::Add: k.add(d, s, n, params_, channels_); break;
        case Family::AddMasked: k.addMasked(d, s, m, n, params_, channels_); break;
        case Family::Coverage: k.coverage(d, m, n, params_.colour, params_, channels_); break;
    }
}

bool SpanDrawer::CanRepeatRows() const { return family_ == Family::Copy && dst_.Bpp() % 8 == 0; }

void SpanDrawer::RepeatRow(int fromDy, int toDy, int dx, int n) {
    const std::size_t bytes = std::size_t(dst_.Bpp() / 8);
    std::memcpy(dst_.Row(toDy) + std::size_t(dx) * bytes, dst_.Row(fromDy) + std::size_t(dx) * bytes,
                std::size_t(n) * bytes);
}

void SpanDrawer::Span(int dy, int dx, int n, const SourceSpan& s, const SourceSpan* m) {
    if (n <= 0) return;
    const std::uint8_t* maskRow = nullptr;
    if (m && mask_) maskRow = FetchNative<std::uint8_t>(*mask_, *m, n, mask8_.Get(n));
    Run(dy, dx, n, nullptr, &s, maskRow);
}

void SpanDrawer::SpanFrom(int dy, int dx, int n, const std::uint32_t* values, const std::uint8_t* maskRow) {
    if (n <= 0) return;
    Run(dy, dx, n, values, nullptr, maskRow);
}

namespace {
template <class P>
const P* Narrow(const std::uint32_t* v, int n, P* out) {
    for (int i = 0; i < n; ++i) out[i] = P(v[i]);
    return out;
}
}  // namespace

void SpanDrawer::Run(int dy, int dx, int n, const std::uint32_t* values, const SourceSpan* s,
                     const std::uint8_t* maskRow) {
    std::uint8_t* drow = dst_.Row(dy);
    const bool hasSource = values || (s && src_);
    if (IsNativeBpp(dst_.Bpp()) && (values || !src_ || native_)) {
        // A copy gathers or mirrors its source straight into the destination
        // row (the source is never the destination: self-draws read a copy).
        const bool intoDest = family_ == Family::Copy;
        switch (dst_.Bpp()) {
            case 32: {
                auto* d = reinterpret_cast<std::uint32_t*>(drow) + dx;
                const std::uint32_t* sp = values      ? values
                                          : hasSource ? FetchNative(*src_, *s, n, intoDest ? d : src32_.Get(n))
                                                      : nullptr;
                RunNative(d, sp, maskRow, n, kernels_.bytes32);
                return;
            }
            case 16: {
                auto* d = reinterpret_cast<std::uint16_t*>(drow) + dx;
                const std::uint16_t* sp = values      ? Narrow(values, n, src16_.Get(n))
                                          : hasSource ? FetchNative(*src_, *s, n, intoDest ? d : src16_.Get(n))
                                                      : nullptr;
                RunNative(d, sp, maskRow, n, kernels_.fields16);
                return;
            }
            default: {
                std::uint8_t* d = drow + dx;
                const std::uint8_t* sp = values      ? Narrow(values, n, src8_.Get(n))
                                         : hasSource ? FetchNative(*src_, *s, n, intoDest ? d : src8_.Get(n))
                                                     : nullptr;
                RunNative(d, sp, maskRow, n, kernels_.bytes8);
                return;
            }
        }
    }
    // Unpacked path: any store, any pair of stores.
    std::uint32_t* d = dst32_.Get(n);
    UnpackRow(drow, dx, n, dst_.Bpp(), d);
    const std::uint32_t* sp = values ? values : hasSource ? FetchUnpacked(*src_, *s, n, src32_.Get(n)) : nullptr;
    RunNative(d, sp, maskRow, n, dst_.Bpp() == 32 ? kernels_.bytes32 : kernels_.generic);
    PackRow(drow, dx, n, dst_.Bpp(), d);
}

}  // namespace vesk::pixel
