#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "platform/clock.h"
#include "platform/midi_port.h"

namespace vesk::platform {

// A message as the recording port received it.
struct TMidiRecord {
    std::uint32_t TimeMs = 0;         // the clock when it arrived
    bool Reset = false;               // a Reset, which has no bytes
    std::vector<std::uint8_t> Bytes;  // a short message or a whole system-exclusive one
    friend bool operator==(const TMidiRecord&, const TMidiRecord&) = default;
};

// The MIDI port of a run without a synthesiser: it keeps every message it
// receives, in order and stamped with the run's clock, and writes each as a
// line of text to a stream when one is given: the time in milliseconds and
// the bytes in hexadecimal ("1500 90 3C 64"), or the time and "reset". Sends
// never throw, so a failed write stops the text (the records go on) and
// leaves its reason in WriteError.
class TRecordingMidiPort final : public TMidiPort {
public:
    // text may be shared with other ports, which then write in turn.
    explicit TRecordingMidiPort(TClock& clock, std::shared_ptr<TStream> text = nullptr)
        : clock_(clock), text_(std::move(text)) {}

    const std::vector<TMidiRecord>& Records() const { return records_; }
    const std::string& WriteError() const { return writeError_; }

protected:
    void OutShort(std::span<const std::uint8_t> message) override { Record(false, message); }
    void OutSysEx(std::span<const std::uint8_t> message) override { Record(false, message); }
    void OutReset() override { Record(true, {}); }
    void OutClose() override { text_.reset(); }

private:
    void Record(bool reset, std::span<const std::uint8_t> bytes);

    TClock& clock_;
    std::shared_ptr<TStream> text_;
    std::vector<TMidiRecord> records_;
    std::string writeError_;
};

}  // namespace vesk::platform
