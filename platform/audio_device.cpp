#include "platform/audio_device.h"

#include <stdexcept>
#include <string>

namespace vesk::platform {

namespace {

void CheckRange(const char* field, int value, int low, int high) {
    if (value < low || value > high)
        throw std::invalid_argument("audio format: " + std::string(field) + " " + std::to_string(value) +
                                    " is outside " + std::to_string(low) + ".." + std::to_string(high));
}

}  // namespace

void CheckAudioArguments(const TAudioFormat& format, const TAudioFill& fill) {
    CheckRange("sample rate", format.SampleRate, 8000, 192000);
    CheckRange("channel count", format.Channels, 1, 2);
    CheckRange("bits per sample", format.BitsPerSample, 16, 16);
    CheckRange("frames per buffer", format.FramesPerBuffer, 1, 65535);
    if (!fill) throw std::invalid_argument("audio device: no fill callback");
}

}  // namespace vesk::platform
