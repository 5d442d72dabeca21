#pragma once

#include <cstdint>
#include <span>

namespace vesk::platform {

// One open MIDI output port: a synthesiser or a port of the system's MIDI
// sequencer. The port keeps no time of its own; the sequencer sends each
// message when it is due and the port passes it on at once. Calls come from
// one thread at a time (the sequencer's hold protocol keeps its timer thread
// and the main thread apart), so a port needs no lock of its own. Sends never
// throw: the sequencer's timer thread has no one to report to.
//
// Every port checks the messages the same way before a backend sees them,
// so a damaged file is refused alike whatever port plays it.
class TMidiPort {
public:
    // A backend that holds a device calls Close from its own destructor.
    virtual ~TMidiPort() = default;

    // A channel message: a status 0x80-0xEF and its data bytes, one for
    // program change (0xCn) and channel pressure (0xDn), two for the others;
    // data2 is ignored where there is one. False, and nothing sent, for any
    // other status, a data byte above 0x7F, or a closed port.
    bool SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0);

    // A system-exclusive message as a MIDI file stores it: 0xF0 and the
    // bytes up to and including the closing 0xF7, or an escape packet that
    // starts with 0xF7. False, and nothing sent, when it is empty, starts
    // with any other byte, or the port is closed.
    bool SendSysEx(std::span<const std::uint8_t> message);

    // Silences the port: every sounding note on the 16 channels stops and
    // the sustain pedals go up, as the sequencer asks when it lets the port
    // go. Programs and controllers stay as they are.
    void Reset();

    // Lets the port go; later sends return false. Closing twice is harmless.
    void Close();
    bool IsOpen() const { return open_; }

protected:
    // Called only while the port is open, with messages that passed the
    // checks: a short message is its status and its one or two data bytes.
    virtual void OutShort(std::span<const std::uint8_t> message) = 0;
    virtual void OutSysEx(std::span<const std::uint8_t> message) = 0;
    virtual void OutReset() = 0;
    // Called once, by the first Close.
    virtual void OutClose() {}

private:
    bool open_ = true;
};

}  // namespace vesk::platform
