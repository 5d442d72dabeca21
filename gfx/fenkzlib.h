#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vesk {

// zlib streams (RFC 1950) of layered-image pixel data.

// Inflates one stream into out, stopping when out is full; returns the
// number of bytes produced. Raises EVeskError for damaged or truncated data;
// the whole stream is checked, bytes beyond capacity are dropped.
std::size_t InflateInto(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t capacity);

// Inflates one stream into count rows of rowBytes bytes each, row i going to
// rowAt(i); raises EVeskError when the stream is damaged or ends early.
void InflateRows(const std::uint8_t* in, std::size_t inSize, std::size_t rowBytes, int count,
                 const std::function<std::uint8_t*(int)>& rowAt);

// Inflates one stream whose unpacked size is exactly size into out, in one
// call (libdeflate, about twice zlib's speed). Returns false, leaving out
// undefined, when the stream holds more than size bytes: such data is still
// valid and the caller reads it through the streaming path. Raises
// EVeskError for damaged data and for streams shorter than size.
bool InflateWhole(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t size);

// The most bytes a zlib stream of inSize bytes can inflate to (deflate
// cannot do better than about 1032:1); bounds buffers for data whose size
// only the stream itself tells.
std::size_t InflateBound(std::size_t inSize);

// Deflates at level 1, the fastest: image data is written often (screen
// captures) and read much more often than it is written.
std::vector<std::uint8_t> DeflateFast(const std::uint8_t* data, std::size_t size);

}  // namespace vesk
