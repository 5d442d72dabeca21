#include "gfx/cursorfile.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/error.h"

namespace vesk {

namespace {

using TBytes = std::span<const std::uint8_t>;

EVeskError Damaged(const char* what) { return EVeskError(std::string("cursor file: ") + what); }

std::uint16_t U16(TBytes b, std::size_t at) {
    if (at > b.size() || b.size() - at < 2) throw Damaged("ends early");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(TBytes b, std::size_t at) {
    if (at > b.size() || b.size() - at < 4) throw Damaged("ends early");
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

bool IsPng(TBytes b) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return b.size() >= 8 && std::memcmp(b.data(), kSignature, 8) == 0;
}

TCursorImage ReadPng(TBytes b) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, b.data(), b.size())) throw Damaged("damaged PNG picture");
    if (image.width < 1 || image.height < 1 || image.width > kMaxCursorSide || image.height > kMaxCursorSide) {
        png_image_free(&image);
        throw Damaged("PNG picture too large");
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        png_image_free(&image);
        throw Damaged("damaged PNG picture");
    }
    TCursorImage out;
    out.Width = static_cast<int>(image.width);
    out.Height = static_cast<int>(image.height);
    out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height);
    for (std::size_t i = 0; i < out.Pixels.size(); ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        out.Pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[0]) << 16 |
                        static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    }
    return out;
}

// What the information header of a bitmap picture says.
struct TBitmapShape {
    std::uint32_t headerSize = 0;
    int width = 0, height = 0;  // height of the picture, half the stored height (colour rows, then mask rows)
    int bits = 0;
};

TBitmapShape ReadBitmapShape(TBytes b) {
    TBitmapShape s;
    s.headerSize = U32(b, 0);
    if (s.headerSize < 40 || s.headerSize > b.size()) throw Damaged("bad bitmap header");
    const auto width = static_cast<std::int32_t>(U32(b, 4));
    const auto storedHeight = static_cast<std::int32_t>(U32(b, 8));
    if (width < 1 || width > kMaxCursorSide || storedHeight < 2 || storedHeight > 2 * kMaxCursorSide)
        throw Damaged("bad bitmap size");
    if (U16(b, 12) != 1) throw Damaged("bad bitmap planes");
    s.bits = U16(b, 14);
    if (s.bits != 1 && s.bits != 4 && s.bits != 8 && s.bits != 24 && s.bits != 32)
        throw Damaged("unsupported bitmap depth");
    if (U32(b, 16) != 0) throw Damaged("compressed bitmap");
    s.width = width;
    s.height = storedHeight / 2;
    return s;
}

std::size_t RowBytes(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

// A headerless bitmap: information header, palette, colour rows and AND
// mask rows, both bottom-up. The mask makes a pixel transparent (bit set,
// colour black) or inverts the screen there (bit set, colour not black),
// which a colour cursor cannot do: such pixels are shown black. 32-bit
// pictures carry their own alpha; the mask only serves those whose alpha
// is zero everywhere, and may be left out when it does not.
TCursorImage ReadBitmap(TBytes b) {
    const TBitmapShape s = ReadBitmapShape(b);
    std::size_t at = s.headerSize;

    std::vector<std::uint32_t> palette;
    if (s.bits <= 8) {
        const std::uint32_t most = 1u << s.bits;
        std::uint32_t used = U32(b, 32);
        if (used == 0) used = most;
        if (used > most) throw Damaged("bad palette size");
        if ((b.size() - at) / 4 < used) throw Damaged("ends early");
        palette.resize(most, 0);
        for (std::uint32_t i = 0; i < used; ++i, at += 4)
            palette[i] = static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 1]) << 8 |
                         b[at];
    }

    const std::size_t colourRow = RowBytes(s.width, s.bits), maskRow = RowBytes(s.width, 1);
    const std::size_t colourBytes = colourRow * static_cast<std::size_t>(s.height);
    if (b.size() - at < colourBytes) throw Damaged("ends early");
    const TBytes colour = b.subspan(at, colourBytes);
    at += colourBytes;
    const std::size_t maskBytes = maskRow * static_cast<std::size_t>(s.height);
    const bool hasMask = b.size() - at >= maskBytes;
    const TBytes mask = hasMask ? b.subspan(at, maskBytes) : TBytes{};

    TCursorImage out;
    out.Width = s.width;
    out.Height = s.height;
    out.Pixels.resize(static_cast<std::size_t>(s.width) * s.height);
    bool anyAlpha = false;
    for (int y = 0; y < s.height; ++y) {
        const std::uint8_t* row = colour.data() + static_cast<std::size_t>(s.height - 1 - y) * colourRow;
        std::uint32_t* dest = &out.Pixels[static_cast<std::size_t>(y) * s.width];
        for (int x = 0; x < s.width; ++x) {
            switch (s.bits) {
                case 32: {
                    const std::uint8_t* p = row + x * 4;
                    dest[x] = static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
                              static_cast<std::uint32_t>(p[1]) << 8 | p[0];
                    anyAlpha = anyAlpha || p[3] != 0;
                    break;
                }
                case 24: {
                    const std::uint8_t* p = row + x * 3;
                    dest[x] = static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
                    break;
                }
                default: {
                    const int perByte = 8 / s.bits;
                    const int shift = 8 - s.bits * (x % perByte + 1);
                    dest[x] = palette[(row[x / perByte] >> shift) & ((1u << s.bits) - 1)];
                    break;
                }
            }
        }
    }
    if (anyAlpha) return out;
    if (!hasMask) throw Damaged("ends early");
    for (int y = 0; y < s.height; ++y) {
        const std::uint8_t* row = mask.data() + static_cast<std::size_t>(s.height - 1 - y) * maskRow;
        std::uint32_t* dest = &out.Pixels[static_cast<std::size_t>(y) * s.width];
        for (int x = 0; x < s.width; ++x) {
            const bool masked = (row[x / 8] >> (7 - x % 8) & 1) != 0;
            const std::uint32_t rgb = dest[x] & 0xFFFFFF;
            dest[x] = !masked ? 0xFF000000 | rgb : rgb == 0 ? 0 : 0xFF000000;
        }
    }
    return out;
}

