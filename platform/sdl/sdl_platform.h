#pragma once

#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace vesk::platform {

// The desktop backend on SDL2. Message boxes are SDL's own; when SDL cannot
// show one (no display, no video driver) the box falls back to the headless
// form on standard error, answered by the fallback answers, so a player
// started without a desktop still reports why it ends.
class TSdlPlatform : public TPlatform {
public:
    explicit TSdlPlatform(std::vector<THeadlessAnswer> fallbackAnswers = {});
    ~TSdlPlatform() override;

    const char* Name() const override { return "sdl"; }
    // A person answers when a desktop is there to show the boxes.
    bool Interactive() const override { return desktop_ || fallback_.Interactive(); }
    MsgResult MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                          MsgIcon icon) override;
    // The SDL window; nullptr when SDL's video cannot start (no display).
    std::unique_ptr<TPlatformWindow> CreateMainWindow(int gameWidth, int gameHeight) override;

private:
    THeadlessPlatform fallback_;
    bool desktop_;
};

}  // namespace vesk::platform
