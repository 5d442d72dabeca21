#pragma once

#include <cstdint>
#include <string>

#include "common/stream.h"

namespace vesk {

// Little-endian primitives shared by every stored format: 32-bit integers,
// strings as a 32-bit byte count and the bytes, flags as one byte, and reals
// as 10-byte extended values. Reads check every length against what is left
// in the stream and raise EStreamError instead of trusting it.

std::int32_t ReadInt32(TStream& s);
std::uint32_t ReadUInt32(TStream& s);
std::int64_t ReadInt64(TStream& s);
std::uint16_t ReadUInt16(TStream& s);
std::uint8_t ReadByte(TStream& s);
bool ReadFlag(TStream& s);  // any non-zero byte is true
std::string ReadString(TStream& s);
long double ReadExtended(TStream& s);

void WriteInt32(TStream& s, std::int32_t v);
void WriteUInt32(TStream& s, std::uint32_t v);
void WriteInt64(TStream& s, std::int64_t v);
void WriteUInt16(TStream& s, std::uint16_t v);
void WriteByte(TStream& s, std::uint8_t v);
void WriteFlag(TStream& s, bool v);
void WriteString(TStream& s, const std::string& v);
void WriteExtended(TStream& s, long double v);

// Raises EStreamError unless count items of itemSize bytes can still be read.
// Call it before allocating anything sized by a count read from a stream.
void CheckCount(TStream& s, std::int64_t count, std::int64_t itemSize);

}  // namespace vesk
