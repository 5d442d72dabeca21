#include "gfx/fenkblocks.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>

#include "common/error.h"
#include "common/rands.h"

namespace vesk {

namespace {

struct TEntry {
    std::int32_t frame = FK_BLOCK_STORED;
    std::int32_t index = 0;
};

std::int32_t LoadInt32(const std::uint8_t* p) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void StoreInt32(std::uint8_t* p, std::int32_t v) { std::memcpy(p, &v, 4); }

// One pixel row of a block as stored: whole bytes for 8 bits and more, else
// pixels packed from the most significant bit of the row's first byte.
void PackRow(const TDIBSurface& b, const TRect& r, std::int32_t y, std::uint8_t* out, std::size_t rowBytes) {
    const int bits = b.StorageBitCount();
    if (bits >= 8) {
        std::memcpy(out, b.ScanLine(y) + static_cast<std::size_t>(r.Left) * (bits / 8), rowBytes);
        return;
    }
    std::memset(out, 0, rowBytes);
    for (std::int32_t i = 0; i < r.Width(); ++i) {
        const std::uint32_t v = b.GetPixel(r.Left + i, y);
        const std::int64_t bit = static_cast<std::int64_t>(i) * bits;
        out[bit / 8] = static_cast<std::uint8_t>(out[bit / 8] | (v << (8 - bits - bit % 8)));
    }
}

void UnpackRow(TDIBSurface& b, const TRect& r, std::int32_t y, const std::uint8_t* in, std::size_t rowBytes) {
    const int bits = b.StorageBitCount();
    if (bits >= 8) {
        std::memcpy(b.ScanLine(y) + static_cast<std::size_t>(r.Left) * (bits / 8), in, rowBytes);
        return;
    }
    const std::uint32_t mask = (1u << bits) - 1;
    for (std::int32_t i = 0; i < r.Width(); ++i) {
        const std::int64_t bit = static_cast<std::int64_t>(i) * bits;
        b.SetPixel(r.Left + i, y, (in[bit / 8] >> (8 - bits - bit % 8)) & mask);
    }
}

// Copies w x h pixels from (sx, sy) of src to (dx, dy) of dst, cut to both.
void CopyRegion(TDIBSurface& dst, std::int32_t dx, std::int32_t dy, const TDIBSurface& src, std::int32_t sx,
                std::int32_t sy, std::int32_t w, std::int32_t h) {
    w = std::min({w, src.Width() - sx, dst.Width() - dx});
    h = std::min({h, src.Height() - sy, dst.Height() - dy});
    if (w <= 0 || h <= 0 || sx < 0 || sy < 0 || dx < 0 || dy < 0) return;
    const int bits = dst.StorageBitCount();
    for (std::int32_t y = 0; y < h; ++y) {
        if (bits >= 8) {
            const std::size_t bpp = static_cast<std::size_t>(bits / 8);
            std::memmove(dst.ScanLine(dy + y) + dx * bpp, src.ScanLine(sy + y) + sx * bpp, w * bpp);
        } else {
            for (std::int32_t x = 0; x < w; ++x) dst.SetPixel(dx + x, dy + y, src.GetPixel(sx + x, sy + y));
        }
    }
}

std::vector<int> Permutation(std::int64_t n, std::int32_t seed) {
    TQsRandom r(seed);
    r.Reset(static_cast<int>(n));
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int& v : order) v = r.Next();
    return order;
}

std::uint64_t HashBytes(const std::uint8_t* p, std::size_t n, std::uint64_t h = 1469598103934665603ull) {
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

}  // namespace

TFenkBlockGrid::TFenkBlockGrid(std::int32_t width, std::int32_t height, std::int32_t blockWidth,
                               std::int32_t blockHeight, int storageBits)
    : width_(width), height_(height), bw_(blockWidth), bh_(blockHeight), bits_(storageBits) {
    if (bw_ <= 0 || bh_ <= 0) throw EVeskError("invalid block size in layered image");
    cols_ = (static_cast<std::int64_t>(width_) + bw_ - 1) / bw_;
    rows_ = (static_cast<std::int64_t>(height_) + bh_ - 1) / bh_;
}

TRect TFenkBlockGrid::Block(std::int64_t number) const {
    const std::int64_t left = (number % cols_) * bw_;
    const std::int64_t top = (number / cols_) * bh_;
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(std::min<std::int64_t>(left + bw_, width_)),
            static_cast<std::int32_t>(std::min<std::int64_t>(top + bh_, height_))};
}

