#pragma once

// Cursor, icon and animated cursor files made byte by byte, as the classic
// tools write them: an icon directory, then per picture an information
// header, the palette, the colour rows and the AND mask rows (bottom-up),
// or a PNG file.
#include <png.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vesk::test {

using TFileBytes = std::vector<std::uint8_t>;

inline void Put16(TFileBytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(TFileBytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutAt32(TFileBytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One picture. colour gives a palette index for 1, 4 and 8 bits, else
// 0xAARRGGBB (24 bits drop the alpha); masked sets the AND bit.
struct TCursorPicture {
    int width = 32, height = 32, bits = 32;
    int hotX = 0, hotY = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::function<std::uint32_t(int, int)> colour = [](int, int) { return 0u; };
    std::function<bool(int, int)> masked = [](int, int) { return false; };
    bool png = false;  // stored as a PNG file of the colours instead
    bool withMask = true;
};

inline TFileBytes PngBytes(const TCursorPicture& p) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = p.colour(x, y);
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                                     static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 24)});
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(p.width);
    image.height = static_cast<png_uint_32>(p.height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    TFileBytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}

inline TFileBytes BitmapBytes(const TCursorPicture& p) {
    TFileBytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(p.width));
    Put32(b, static_cast<std::uint32_t>(p.height * 2));
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(p.bits));
    for (int i = 0; i < 6; ++i) Put32(b, i == 4 && p.bits <= 8 ? static_cast<std::uint32_t>(p.palette.size()) : 0);
    for (std::uint32_t c : p.palette) Put32(b, c);
    const auto rows = [&](int bits, const std::function<std::uint32_t(int, int)>& value) {
        const std::size_t rowBytes = (static_cast<std::size_t>(p.width) * bits + 31) / 32 * 4;
        for (int y = p.height - 1; y >= 0; --y) {
            TFileBytes row(rowBytes, 0);
            for (int x = 0; x < p.width; ++x) {
                const std::uint32_t v = value(x, y);
                if (bits >= 24) {
                    for (int k = 0; k < bits / 8; ++k) row[x * (bits / 8) + k] = static_cast<std::uint8_t>(v >> (8 * k));
                } else {
                    const int perByte = 8 / bits;
                    row[x / perByte] |= static_cast<std::uint8_t>(v << (8 - bits * (x % perByte + 1)));
                }
            }
            b.insert(b.end(), row.begin(), row.end());
        }
    };
    rows(p.bits, p.colour);
    if (p.withMask) rows(1, [&](int x, int y) { return p.masked(x, y) ? 1u : 0u; });
    return b;
}

// type 1: icon, 2: cursor (the directory then holds the hot spots).
inline TFileBytes IconFile(int type, const std::vector<TCursorPicture>& pictures) {
    TFileBytes b;
    Put16(b, 0);
    Put16(b, static_cast<unsigned>(type));
    Put16(b, static_cast<unsigned>(pictures.size()));
    std::vector<TFileBytes> images;
    for (const TCursorPicture& p : pictures) images.push_back(p.png ? PngBytes(p) : BitmapBytes(p));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TCursorPicture& p = pictures[i];
        b.push_back(static_cast<std::uint8_t>(p.width & 0xFF));
        b.push_back(static_cast<std::uint8_t>(p.height & 0xFF));
        b.push_back(0);
        b.push_back(0);
        Put16(b, type == 2 ? static_cast<unsigned>(p.hotX) : 1);
        Put16(b, type == 2 ? static_cast<unsigned>(p.hotY) : static_cast<unsigned>(p.bits));
        Put32(b, static_cast<std::uint32_t>(images[i].size()));
        Put32(b, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const TFileBytes& image : images) b.insert(b.end(), image.begin(), image.end());
    return b;
}

inline void PutChunk(TFileBytes& b, const std::string& tag, const TFileBytes& body) {
    b.insert(b.end(), tag.begin(), tag.end());
    Put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
}

// A RIFF "ACON" file: its header chunk, then the frames (whole cursor files).
inline TFileBytes AnimatedCursor(const std::vector<TFileBytes>& frames) {
    TFileBytes header;
    Put32(header, 36);
    Put32(header, static_cast<std::uint32_t>(frames.size()));
    Put32(header, static_cast<std::uint32_t>(frames.size()));
    for (int i = 0; i < 6; ++i) Put32(header, i == 4 ? 10 : i == 5 ? 1 : 0);  // size, bits, planes: 0; rate; flags
    TFileBytes list{'f', 'r', 'a', 'm'};
    for (const TFileBytes& f : frames) PutChunk(list, "icon", f);
    TFileBytes body{'A', 'C', 'O', 'N'};
    PutChunk(body, "anih", header);
    PutChunk(body, "LIST", list);
    TFileBytes file{'R', 'I', 'F', 'F'};
    Put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace vesk::test
