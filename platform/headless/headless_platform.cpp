#include "platform/headless/headless_platform.h"

#include "common/error.h"
#include "platform/headless/recording_midi_port.h"
#include "platform/msgbox_names.h"
#include "platform/null/null_midi_port.h"

namespace vesk::platform {

namespace {

// The engine's handle on a recording device that the platform pulls: the
// engine owns the device through it, the platform keeps only a weak link,
// and letting the handle go closes the device before it returns, so no
// pull that is under way outlives the mixer it calls.
class TPulledAudioDevice final : public TAudioDevice {
public:
    explicit TPulledAudioDevice(std::shared_ptr<TRecordingAudioDevice> device) : device_(std::move(device)) {}
    ~TPulledAudioDevice() override { device_->Close(); }

    const TAudioFormat& Format() const override { return device_->Format(); }
    void Pause() override { device_->Pause(); }
    void Resume() override { device_->Resume(); }
    bool Paused() const override { return device_->Paused(); }
    void Lock() override { device_->Lock(); }
    void Unlock() override { device_->Unlock(); }
    void Close() override { device_->Close(); }

private:
    std::shared_ptr<TRecordingAudioDevice> device_;
};

}  // namespace

bool ParseHeadlessAnswers(const std::string& text, std::vector<THeadlessAnswer>& answers) {
    std::vector<THeadlessAnswer> parsed;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        THeadlessAnswer a;
        if (item == "ask") {
            a.ask = true;
        } else if (!ParseMsgResult(item, a.result)) {
            return false;
        }
        parsed.push_back(a);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    answers = std::move(parsed);
    return true;
}

THeadlessPlatform::THeadlessPlatform(std::vector<THeadlessAnswer> answers, std::FILE* out,
                                     std::FILE* in)
    : answers_(std::move(answers)), out_(out), in_(in) {}

bool THeadlessPlatform::Interactive() const {
    for (const THeadlessAnswer& a : answers_) {
        if (a.ask) return true;
    }
    return false;
}

MsgResult THeadlessPlatform::NextAnswer(MsgButtons buttons) {
    if (answers_.empty()) return FitMsgResult(buttons, MsgResult::Ok);
    const THeadlessAnswer a = answers_[next_];
    if (next_ + 1 < answers_.size()) ++next_;
    if (!a.ask) return FitMsgResult(buttons, a.result);

    std::fprintf(out_, "  answer (%s)? ", MsgButtonsName(buttons));
    std::fflush(out_);
    // Without input (end of file or an unknown word) the first button
    // answers, so a run whose input has ended never waits.
    MsgResult r = MsgResult::Ok;
    char line[64];
    if (in_ && std::fgets(line, sizeof line, in_)) {
        std::string word(line);
        while (!word.empty() && (word.back() == '\n' || word.back() == '\r' || word.back() == ' '))
            word.pop_back();
        if (!ParseMsgResult(word, r)) r = MsgResult::Ok;
    }
    return FitMsgResult(buttons, r);
}

MsgResult THeadlessPlatform::MessageBox(const std::string& text, const std::string& caption,
                                        MsgButtons buttons, MsgIcon icon) {
    WriteMessageBoxText(out_, text, caption, buttons, icon);
    const MsgResult r = NextAnswer(buttons);
    std::fprintf(out_, "  -> %s\n", MsgResultName(r));
    std::fflush(out_);
    shown_.push_back({text, caption, buttons, icon, r});
    return r;
}

void THeadlessPlatform::RecordAudio(std::unique_ptr<TStream> wav) {
    std::lock_guard guard(audioLock_);
    audioOut_ = std::move(wav);
}

std::unique_ptr<TAudioDevice> THeadlessPlatform::OpenCheckedAudioDevice(const TAudioFormat& format,
                                                                        TAudioFill fill, std::string* error) {
    std::lock_guard guard(audioLock_);
    try {
        auto device = std::make_shared<TRecordingAudioDevice>(format, std::move(fill), std::move(audioOut_));
        audio_ = device;
        return std::make_unique<TPulledAudioDevice>(std::move(device));
    } catch (const EStreamError& e) {  // the WAV file's header could not be written
        if (error) *error = e.what();
        return nullptr;
    }
}

void THeadlessPlatform::RenderAudio(std::int64_t frames) {
    std::shared_ptr<TRecordingAudioDevice> device;
    {
        std::lock_guard guard(audioLock_);
        device = audio_.lock();
    }
    if (device) device->Render(frames);
}

void THeadlessPlatform::RecordMidi(std::unique_ptr<TStream> text, TClock& clock) {
    midiOut_ = std::move(text);
    midiClock_ = &clock;
}

std::unique_ptr<TMidiPort> THeadlessPlatform::OpenCheckedMidiPort(int, std::string*) {
    if (!midiClock_) return std::make_unique<TNullMidiPort>();
    return std::make_unique<TRecordingMidiPort>(*midiClock_, midiOut_);
}

}  // namespace vesk::platform
