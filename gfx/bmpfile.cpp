#include "gfx/bmpfile.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "gfx/dibsfc.h"
#include "gfx/fenks.h"

namespace vesk {

namespace {

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

struct TBmpHeader {
    std::int32_t width = 0, height = 0;
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colours = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha
    bool hasMasks = false;
    int paletteEntryBytes = 4;
};

[[noreturn]] void Bad(const std::string& what) { throw EVeskError("damaged bitmap file: " + what); }

// Position of a mask's lowest bit and its width, for converting fields.
struct TField {
    int shift = 0, width = 0;
    explicit TField(std::uint32_t mask) {
        if (!mask) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++width;
        }
    }
    std::uint32_t To8(std::uint32_t v) const {
        if (width == 0) return 0;
        if (width >= 8) return (v >> (shift + width - 8)) & 0xFF;
        const std::uint32_t top = (1u << width) - 1;
        return ((v >> shift) & top) * 255 / top;
    }
};

TBmpHeader ReadInfoHeader(TStream& s) {
    TBmpHeader h;
    const std::uint32_t size = ReadUInt32(s);
    if (size == 12) {
        h.width = ReadUInt16(s);
        h.height = ReadUInt16(s);
        ReadUInt16(s);
        h.bits = ReadUInt16(s);
        h.paletteEntryBytes = 3;
        return h;
    }
    if (size < 40 || size > 1024) Bad("unknown header size " + std::to_string(size));
    h.width = ReadInt32(s);
    h.height = ReadInt32(s);
    ReadUInt16(s);
    h.bits = ReadUInt16(s);
    h.compression = ReadUInt32(s);
    ReadUInt32(s);
    ReadInt32(s);
    ReadInt32(s);
    h.colours = ReadUInt32(s);
    ReadUInt32(s);
    std::uint32_t left = size - 40;
    if (left >= 12) {
        for (int i = 0; i < 3; ++i) h.masks[i] = ReadUInt32(s);
        left -= 12;
        h.hasMasks = h.compression == BI_BITFIELDS;
        if (left >= 4) {
            h.masks[3] = ReadUInt32(s);
            left -= 4;
        }
    } else if (h.compression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i) h.masks[i] = ReadUInt32(s);
        h.hasMasks = true;
    }
    CheckCount(s, left, 1);
    s.Seek(left, SeekOrigin::Current);
    if (h.height < 0) {
        if (h.height == INT32_MIN) Bad("height");
        h.height = -h.height;
        h.topDown = true;
    }
    return h;
}

void DecodeRle(TStream& s, TDIBSurface& image, bool four, bool topDown) {
    const std::int32_t w = image.Width(), hgt = image.Height();
    std::int32_t x = 0, row = 0;
    auto put = [&](std::uint32_t v) {
        if (x < w && row < hgt) image.SetPixel(x, topDown ? row : hgt - 1 - row, v);
        ++x;
    };
    while (row < hgt) {
        const std::uint8_t count = ReadByte(s);
        const std::uint8_t value = ReadByte(s);
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            x += ReadByte(s);
            row += ReadByte(s);
        } else {
            const int bytes = four ? (value + 1) / 2 : value;
            std::uint8_t run[256];
            s.ReadBuffer(run, bytes);
            for (int i = 0; i < value; ++i) put(four ? ((i & 1) ? run[i / 2] & 0xF : run[i / 2] >> 4) : run[i]);
            if (bytes & 1) ReadByte(s);
        }
    }
}

}  // namespace

