#pragma once

#include "platform/midi_port.h"

namespace vesk::platform {

// The port that plays nothing: every message that passes the checks is
// taken and dropped. It is the default port where no synthesiser is.
class TNullMidiPort final : public TMidiPort {
protected:
    void OutShort(std::span<const std::uint8_t>) override {}
    void OutSysEx(std::span<const std::uint8_t>) override {}
    void OutReset() override {}
};

}  // namespace vesk::platform
