#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/dibsfc.h"

namespace vesk {

// Block de-duplication of layered-image pixel data. A bitmap is cut into
// blocks of bw x bh pixels, numbered row by row (edge blocks are cut). The
// data is a table of one entry (source frame, source index) per block, then
// the pixel rows of the blocks stored in full, in block order. Source frame
// -1 stores the block; -2 repeats block number index of the same bitmap;
// any other value repeats the block at the same place of layer index of that
// earlier frame.
constexpr std::int32_t FK_BLOCK_STORED = -1;
constexpr std::int32_t FK_BLOCK_SAME_BITMAP = -2;

class TFenkBlockGrid {
public:
    TFenkBlockGrid(std::int32_t width, std::int32_t height, std::int32_t blockWidth, std::int32_t blockHeight,
                   int storageBits);

    std::int64_t Count() const { return cols_ * rows_; }
    std::int64_t Columns() const { return cols_; }
    TRect Block(std::int64_t number) const;
    // Bytes of one stored pixel row of a block of the given (cut) width.
    std::size_t RowBytes(std::int32_t cutWidth) const;
    // The table and every block stored: the most a block stream can hold.
    std::int64_t MaxDataBytes() const;

private:
    std::int32_t width_, height_, bw_, bh_;
    int bits_;
    std::int64_t cols_, rows_;
};

// The bitmap (or alpha companion) that a cross-frame entry names, or null
// when the entry names nothing that has been read.
using TFenkBlockSource = std::function<const TDIBSurface*(std::int32_t frame, std::int32_t layer)>;

// Decodes a block stream into target. With scrambled, the i-th stored table
// entry belongs to block number Next of TQsRandom(seed). Raises EVeskError for
// entries that name what does not exist and for data that ends early.
void DecodeFenkBlocks(const TFenkBlockGrid& grid, const std::uint8_t* data, std::size_t size, std::int32_t seed,
                      bool scrambled, TDIBSurface& target, const TFenkBlockSource& source);

// Remembers the blocks of the bitmaps already written, so that a later frame
// can refer to them instead of storing them again.
class TFenkBlockIndex {
public:
    TFenkBlockIndex(std::int32_t blockWidth, std::int32_t blockHeight);
    ~TFenkBlockIndex();

    // Encodes bitmap as a block stream (table and stored blocks, before any
    // compression), then remembers it as layer `layer` of frame `frame`.
    // alpha keeps alpha companions apart from colour bitmaps.
    std::vector<std::uint8_t> Encode(const TDIBSurface& bitmap, std::int32_t frame, std::int32_t layer, bool alpha,
                                     std::int32_t seed, bool scrambled);

private:
    struct TImpl;
    std::int32_t bw_, bh_;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace vesk
