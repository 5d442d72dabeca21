#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/stream.h"

namespace vesk::platform {

// A 16-bit PCM WAV file written from the start of a stream as it grows. The header's sizes are brought
// up to date after every append, so between appends the stream always holds
// a whole file: a run that stops without closing still leaves one that
// reads to its last sample. Write failures raise EStreamError.
class TWavWriter {
public:
    TWavWriter(std::unique_ptr<TStream> stream, int sampleRate, int channels);

    // Appends interleaved samples (whole frames).
    void Append(std::span<const std::int16_t> samples);

private:
    void WriteSizes();

    std::unique_ptr<TStream> stream_;
    std::uint32_t dataBytes_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace vesk::platform
