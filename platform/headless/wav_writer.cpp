#include "platform/headless/wav_writer.h"

#include <limits>

#include "common/error.h"
#include "common/stream_io.h"

namespace vesk::platform {

namespace {

constexpr std::int64_t kHeaderBytes = 44;
// The RIFF size field counts the file less its first 8 bytes in 32 bits.
constexpr std::int64_t kMaxDataBytes = std::numeric_limits<std::uint32_t>::max() - (kHeaderBytes - 8);

}  // namespace

TWavWriter::TWavWriter(std::unique_ptr<TStream> stream, int sampleRate, int channels)
    : stream_(std::move(stream)) {
    const auto blockAlign = static_cast<std::uint16_t>(channels * 2);
    stream_->WriteBuffer("RIFF", 4);
    WriteUInt32(*stream_, kHeaderBytes - 8);
    stream_->WriteBuffer("WAVEfmt ", 8);
    WriteUInt32(*stream_, 16);  // the PCM format record's size
    WriteUInt16(*stream_, 1);   // PCM
    WriteUInt16(*stream_, static_cast<std::uint16_t>(channels));
    WriteUInt32(*stream_, static_cast<std::uint32_t>(sampleRate));
    WriteUInt32(*stream_, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    WriteUInt16(*stream_, blockAlign);
    WriteUInt16(*stream_, 16);
    stream_->WriteBuffer("data", 4);
    WriteUInt32(*stream_, 0);
}

void TWavWriter::Append(std::span<const std::int16_t> samples) {
    const std::int64_t size = static_cast<std::int64_t>(samples.size()) * 2;
    if (dataBytes_ + size > kMaxDataBytes)
        throw EStreamError("WAV recording: a WAV file holds at most 4 GiB of sound");
    bytes_.resize(samples.size() * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto s = static_cast<std::uint16_t>(samples[i]);
        bytes_[2 * i] = static_cast<std::uint8_t>(s & 0xFF);
        bytes_[2 * i + 1] = static_cast<std::uint8_t>(s >> 8);
    }
    stream_->WriteBuffer(bytes_.data(), size);
    dataBytes_ += static_cast<std::uint32_t>(size);
    WriteSizes();
}

void TWavWriter::WriteSizes() {
    const std::int64_t end = stream_->Position();
    stream_->SetPosition(4);
    WriteUInt32(*stream_, static_cast<std::uint32_t>(kHeaderBytes - 8 + dataBytes_));
    stream_->SetPosition(kHeaderBytes - 4);
    WriteUInt32(*stream_, dataBytes_);
    stream_->SetPosition(end);
}

}  // namespace vesk::platform
