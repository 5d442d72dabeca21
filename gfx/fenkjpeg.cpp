#include "gfx/fenkjpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "common/error.h"
#include "gfx/dibsfc.h"

namespace vesk {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back to the setjmp in the one function that drives the library;
// those functions hold only trivially destructible locals, so the jump skips
// no destructor, and the C++ exception is raised after the jump.
struct TJpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (corrupt but decodable data) are not fatal: the image is shown as
// the decoder recovers it.
void OnJpegMessage(j_common_ptr, int) {}

void InstallErrors(TJpegError& err, jpeg_error_mgr*& slot) {
    slot = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.emit_message = OnJpegMessage;
    err.message[0] = '\0';
}

// Converts one decoded row (BGR, or RGB565 for 16 bits) into the bitmap's
// own pixels where the decoder cannot write them directly.
void StoreConvertedRow(TDIBSurface& target, int y, const std::uint8_t* bgr) {
    const int w = target.Width();
    std::uint8_t* row = target.ScanLine(y);
    if (target.BitCount() == 15) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = bgr + 3 * x;
            const unsigned v = ((p[2] >> 3u) << 10) | ((p[1] >> 3u) << 5) | (p[0] >> 3u);
            row[2 * x] = static_cast<std::uint8_t>(v);
            row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        }
        return;
    }
    for (int x = 0; x < w; ++x) {
        const std::uint8_t* p = bgr + 3 * x;
        const std::int32_t colour = p[2] | (p[1] << 8) | (p[0] << 16);
        target.SetPixel(x, y, static_cast<std::uint32_t>(target.NearestPaletteIndex(colour)));
    }
}

// Returns false with err.message set on failure.
bool RunDecode(jpeg_decompress_struct& cinfo, TJpegError& err, const std::uint8_t* data, std::size_t size,
               TDIBSurface& target, std::uint8_t* scratch, bool& sizeMismatch) {
    if (setjmp(err.jump)) return false;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<long>(cinfo.image_width) != target.Width() ||
        static_cast<long>(cinfo.image_height) != target.Height()) {
        sizeMismatch = true;
        return false;
    }
    const int bits = target.BitCount();
    const bool direct = bits == 24 || bits == 32 || bits == 16;
    cinfo.out_color_space = bits == 32 ? JCS_EXT_BGRX : bits == 16 ? JCS_RGB565 : JCS_EXT_BGR;
    cinfo.dither_mode = JDITHER_NONE;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW row = direct ? target.ScanLine(y) : scratch;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (!direct) StoreConvertedRow(target, y, scratch);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool RunEncode(jpeg_compress_struct& cinfo, TJpegError& err, const TDIBSurface& image, int quality,
               std::uint8_t* scratch, unsigned char** out, unsigned long* outSize) {
    if (setjmp(err.jump)) return false;
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = static_cast<JDIMENSION>(image.Width());
    cinfo.image_height = static_cast<JDIMENSION>(image.Height());
    const int bits = image.BitCount();
    const bool direct = bits == 24 || bits == 32;
    cinfo.input_components = bits == 32 ? 4 : 3;
    cinfo.in_color_space = bits == 32 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        if (!direct) {
            for (int x = 0; x < image.Width(); ++x) {
                const auto c = static_cast<std::uint32_t>(image.ColorOf(image.GetPixel(x, y)));
                scratch[3 * x] = static_cast<std::uint8_t>(c >> 16);
                scratch[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
                scratch[3 * x + 2] = static_cast<std::uint8_t>(c);
            }
        }
        JSAMPROW row = direct ? const_cast<std::uint8_t*>(image.ScanLine(y)) : scratch;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

void DecodeJpegInto(const std::uint8_t* data, std::size_t size, TDIBSurface& target) {
    if (size == 0 || size > 0x7FFFFFFF) throw EVeskError("damaged JPEG data in image");
    jpeg_decompress_struct cinfo{};
    TJpegError err;
    InstallErrors(err, cinfo.err);
    jpeg_create_decompress(&cinfo);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(target.Width()) * 3 + 16);
    bool sizeMismatch = false;
    const bool ok = RunDecode(cinfo, err, data, size, target, scratch.data(), sizeMismatch);
    jpeg_destroy_decompress(&cinfo);
    if (sizeMismatch) throw EVeskError("JPEG data does not match the image size");
    if (!ok) throw EVeskError(std::string("damaged JPEG data in image: ") + err.message);
}

std::vector<std::uint8_t> EncodeJpeg(const TDIBSurface& image, int quality) {
    if (image.IsEmpty()) throw EVeskError("cannot encode an empty image as JPEG");
    jpeg_compress_struct cinfo{};
    TJpegError err;
    InstallErrors(err, cinfo.err);
    jpeg_create_compress(&cinfo);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(image.Width()) * 3 + 16);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    const bool ok = RunEncode(cinfo, err, image, quality < 0 ? 0 : quality > 100 ? 100 : quality, scratch.data(),
                              &out, &outSize);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> bytes;
    if (ok && out) bytes.assign(out, out + outSize);
    std::free(out);
    if (!ok) throw EVeskError(std::string("JPEG encoding failed: ") + err.message);
    return bytes;
}

}  // namespace vesk