std::size_t TFenkBlockGrid::RowBytes(std::int32_t cutWidth) const {
    return static_cast<std::size_t>((static_cast<std::int64_t>(bits_) * cutWidth + 7) / 8);
}

std::int64_t TFenkBlockGrid::MaxDataBytes() const {
    std::int64_t perRow = 0;
    for (std::int64_t c = 0; c < cols_; ++c) perRow += static_cast<std::int64_t>(RowBytes(Block(c).Width()));
    return 8 * Count() + perRow * height_;
}

void DecodeFenkBlocks(const TFenkBlockGrid& grid, const std::uint8_t* data, std::size_t size, std::int32_t seed,
                      bool scrambled, TDIBSurface& target, const TFenkBlockSource& source) {
    const std::int64_t n = grid.Count();
    if (n > static_cast<std::int64_t>(size / 8)) throw EVeskError("block table runs past the image data");
    if (n > INT_MAX) throw EVeskError("too many blocks in layered image");
    std::vector<TEntry> entries(static_cast<std::size_t>(n));
    std::vector<int> order;
    if (scrambled) order = Permutation(n, seed);
    for (std::int64_t i = 0; i < n; ++i) {
        const std::uint8_t* p = data + 8 * i;
        entries[static_cast<std::size_t>(scrambled ? order[static_cast<std::size_t>(i)] : i)] = {LoadInt32(p),
                                                                                                  LoadInt32(p + 4)};
    }
    std::size_t at = static_cast<std::size_t>(8 * n);
    for (std::int64_t b = 0; b < n; ++b) {
        const TEntry& e = entries[static_cast<std::size_t>(b)];
        const TRect r = grid.Block(b);
        if (e.frame == FK_BLOCK_STORED) {
            const std::size_t rowBytes = grid.RowBytes(r.Width());
            if ((size - at) / rowBytes < static_cast<std::size_t>(r.Height()))
                throw EVeskError("block data runs past the image data");
            for (std::int32_t y = r.Top; y < r.Bottom; ++y, at += rowBytes) UnpackRow(target, r, y, data + at, rowBytes);
        } else if (e.frame == FK_BLOCK_SAME_BITMAP) {
            if (e.index < 0 || e.index >= b) throw EVeskError("block refers to a block not read yet");
            const TRect from = grid.Block(e.index);
            CopyRegion(target, r.Left, r.Top, target, from.Left, from.Top, r.Width(), r.Height());
        } else {
            const TDIBSurface* from = source(e.frame, e.index);
            if (!from || from->StorageBitCount() != target.StorageBitCount())
                throw EVeskError("block refers to a frame or layer that does not exist");
            CopyRegion(target, r.Left, r.Top, *from, r.Left, r.Top, r.Width(), r.Height());
        }
    }
}

struct TFenkBlockIndex::TImpl {
    struct TSeen {
        std::int32_t frame, layer;
        const TDIBSurface* bitmap;
    };
    struct TGeometry {
        std::int32_t w, h;
        int bits;
        bool alpha;
        bool operator==(const TGeometry&) const = default;
    };
    // For every geometry written so far, per block position: the first
    // bitmap seen with each block content.
    std::vector<std::pair<TGeometry, std::vector<std::unordered_map<std::uint64_t, TSeen>>>> seen;
};

TFenkBlockIndex::TFenkBlockIndex(std::int32_t blockWidth, std::int32_t blockHeight)
    : bw_(blockWidth), bh_(blockHeight), impl_(std::make_unique<TImpl>()) {}

TFenkBlockIndex::~TFenkBlockIndex() = default;

