#include "platform/headless/recording_midi_port.h"

#include <cstdio>
#include <string>

#include "common/error.h"

namespace vesk::platform {

void TRecordingMidiPort::Record(bool reset, std::span<const std::uint8_t> bytes) {
    const TMidiRecord& r = records_.emplace_back(TMidiRecord{clock_.Now(), reset, {bytes.begin(), bytes.end()}});
    if (!text_) return;
    std::string line = std::to_string(r.TimeMs);
    if (r.Reset) line += " reset";
    for (std::uint8_t b : r.Bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    line += '\n';
    try {
        text_->WriteBuffer(line.data(), static_cast<std::int64_t>(line.size()));
    } catch (const EStreamError& e) {
        writeError_ = e.what();
        text_.reset();
    }
}

}  // namespace vesk::platform
