#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/stream.h"

namespace vesk {

// zlib streams (RFC 1950) of archive entries.

// Inflates one zlib stream into dest from its position. A damaged or
// truncated stream, or one inflating past kMaxInflatedSize, raises
// EStreamError naming what.
void InflateInto(const std::uint8_t* data, std::int64_t size, TStream& dest, const std::string& what);
// Deflates at level 1, the fastest, which is what every writer of the
// format uses.
std::vector<std::uint8_t> Deflate(const std::uint8_t* data, std::int64_t size);
// CRC-32 of the zlib/ISO-HDLC polynomial.
std::uint32_t Crc32(const std::uint8_t* data, std::int64_t size, std::uint32_t crc = 0);

}  // namespace vesk
