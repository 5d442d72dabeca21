#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/stream.h"
#include "platform/clock.h"
#include "platform/headless/recording_audio_device.h"
#include "platform/platform.h"

namespace vesk::platform {

// One answer of the headless answer list: a fixed button, or Ask, which
// reads the answer as a line ("ok", "cancel", "yes", "no") from the input.
struct THeadlessAnswer {
    bool ask = false;
    MsgResult result = MsgResult::Ok;
};

// Parses "ok", "cancel", "yes", "no" or "ask", or a comma-separated list of
// them ("cancel,ok"); false when any item is none of these.
bool ParseHeadlessAnswers(const std::string& text, std::vector<THeadlessAnswer>& answers);

// A message box as the headless backend showed it, kept for tests.
struct TShownMessageBox {
    std::string text, caption;  // Shift-JIS, as given
    MsgButtons buttons;
    MsgIcon icon;
    MsgResult result;
};

// The backend for runs without a desktop: a message box is written to the
// output (UTF-8) and answered from the answer list, one item per box, the
// last item answering every box after it. An answer that the box has no
// button for is fitted to it (FitMsgResult). Without a list every box takes
// its first button.
//
// Its audio device is a recording device that the run's frame step pulls
// (RenderAudio), whether or not the sound is kept, so a run's sounds take
// the same time to play either way. Its MIDI port records what it is sent
// when asked to and is the null port otherwise; it lists no ports, so a
// game sees the same list in every headless run.
class THeadlessPlatform : public TPlatform {
public:
    explicit THeadlessPlatform(std::vector<THeadlessAnswer> answers = {}, std::FILE* out = stderr,
                               std::FILE* in = stdin);

    const char* Name() const override { return "headless"; }
    // Interactive only when some answer is read from the input.
    bool Interactive() const override;
    MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) override;

    const std::vector<TShownMessageBox>& Shown() const { return shown_; }

    // The next audio device opened writes its sound to wav as a WAV file
    // (the player opens one per run; without a stream the sound is not kept).
    void RecordAudio(std::unique_ptr<TStream> wav);
    // Plays frames frames of the audio device opened last, while it is open.
    // A failed write to the WAV file raises EStreamError.
    void RenderAudio(std::int64_t frames);

    // The MIDI ports opened from now on are recording ports stamped by
    // clock, which must outlive them; they write their lines one after the
    // other into text, so a port opened again on a device switch goes on
    // with the same file.
    void RecordMidi(std::unique_ptr<TStream> text, TClock& clock);

protected:
    std::unique_ptr<TAudioDevice> OpenCheckedAudioDevice(const TAudioFormat& format, TAudioFill fill,
                                                         std::string* error) override;
    std::unique_ptr<TMidiPort> OpenCheckedMidiPort(int index, std::string* error) override;

private:
    MsgResult NextAnswer(MsgButtons buttons);

    std::vector<THeadlessAnswer> answers_;
    std::size_t next_ = 0;
    std::FILE* out_;
    std::FILE* in_;
    std::vector<TShownMessageBox> shown_;

    // The frame step pulls from its own thread while the engine opens and
    // closes the device on the main thread.
    std::mutex audioLock_;
    std::unique_ptr<TStream> audioOut_;
    std::weak_ptr<TRecordingAudioDevice> audio_;
    std::shared_ptr<TStream> midiOut_;
    TClock* midiClock_ = nullptr;
};

}  // namespace vesk::platform
