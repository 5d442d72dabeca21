#include "gfx/fenkzlib.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>

#include "common/error.h"

namespace vesk {

namespace {

[[noreturn]] void Damaged(int code) {
    throw EVeskError("damaged zlib data in image (" + std::to_string(code) + ")");
}

// An inflate stream over the whole input, freed on every exit path.
class TInflater {
public:
    TInflater(const std::uint8_t* in, std::size_t inSize) {
        if (inSize > UINT_MAX) throw EVeskError("zlib data too large");
        z_.next_in = const_cast<Bytef*>(in);
        z_.avail_in = static_cast<uInt>(inSize);
        if (inflateInit(&z_) != Z_OK) throw EVeskError("zlib initialisation failed");
    }
    ~TInflater() { inflateEnd(&z_); }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // Fills [out, out + n) as far as the stream goes; returns the bytes written.
    std::size_t Fill(std::uint8_t* out, std::size_t n) {
        std::size_t done = 0;
        while (done < n && !ended_) {
            const std::size_t chunk = std::min<std::size_t>(n - done, UINT_MAX);
            z_.next_out = out + done;
            z_.avail_out = static_cast<uInt>(chunk);
            const int rc = inflate(&z_, Z_NO_FLUSH);
            done += chunk - z_.avail_out;
            if (rc == Z_STREAM_END) {
                ended_ = true;
            } else if (rc != Z_OK) {
                // Z_BUF_ERROR with room left means the input ran out.
                Damaged(rc);
            }
        }
        return done;
    }

    // Reads the rest of the stream, so that damage after the bytes that
    // were needed (its checksum included) is still reported.
    void Finish() {
        std::uint8_t sink[4096];
        while (!ended_) Fill(sink, sizeof sink);
    }

private:
    z_stream z_{};
    bool ended_ = false;
};

}  // namespace

std::size_t InflateInto(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t capacity) {
    TInflater z(in, inSize);
    const std::size_t n = z.Fill(out, capacity);
    z.Finish();
    return n;
}

void InflateRows(const std::uint8_t* in, std::size_t inSize, std::size_t rowBytes, int count,
                 const std::function<std::uint8_t*(int)>& rowAt) {
    TInflater z(in, inSize);
    for (int i = 0; i < count; ++i) {
        if (z.Fill(rowAt(i), rowBytes) != rowBytes) throw EVeskError("zlib image data ends early");
    }
    z.Finish();
}

bool InflateWhole(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t size) {
    struct TFree {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    // One decompressor per thread: it is 30 KB of tables, set up once.
    thread_local const std::unique_ptr<libdeflate_decompressor, TFree> d(libdeflate_alloc_decompressor());
    if (!d) throw EVeskError("zlib initialisation failed");
    std::size_t produced = 0;
    switch (libdeflate_zlib_decompress(d.get(), in, inSize, out, size, &produced)) {
        case LIBDEFLATE_SUCCESS:
            if (produced != size) throw EVeskError("zlib image data ends early");
            return true;
        case LIBDEFLATE_INSUFFICIENT_SPACE: return false;
        default: throw EVeskError("damaged zlib data in image");
    }
}

std::size_t InflateBound(std::size_t inSize) { return inSize * 1032 + 64; }

std::vector<std::uint8_t> DeflateFast(const std::uint8_t* data, std::size_t size) {
    if (size > UINT_MAX / 2) throw EVeskError("image data too large to compress");
    uLongf outSize = compressBound(static_cast<uLong>(size));
    std::vector<std::uint8_t> out(outSize);
    const int rc = compress2(out.data(), &outSize, data, static_cast<uLong>(size), 1);
    if (rc != Z_OK) throw EVeskError("zlib compression failed (" + std::to_string(rc) + ")");
    out.resize(outSize);
    return out;
}

}  // namespace vesk
