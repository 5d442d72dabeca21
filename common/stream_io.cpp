#include "common/stream_io.h"

#include <cstring>

#include "common/error.h"

namespace vesk {

namespace {

template <typename T>
T ReadLE(TStream& s) {
    unsigned char b[sizeof(T)];
    s.ReadBuffer(b, sizeof b);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t(b[i]) << (8 * i);
    return static_cast<T>(v);
}

template <typename T>
void WriteLE(TStream& s, T value) {
    unsigned char b[sizeof(T)];
    const auto v = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = static_cast<unsigned char>(v >> (8 * i));
    s.WriteBuffer(b, sizeof b);
}

}  // namespace

std::int32_t ReadInt32(TStream& s) { return static_cast<std::int32_t>(ReadLE<std::uint32_t>(s)); }
std::uint32_t ReadUInt32(TStream& s) { return ReadLE<std::uint32_t>(s); }
std::int64_t ReadInt64(TStream& s) { return static_cast<std::int64_t>(ReadLE<std::uint64_t>(s)); }
std::uint16_t ReadUInt16(TStream& s) { return ReadLE<std::uint16_t>(s); }
std::uint8_t ReadByte(TStream& s) { return ReadLE<std::uint8_t>(s); }
bool ReadFlag(TStream& s) { return ReadByte(s) != 0; }

std::string ReadString(TStream& s) {
    const std::int32_t len = ReadInt32(s);
    CheckCount(s, len, 1);
    std::string out(static_cast<std::size_t>(len), '\0');
    if (len > 0) s.ReadBuffer(out.data(), len);
    return out;
}

long double ReadExtended(TStream& s) {
    static_assert(sizeof(long double) >= 10, "extended reals need an 80-bit long double");
    unsigned char b[10];
    s.ReadBuffer(b, sizeof b);
    long double v = 0;
    std::memcpy(&v, b, sizeof b);
    return v;
}

void WriteInt32(TStream& s, std::int32_t v) { WriteLE(s, static_cast<std::uint32_t>(v)); }
void WriteUInt32(TStream& s, std::uint32_t v) { WriteLE(s, v); }
void WriteInt64(TStream& s, std::int64_t v) { WriteLE(s, static_cast<std::uint64_t>(v)); }
void WriteUInt16(TStream& s, std::uint16_t v) { WriteLE(s, v); }
void WriteByte(TStream& s, std::uint8_t v) { WriteLE(s, v); }
void WriteFlag(TStream& s, bool v) { WriteByte(s, v ? 1 : 0); }

void WriteString(TStream& s, const std::string& v) {
    WriteInt32(s, static_cast<std::int32_t>(v.size()));
    if (!v.empty()) s.WriteBuffer(v.data(), static_cast<std::int64_t>(v.size()));
}

void WriteExtended(TStream& s, long double v) {
    unsigned char b[16] = {};
    std::memcpy(b, &v, sizeof v < sizeof b ? sizeof v : sizeof b);
    s.WriteBuffer(b, 10);
}

void CheckCount(TStream& s, std::int64_t count, std::int64_t itemSize) {
    if (count < 0 || itemSize < 0) throw EStreamError("negative count in stream");
    if (itemSize > 0 && count > s.Remaining() / itemSize) throw EStreamError("count runs past the end of the stream");
}

}  // namespace vesk
