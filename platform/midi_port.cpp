#include "platform/midi_port.h"

namespace vesk::platform {

bool TMidiPort::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!open_ || status < 0x80 || status > 0xEF) return false;
    const int kind = status & 0xF0;
    const std::uint8_t message[3] = {status, data1, data2};
    const std::size_t size = kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    for (std::size_t i = 1; i < size; ++i)
        if (message[i] > 0x7F) return false;
    OutShort(std::span(message, size));
    return true;
}

bool TMidiPort::SendSysEx(std::span<const std::uint8_t> message) {
    if (!open_ || message.empty() || (message[0] != 0xF0 && message[0] != 0xF7)) return false;
    OutSysEx(message);
    return true;
}

void TMidiPort::Reset() {
    if (open_) OutReset();
}

void TMidiPort::Close() {
    if (!open_) return;
    open_ = false;
    OutClose();
}

}  // namespace vesk::platform