// One picture of the icon directory, as far as choosing needs it.
struct TEntry {
    TBytes data;
    int hotX = 0, hotY = 0;
    int side = 0, bits = 0;
};

TEntry ReadEntry(TBytes file, std::size_t at, bool isCursor) {
    TEntry e;
    const std::uint32_t size = U32(file, at + 8), offset = U32(file, at + 12);
    if (offset > file.size() || size > file.size() - offset || size == 0) throw Damaged("picture outside the file");
    e.data = file.subspan(offset, size);
    if (isCursor) {
        e.hotX = U16(file, at + 4);
        e.hotY = U16(file, at + 6);
    }
    if (IsPng(e.data)) {
        // The header chunk follows the signature: width and height, big-endian.
        if (e.data.size() < 24) throw Damaged("damaged PNG picture");
        const auto be = [&](std::size_t i) {
            return static_cast<std::uint32_t>(e.data[i]) << 24 | static_cast<std::uint32_t>(e.data[i + 1]) << 16 |
                   static_cast<std::uint32_t>(e.data[i + 2]) << 8 | e.data[i + 3];
        };
        e.side = static_cast<int>(std::min<std::uint32_t>(std::max(be(16), be(20)), 1u << 20));
        e.bits = 32;
    } else {
        const TBitmapShape s = ReadBitmapShape(e.data);
        e.side = std::max(s.width, s.height);
        e.bits = s.bits;
    }
    return e;
}

TCursorImage ReadIconDirectory(TBytes file) {
    if (U16(file, 0) != 0) throw Damaged("not an icon or cursor file");
    const std::uint16_t type = U16(file, 2), count = U16(file, 4);
    if (type != 1 && type != 2) throw Damaged("not an icon or cursor file");
    if (count == 0) throw Damaged("no picture");
    if ((file.size() - 6) / 16 < count) throw Damaged("ends early");
    const bool isCursor = type == 2;

    // Nearest to the usual 32 x 32, then the most colours; pictures whose
    // header is damaged are passed over.
    const auto better = [](const TEntry& a, const TEntry& b) {
        const int da = std::abs(a.side - 32), db = std::abs(b.side - 32);
        return da != db ? da < db : a.bits > b.bits;
    };
    bool found = false;
    TEntry best;
    for (std::size_t i = 0; i < count; ++i) {
        try {
            const TEntry e = ReadEntry(file, 6 + i * 16, isCursor);
            if (!found || better(e, best)) best = e;
            found = true;
        } catch (const EVeskError&) {
        }
    }
    if (!found) throw Damaged("no readable picture");

    TCursorImage out = IsPng(best.data) ? ReadPng(best.data) : ReadBitmap(best.data);
    if (isCursor) {
        out.HotX = std::min(best.hotX, out.Width - 1);
        out.HotY = std::min(best.hotY, out.Height - 1);
    } else {
        out.HotX = out.Width / 2;
        out.HotY = out.Height / 2;
    }
    return out;
}

bool Tag(TBytes b, std::size_t at, const char* tag) {
    return at <= b.size() && b.size() - at >= 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

// The chunks of a RIFF list from..to: calls found(tag position, body) for
// each until it answers true. Bodies are padded to even lengths.
template <typename F>
bool WalkChunks(TBytes b, std::size_t from, std::size_t to, F&& found) {
    std::size_t at = from;
    while (to - at >= 8) {
        const std::uint32_t size = U32(b, at + 4);
        if (size > to - at - 8) throw Damaged("chunk outside the file");
        if (found(at, b.subspan(at + 8, size))) return true;
        at += 8 + size + (size & 1);
        if (at > to) break;
    }
    return false;
}

// An animated cursor: a RIFF "ACON" file whose "fram" list holds one
// "icon" chunk per frame, each a whole cursor file. The first one is shown.
TCursorImage ReadAnimated(TBytes file) {
    const std::uint32_t size = U32(file, 4);
    if (size < 4 || size > file.size() - 8) throw Damaged("ends early");
    TBytes frame;
    WalkChunks(file, 12, 8 + static_cast<std::size_t>(size), [&](std::size_t at, TBytes body) {
        if (!Tag(file, at, "LIST") || !Tag(body, 0, "fram")) return false;
        return WalkChunks(body, 4, body.size(), [&](std::size_t inner, TBytes icon) {
            if (!Tag(body, inner, "icon")) return false;
            frame = icon;
            return true;
        });
    });
    if (frame.empty()) throw Damaged("animated cursor without frames");
    return ReadIconDirectory(frame);
}

}  // namespace

TCursorImage ReadCursorFile(TBytes bytes) {
    if (Tag(bytes, 0, "RIFF") && Tag(bytes, 8, "ACON")) return ReadAnimated(bytes);
    return ReadIconDirectory(bytes);
}

}  // namespace vesk
