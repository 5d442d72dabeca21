#pragma once

#include "platform/audio_device.h"

namespace vesk::platform {

// The device of a run without sound output. It takes every call and never
// calls the fill callback: it consumes nothing, so sounds played into it
// stand where they are, as they do when no device could be opened. A device
// that plays in time without a sound card is the recording device.
class TNullAudioDevice final : public TAudioDevice {
public:
    explicit TNullAudioDevice(const TAudioFormat& format) : format_(format) {}

    const TAudioFormat& Format() const override { return format_; }
    void Pause() override { paused_ = true; }
    void Resume() override { paused_ = false; }
    bool Paused() const override { return paused_; }
    void Lock() override {}
    void Unlock() override {}
    void Close() override {}

private:
    TAudioFormat format_;
    bool paused_ = true;
};

}  // namespace vesk::platform
