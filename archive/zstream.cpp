#include "archive/zstream.h"

#include <zlib.h>

#include <algorithm>

#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "common/error.h"

namespace vesk {

namespace {

// zlib counts in 32-bit units; feed it in slices no larger than this.
constexpr std::int64_t kSlice = std::int64_t(1) << 30;

[[noreturn]] void Broken(const std::string& what) { throw EStreamError(what + Sj(":圧縮データが壊れています")); }

}  // namespace

void InflateInto(const std::uint8_t* data, std::int64_t size, TStream& dest, const std::string& what) {
    z_stream z {};
    if (inflateInit(&z) != Z_OK) throw EStreamError("inflateInit");
    struct Guard {
        z_stream& z;
        ~Guard() { inflateEnd(&z); }
    } guard{z};

    // The content size is not stored, so the content is inflated into a
    // buffer kept per thread (it only grows, and is not cleared again), then
    // handed over in one write.
    thread_local std::vector<std::uint8_t> out;
    if (out.size() < (std::size_t(1) << 20)) out.resize(std::size_t(1) << 20);
    std::int64_t produced = 0;
    std::int64_t inLeft = size;
    const std::uint8_t* in = data;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (inLeft == 0) Broken(what);  // truncated
            const std::int64_t n = std::min(inLeft, kSlice);
            z.next_in = const_cast<Bytef*>(in);
            z.avail_in = static_cast<uInt>(n);
            in += n;
            inLeft -= n;
        }
        if (produced == static_cast<std::int64_t>(out.size())) {
            if (produced >= kMaxInflatedSize) Broken(what);
            out.resize(static_cast<std::size_t>(std::min<std::int64_t>(produced * 2, kMaxInflatedSize)));
        }
        const std::int64_t room = std::min<std::int64_t>(static_cast<std::int64_t>(out.size()) - produced, kSlice);
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(room);
        // All the input is there, so Z_FINISH: when the output fits, zlib
        // then skips copying it into its window.
        rc = inflate(&z, Z_FINISH);
        if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) Broken(what);
        const std::int64_t got = room - z.avail_out;
        if (rc == Z_BUF_ERROR && got == 0 && z.avail_in != 0) Broken(what);
        produced += got;
    }
    dest.WriteBuffer(out.data(), produced);
    // A rare huge entry should not keep its memory for the rest of the run.
    if (out.size() > (std::size_t(64) << 20)) std::vector<std::uint8_t>().swap(out);
}

std::vector<std::uint8_t> Deflate(const std::uint8_t* data, std::int64_t size) {
    z_stream z {};
    if (deflateInit(&z, 1) != Z_OK) throw EStreamError("deflateInit");
    struct Guard {
        z_stream& z;
        ~Guard() { deflateEnd(&z); }
    } guard{z};
    std::vector<std::uint8_t> out(static_cast<std::size_t>(compressBound(static_cast<uLong>(std::min(size, kSlice)))) + 64);
    std::int64_t inLeft = size;
    const std::uint8_t* in = data;
    std::int64_t produced = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0 && inLeft > 0) {
            const std::int64_t n = std::min(inLeft, kSlice);
            z.next_in = const_cast<Bytef*>(in);
            z.avail_in = static_cast<uInt>(n);
            in += n;
            inLeft -= n;
        }
        if (produced == static_cast<std::int64_t>(out.size())) out.resize(out.size() * 2);
        const std::int64_t room = std::min<std::int64_t>(static_cast<std::int64_t>(out.size()) - produced, kSlice);
        z.next_out = out.data() + produced;
        z.avail_out = static_cast<uInt>(room);
        rc = deflate(&z, inLeft == 0 ? Z_FINISH : Z_NO_FLUSH);
        if (rc == Z_STREAM_ERROR) throw EStreamError("deflate");
        produced += room - z.avail_out;
    }
    out.resize(static_cast<std::size_t>(produced));
    return out;
}

std::uint32_t Crc32(const std::uint8_t* data, std::int64_t size, std::uint32_t crc) {
    uLong c = crc;
    while (size > 0) {
        const std::int64_t n = std::min(size, kSlice);
        c = crc32(c, data, static_cast<uInt>(n));
        data += n;
        size -= n;
    }
    return static_cast<std::uint32_t>(c);
}

}  // namespace vesk