std::vector<std::uint8_t> TFenkBlockIndex::Encode(const TDIBSurface& bitmap, std::int32_t frame, std::int32_t layer,
                                                  bool alpha, std::int32_t seed, bool scrambled) {
    const TFenkBlockGrid grid(bitmap.Width(), bitmap.Height(), bw_, bh_, bitmap.StorageBitCount());
    const std::int64_t n = grid.Count();
    const TImpl::TGeometry geometry{bitmap.Width(), bitmap.Height(), bitmap.BitCount(), alpha};
    auto found = std::find_if(impl_->seen.begin(), impl_->seen.end(),
                              [&](const auto& g) { return g.first == geometry; });
    if (found == impl_->seen.end()) {
        impl_->seen.emplace_back(geometry, std::vector<std::unordered_map<std::uint64_t, TImpl::TSeen>>(
                                               static_cast<std::size_t>(n)));
        found = impl_->seen.end() - 1;
    }
    auto& positions = found->second;

    std::vector<TEntry> entries(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> stored;
    std::unordered_map<std::uint64_t, std::int64_t> inBitmap;
    std::vector<std::uint8_t> block, other;
    auto pack = [&](const TDIBSurface& b, const TRect& r, std::vector<std::uint8_t>& out) {
        const std::size_t rowBytes = grid.RowBytes(r.Width());
        out.resize(rowBytes * static_cast<std::size_t>(r.Height()));
        for (std::int32_t y = r.Top; y < r.Bottom; ++y)
            PackRow(b, r, y, out.data() + static_cast<std::size_t>(y - r.Top) * rowBytes, rowBytes);
    };
    std::vector<std::uint64_t> hashes(static_cast<std::size_t>(n));
    for (std::int64_t b = 0; b < n; ++b) {
        const TRect r = grid.Block(b);
        pack(bitmap, r, block);
        const std::uint64_t h = HashBytes(block.data(), block.size(), static_cast<std::uint64_t>(r.Width()) << 32 | static_cast<std::uint32_t>(r.Height()));
        hashes[static_cast<std::size_t>(b)] = h;
        TEntry& e = entries[static_cast<std::size_t>(b)];
        auto& atPosition = positions[static_cast<std::size_t>(b)];
        // Only earlier frames can be referred to: the reader composes each
        // frame before it reads the next. The first bitmap seen with this
        // content is the earliest, so a hit from this frame means no earlier
        // frame has it.
        if (auto it = atPosition.find(h); it != atPosition.end() && it->second.frame < frame) {
            pack(*it->second.bitmap, r, other);
            if (other == block) {
                e = {it->second.frame, it->second.layer};
                continue;
            }
        }
        if (auto it = inBitmap.find(h); it != inBitmap.end()) {
            const TRect from = grid.Block(it->second);
            if (from.Width() == r.Width() && from.Height() == r.Height()) {
                pack(bitmap, from, other);
                if (other == block) {
                    e = {FK_BLOCK_SAME_BITMAP, static_cast<std::int32_t>(it->second)};
                    continue;
                }
            }
        }
        inBitmap.emplace(h, b);
        stored.insert(stored.end(), block.begin(), block.end());
    }
    for (std::int64_t b = 0; b < n; ++b)
        positions[static_cast<std::size_t>(b)].emplace(hashes[static_cast<std::size_t>(b)],
                                                       TImpl::TSeen{frame, layer, &bitmap});

    std::vector<std::uint8_t> out(static_cast<std::size_t>(8 * n));
    std::vector<int> order;
    if (scrambled) order = Permutation(n, seed);
    for (std::int64_t i = 0; i < n; ++i) {
        const TEntry& e = entries[static_cast<std::size_t>(scrambled ? order[static_cast<std::size_t>(i)] : i)];
        StoreInt32(out.data() + 8 * i, e.frame);
        StoreInt32(out.data() + 8 * i + 4, e.index);
    }
    out.insert(out.end(), stored.begin(), stored.end());
    return out;
}

}  // namespace vesk
