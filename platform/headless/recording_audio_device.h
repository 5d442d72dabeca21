#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "common/stream.h"
#include "platform/audio_device.h"
#include "platform/headless/wav_writer.h"

namespace vesk::platform {

// The audio device of a run without a sound card: it has no thread and no
// clock; whoever drives the run pulls the stream on demand, so a run makes
// the same sound however fast it goes. What it plays can go to a WAV file.
class TRecordingAudioDevice final : public TAudioDevice {
public:
    // wav receives the stream as a 16-bit PCM WAV file; nullptr drops it.
    // A bad format or an empty fill raises std::invalid_argument.
    TRecordingAudioDevice(const TAudioFormat& format, TAudioFill fill, std::unique_ptr<TStream> wav);
    ~TRecordingAudioDevice() override { Close(); }

    // Plays frames frames on the calling thread, in buffers of at most
    // FramesPerBuffer: each is pulled through the fill callback, or is
    // silence while paused (the callback is not called then, and the
    // recording keeps time with the run). Nothing once closed.
    void Render(std::int64_t frames);
    // The frames played so far, silence included.
    std::int64_t FramesRendered() const;

    const TAudioFormat& Format() const override { return format_; }
    void Pause() override;
    void Resume() override;
    bool Paused() const override;
    void Lock() override { lock_.lock(); }
    void Unlock() override { lock_.unlock(); }
    void Close() override;

private:
    mutable std::recursive_mutex lock_;
    const TAudioFormat format_;
    TAudioFill fill_;
    std::optional<TWavWriter> wav_;
    std::vector<std::int16_t> buffer_;
    std::int64_t frames_ = 0;
    bool paused_ = true;
    bool closed_ = false;
};

}  // namespace vesk::platform
