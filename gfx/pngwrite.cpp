#include "gfx/pngwrite.h"

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/dibsfc.h"

namespace vesk {

namespace {

// As in the reader: libpng errors jump back to the setjmp of WriteRows,
// whose locals are trivially destructible.
struct TPngWriteContext {
    png_structp png = nullptr;
    png_infop info = nullptr;
    TStream* stream = nullptr;
    char message[256] = {};
};

void OnError(png_structp png, png_const_charp text) {
    auto* ctx = static_cast<TPngWriteContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof ctx->message, "%s", text ? text : "unknown error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnWrite(png_structp png, png_bytep data, png_size_t count) {
    auto* ctx = static_cast<TPngWriteContext*>(png_get_io_ptr(png));
    bool ok = false;
    try {
        ok = ctx->stream->Write(data, static_cast<std::int64_t>(count)) == static_cast<std::int64_t>(count);
    } catch (...) {
        ok = false;
    }
    if (!ok) png_error(png, "PNG write failed");
}

void OnFlush(png_structp) {}

bool WriteRows(TPngWriteContext& c, png_uint_32 w, png_uint_32 h, bool alpha, png_bytepp rows) {
    if (setjmp(png_jmpbuf(c.png))) return false;
    png_set_IHDR(c.png, c.info, w, h, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(c.png, c.info);
    png_write_image(c.png, rows);
    png_write_end(c.png, nullptr);
    return true;
}

}  // namespace

void SavePng(TStream& stream, const TDIBSurface& image) {
    if (image.IsEmpty()) throw EVeskError("cannot write an empty image as PNG");
    const int w = image.Width(), h = image.Height();
    const TDIBSurface* alpha = image.Alpha();
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * channels);
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        std::uint8_t* out = pixels.data() + static_cast<std::size_t>(y) * w * channels;
        rows[static_cast<std::size_t>(y)] = out;
        for (int x = 0; x < w; ++x, out += channels) {
            const auto c = static_cast<std::uint32_t>(image.ColorOf(image.GetPixel(x, y)));
            out[0] = static_cast<std::uint8_t>(c);
            out[1] = static_cast<std::uint8_t>(c >> 8);
            out[2] = static_cast<std::uint8_t>(c >> 16);
            if (alpha) out[3] = alpha->ScanLine(y)[x];
        }
    }
    TPngWriteContext c;
    c.stream = &stream;
    c.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &c, OnError, OnWarning);
    if (!c.png) throw EVeskError("PNG writer could not start");
    c.info = png_create_info_struct(c.png);
    struct TCleanup {
        TPngWriteContext& c;
        ~TCleanup() { png_destroy_write_struct(&c.png, c.info ? &c.info : nullptr); }
    } cleanup{c};
    if (!c.info) throw EVeskError("PNG writer could not start");
    png_set_write_fn(c.png, &c, OnWrite, OnFlush);
    if (!WriteRows(c, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), alpha != nullptr, rows.data()))
        throw EVeskError(std::string("PNG write failed: ") + c.message);
}

}  // namespace vesk
