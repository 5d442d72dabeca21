#include "platform/headless/recording_audio_device.h"

#include <algorithm>
#include <stdexcept>

namespace vesk::platform {

TRecordingAudioDevice::TRecordingAudioDevice(const TAudioFormat& format, TAudioFill fill,
                                             std::unique_ptr<TStream> wav)
    : format_(format), fill_(std::move(fill)) {
    CheckAudioArguments(format_, fill_);
    buffer_.resize(static_cast<std::size_t>(format_.FramesPerBuffer * format_.Channels));
    if (wav) wav_.emplace(std::move(wav), format_.SampleRate, format_.Channels);
}

void TRecordingAudioDevice::Render(std::int64_t frames) {
    if (frames < 0) throw std::invalid_argument("audio device: cannot render a negative frame count");
    std::lock_guard guard(lock_);
    while (frames > 0 && !closed_) {
        const auto now = std::min<std::int64_t>(frames, format_.FramesPerBuffer);
        const std::span samples(buffer_.data(), static_cast<std::size_t>(now * format_.Channels));
        std::fill(samples.begin(), samples.end(), std::int16_t{0});
        if (!paused_) fill_(samples);
        if (wav_) wav_->Append(samples);
        frames_ += now;
        frames -= now;
    }
}

std::int64_t TRecordingAudioDevice::FramesRendered() const {
    std::lock_guard guard(lock_);
    return frames_;
}

void TRecordingAudioDevice::Pause() {
    std::lock_guard guard(lock_);
    paused_ = true;
}

void TRecordingAudioDevice::Resume() {
    std::lock_guard guard(lock_);
    paused_ = false;
}

bool TRecordingAudioDevice::Paused() const {
    std::lock_guard guard(lock_);
    return paused_;
}

void TRecordingAudioDevice::Close() {
    std::lock_guard guard(lock_);
    if (closed_) return;
    closed_ = true;
    // The file is whole already; letting it and the callback go frees what
    // they hold as soon as the stream stops.
    wav_.reset();
    fill_ = nullptr;
}

}  // namespace vesk::platform
