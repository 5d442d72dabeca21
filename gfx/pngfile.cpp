#include "gfx/pngfile.h"

#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/dibsfc.h"
#include "gfx/fenks.h"

namespace vesk {

namespace {

// libpng reports errors by calling back and must not be returned to; the
// callback jumps to the setjmp of the phase that drives the library. Those
// phases keep only trivially destructible locals, so the jump skips no
// destructor, and the exception is raised once control is back in C++ code.
struct TPngContext {
    png_structp png = nullptr;
    png_infop info = nullptr;
    TStream* stream = nullptr;
    char message[256] = {};
};

void OnPngError(png_structp png, png_const_charp text) {
    auto* ctx = static_cast<TPngContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof ctx->message, "%s", text ? text : "unknown error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* ctx = static_cast<TPngContext*>(png_get_io_ptr(png));
    bool ok = false;
    try {
        ok = ctx->stream->Read(out, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
    } catch (...) {
        ok = false;
    }
    if (!ok) png_error(png, "PNG data ends early");
}

struct TPngShape {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0;
    // Transparency chunk: palette alphas, or one grey / colour value.
    int transCount = 0;
    png_bytep transAlpha = nullptr;
    png_color_16p transColour = nullptr;
    int paletteCount = 0;
    png_colorp palette = nullptr;
    std::size_t rowBytes = 0;
};

// Reads the header and sets the transforms: 8 bits per channel, palette and
// grey expanded to one byte per pixel, colour as B, G, R (and A).
bool ReadHeader(TPngContext& c, TPngShape& shape) {
    if (setjmp(png_jmpbuf(c.png))) return false;
    png_set_user_limits(c.png, TDIBSurface::kMaxSide, TDIBSurface::kMaxSide);
    png_set_chunk_malloc_max(c.png, 16u << 20);
    png_read_info(c.png, c.info);
    int interlace = 0;
    png_get_IHDR(c.png, c.info, &shape.width, &shape.height, &shape.depth, &shape.colourType, &interlace, nullptr,
                 nullptr);
    if (png_get_valid(c.png, c.info, PNG_INFO_tRNS))
        png_get_tRNS(c.png, c.info, &shape.transAlpha, &shape.transCount, &shape.transColour);
    if (png_get_valid(c.png, c.info, PNG_INFO_PLTE)) png_get_PLTE(c.png, c.info, &shape.palette, &shape.paletteCount);
    if (shape.depth == 16) png_set_strip_16(c.png);
    if (shape.depth < 8) png_set_packing(c.png);
    if (shape.colourType == PNG_COLOR_TYPE_GRAY && shape.depth < 8) png_set_expand_gray_1_2_4_to_8(c.png);
    if (shape.colourType & PNG_COLOR_MASK_COLOR) png_set_bgr(c.png);
    png_set_interlace_handling(c.png);
    png_read_update_info(c.png, c.info);
    shape.rowBytes = png_get_rowbytes(c.png, c.info);
    return true;
}

bool ReadRows(TPngContext& c, png_bytepp rows) {
    if (setjmp(png_jmpbuf(c.png))) return false;
    png_read_image(c.png, rows);
    png_read_end(c.png, nullptr);
    return true;
}

// Scales a transparency value of the file's depth to the 8 bits read.
std::uint32_t To8(std::uint32_t v, int depth) {
    if (depth == 16) return v >> 8;
    if (depth == 8) return v & 0xFF;
    return (v & ((1u << depth) - 1)) * 255 / ((1u << depth) - 1);
}

}  // namespace

void LoadPngFrame(TStream& stream, TFenkFrameList& list) {
    TPngContext c;
    c.stream = &stream;
    c.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &c, OnPngError, OnPngWarning);
    if (!c.png) throw EVeskError("PNG reader could not start");
    c.info = png_create_info_struct(c.png);
    struct TCleanup {
        TPngContext& c;
        ~TCleanup() { png_destroy_read_struct(&c.png, c.info ? &c.info : nullptr, nullptr); }
    } cleanup{c};
    if (!c.info) throw EVeskError("PNG reader could not start");
    png_set_read_fn(c.png, &c, OnPngRead);

