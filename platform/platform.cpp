#include "platform/platform.h"

#include <utility>

#include "platform/headless/headless_platform.h"
#include "platform/null/null_audio_device.h"
#include "platform/null/null_midi_port.h"

namespace vesk::platform {

namespace {

std::unique_ptr<TPlatform>& Installed() {
    static std::unique_ptr<TPlatform> platform;
    return platform;
}

}  // namespace

std::unique_ptr<TAudioDevice> TPlatform::OpenAudioDevice(const TAudioFormat& format, TAudioFill fill,
                                                        std::string* error) {
    CheckAudioArguments(format, fill);
    return OpenCheckedAudioDevice(format, std::move(fill), error);
}

std::unique_ptr<TMidiPort> TPlatform::OpenMidiPort(int index, std::string* error) {
    const std::size_t count = MidiPorts().size();
    if (index < -1 || (index >= 0 && static_cast<std::size_t>(index) >= count)) {
        if (error) *error = "MIDI port " + std::to_string(index) + " does not exist: there are " +
                            std::to_string(count) + " ports";
        return nullptr;
    }
    return OpenCheckedMidiPort(index, error);
}

std::unique_ptr<TAudioDevice> TPlatform::OpenCheckedAudioDevice(const TAudioFormat& format, TAudioFill,
                                                                std::string*) {
    return std::make_unique<TNullAudioDevice>(format);
}

std::unique_ptr<TMidiPort> TPlatform::OpenCheckedMidiPort(int, std::string*) {
    return std::make_unique<TNullMidiPort>();
}

TPlatform& Platform() {
    auto& p = Installed();
    if (!p) p = std::make_unique<THeadlessPlatform>();
    return *p;
}

std::unique_ptr<TPlatform> InstallPlatform(std::unique_ptr<TPlatform> platform) {
    if (platform) {
        SetMessageBoxHandler([](const std::string& text, const std::string& caption,
                                MsgButtons buttons, MsgIcon icon) {
            return Platform().MessageBox(text, caption, buttons, icon);
        }, platform->Interactive());
    } else {
        SetMessageBoxHandler({});
    }
    return std::exchange(Installed(), std::move(platform));
}

}  // namespace vesk::platform