void LoadBmpFrame(TStream& s, TFenkFrameList& list) {
    const std::int64_t start = s.Position();
    std::int64_t pixelsAt = -1;
    char magic[2] = {};
    if (s.Read(magic, 2) == 2 && magic[0] == 'B' && magic[1] == 'M') {
        ReadUInt32(s);
        ReadUInt32(s);
        pixelsAt = start + ReadUInt32(s);
    } else {
        // A packed DIB: the information header comes first.
        s.SetPosition(start);
    }
    TBmpHeader h = ReadInfoHeader(s);
    if (h.width <= 0 || h.height <= 0) Bad("size " + std::to_string(h.width) + "x" + std::to_string(h.height));
    const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (h.compression > BI_BITFIELDS || (h.compression == BI_RLE8 && h.bits != 8) ||
        (h.compression == BI_RLE4 && h.bits != 4) || (h.compression == BI_BITFIELDS && h.bits != 16 && h.bits != 32))
        Bad("unsupported compression " + std::to_string(h.compression));
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32)
        throw EVeskError("unsupported bit count " + std::to_string(h.bits));
    if (rle && h.topDown) Bad("top-down compressed bitmap");

    // The bitmap this file becomes: paletted and 24-bit files as they are;
    // 16-bit files as 5-5-5 or 5-6-5 when their masks are one of those, else
    // 24 bits; 32-bit files as 24 bits with their alpha byte split off.
    if (h.bits == 16 && !h.hasMasks) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    }
    if (h.bits == 32 && !h.hasMasks) {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0x00FF00;
        h.masks[2] = 0x0000FF;
        h.masks[3] = 0xFF000000;
    }
    int bits = h.bits;
    if (h.bits == 16) {
        const bool is555 = h.masks[0] == 0x7C00 && h.masks[1] == 0x03E0 && h.masks[2] == 0x001F;
        const bool is565 = h.masks[0] == 0xF800 && h.masks[1] == 0x07E0 && h.masks[2] == 0x001F;
        bits = is555 ? 15 : is565 ? 16 : 24;
    } else if (h.bits == 32) {
        bits = 24;
    }
    const std::int64_t bytes = TDIBSurface::BytesFor(h.width, h.height, bits) +
                               (h.bits == 32 ? std::int64_t{h.width} * h.height : 0);
    if (bytes < 0 || bytes > list.MemoryLimit) throw EVeskError("bitmap needs more memory than allowed");

    auto frame = std::make_unique<TFenkFrame>();
    TDIBSurface& image = frame->Image;
    image.SetSize(h.width, h.height, bits);
    if (h.bits <= 8) {
        const std::uint32_t entries = h.colours == 0 || h.colours > (1u << h.bits) ? 1u << h.bits : h.colours;
        CheckCount(s, entries, h.paletteEntryBytes);
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::uint8_t e[4] = {};
            s.ReadBuffer(e, h.paletteEntryBytes);
            image.SetPaletteEntry(static_cast<int>(i), e[0] | (e[1] << 8) | (static_cast<std::uint32_t>(e[2]) << 16));
        }
    }
    if (pixelsAt >= 0) s.SetPosition(pixelsAt);

    if (rle) {
        DecodeRle(s, image, h.compression == BI_RLE4, false);
    } else {
        const std::int64_t stride = ((static_cast<std::int64_t>(h.width) * h.bits + 31) / 32) * 4;
        CheckCount(s, h.height, stride);
        std::vector<std::uint8_t> row(static_cast<std::size_t>(stride));
        const TField fields[4] = {TField(h.masks[0]), TField(h.masks[1]), TField(h.masks[2]), TField(h.masks[3])};
        TDIBSurface* alpha = h.bits == 32 && h.masks[3] ? &image.CreateAlpha(255) : nullptr;
        bool anyAlpha = false;
        for (std::int32_t i = 0; i < h.height; ++i) {
            s.ReadBuffer(row.data(), stride);
            const std::int32_t y = h.topDown ? i : h.height - 1 - i;
            std::uint8_t* out = image.ScanLine(y);
            if (bits == h.bits || (bits == 15 && h.bits == 16)) {
                std::memcpy(out, row.data(), static_cast<std::size_t>(image.RowBytes()));
                continue;
            }
            const int inBytes = h.bits / 8;
            for (std::int32_t x = 0; x < h.width; ++x) {
                std::uint32_t v = 0;
                std::memcpy(&v, row.data() + x * inBytes, static_cast<std::size_t>(inBytes));
                out[3 * x] = static_cast<std::uint8_t>(fields[2].To8(v));
                out[3 * x + 1] = static_cast<std::uint8_t>(fields[1].To8(v));
                out[3 * x + 2] = static_cast<std::uint8_t>(fields[0].To8(v));
                if (alpha) {
                    const auto a = static_cast<std::uint8_t>(fields[3].To8(v));
                    alpha->ScanLine(y)[x] = a;
                    anyAlpha |= a != 0;
                }
            }
        }
        // Most 32-bit bitmaps leave the fourth byte 0 without meaning it as
        // alpha; such a file is shown opaque rather than not at all.
        if (alpha && !anyAlpha) image.DropAlpha();
    }
    frame->TransValue = -1;
    frame->TransColor = -1;
    list.AddFrame(std::move(frame));
}

}  // namespace vesk