    TPngShape shape;
    if (!ReadHeader(c, shape)) throw EVeskError(std::string("damaged PNG data: ") + c.message);
    const auto w = static_cast<std::int32_t>(shape.width);
    const auto h = static_cast<std::int32_t>(shape.height);
    const bool paletted = shape.colourType == PNG_COLOR_TYPE_PALETTE;
    const bool colour = !paletted && (shape.colourType & PNG_COLOR_MASK_COLOR);
    const bool hasAlphaChannel = shape.colourType & PNG_COLOR_MASK_ALPHA;
    const int channels = (colour ? 3 : 1) + (hasAlphaChannel ? 1 : 0);
    if (shape.rowBytes != static_cast<std::size_t>(w) * channels) throw EVeskError("unsupported PNG layout");

    // Palette transparency is a single key when it marks exactly one entry
    // fully transparent and every other entry opaque; otherwise the alphas
    // become a companion.
    int keyIndex = -1;
    bool paletteAlpha = false;
    if (paletted && shape.transAlpha) {
        for (int i = 0; i < shape.transCount; ++i) {
            const int a = shape.transAlpha[i];
            if (a == 0 && keyIndex < 0) {
                keyIndex = i;
            } else if (a != 255) {
                paletteAlpha = true;
            }
        }
        if (paletteAlpha) keyIndex = -1;
    }

    const int bits = colour ? 24 : 8;
    const std::int64_t bytes = TDIBSurface::BytesFor(w, h, bits) + (hasAlphaChannel || paletteAlpha ? w * std::int64_t{h} : 0);
    if (bytes < 0 || bytes > list.MemoryLimit) throw EVeskError("PNG image needs more memory than allowed");
    auto frame = std::make_unique<TFenkFrame>();
    TDIBSurface& image = frame->Image;
    image.SetSize(w, h, bits);
    if (paletted) {
        for (int i = 0; i < shape.paletteCount && i < 256; ++i) {
            const png_color& e = shape.palette[i];
            image.SetPaletteEntry(i, e.blue | (e.green << 8) | (static_cast<std::uint32_t>(e.red) << 16));
        }
    } else if (!colour) {
        image.SetGreyPalette();
    }

    // Rows the library fills: straight into the bitmap unless an alpha
    // channel has to be split off.
    std::vector<std::uint8_t> interleaved;
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    if (hasAlphaChannel) {
        interleaved.resize(shape.rowBytes * static_cast<std::size_t>(h));
        for (std::int32_t y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = interleaved.data() + y * shape.rowBytes;
    } else {
        for (std::int32_t y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = image.ScanLine(y);
    }
    if (!ReadRows(c, rows.data())) throw EVeskError(std::string("damaged PNG data: ") + c.message);

    if (hasAlphaChannel) {
        TDIBSurface& alpha = image.CreateAlpha(255);
        const int colourBytes = channels - 1;
        for (std::int32_t y = 0; y < h; ++y) {
            const std::uint8_t* src = rows[static_cast<std::size_t>(y)];
            std::uint8_t* dst = image.ScanLine(y);
            std::uint8_t* a = alpha.ScanLine(y);
            for (std::int32_t x = 0; x < w; ++x, src += channels) {
                std::memcpy(dst + x * colourBytes, src, static_cast<std::size_t>(colourBytes));
                a[x] = src[colourBytes];
            }
        }
    } else if (paletteAlpha) {
        TDIBSurface& alpha = image.CreateAlpha(255);
        for (std::int32_t y = 0; y < h; ++y) {
            const std::uint8_t* index = image.ScanLine(y);
            std::uint8_t* a = alpha.ScanLine(y);
            for (std::int32_t x = 0; x < w; ++x) a[x] = index[x] < shape.transCount ? shape.transAlpha[index[x]] : 255;
        }
    }

    frame->TransValue = -1;
    if (keyIndex >= 0) {
        frame->TransValue = keyIndex;
    } else if (!paletted && !hasAlphaChannel && shape.transColour) {
        const png_color_16& t = *shape.transColour;
        if (colour) {
            frame->TransValue = static_cast<std::int32_t>((To8(t.red, shape.depth) << 16) |
                                                          (To8(t.green, shape.depth) << 8) | To8(t.blue, shape.depth));
        } else {
            frame->TransValue = static_cast<std::int32_t>(To8(t.gray, shape.depth));
        }
    }
    frame->TransColor = frame->TransValue >= 0 ? image.ColorOf(static_cast<std::uint32_t>(frame->TransValue)) : -1;
    list.AddFrame(std::move(frame));
}

}  // namespace vesk
