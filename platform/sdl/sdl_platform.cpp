#include "platform/sdl/sdl_platform.h"

#include <SDL.h>

#include <cstdio>

#include "common/cp932.h"
#include "common/error.h"
#include "platform/environment.h"
#include "platform/sdl/sdl_window.h"

namespace vesk::platform {

TSdlPlatform::TSdlPlatform(std::vector<THeadlessAnswer> fallbackAnswers)
    : fallback_(std::move(fallbackAnswers)),
      desktop_(GetEnv("DISPLAY").value_or("") != "" || GetEnv("WAYLAND_DISPLAY").value_or("") != "") {}

TSdlPlatform::~TSdlPlatform() {
    if (SDL_WasInit(0) != 0) SDL_Quit();
}

std::unique_ptr<TPlatformWindow> TSdlPlatform::CreateMainWindow(int gameWidth, int gameHeight) {
    try {
        return std::make_unique<TSdlWindow>(gameWidth, gameHeight);
    } catch (const EVeskError& e) {
        std::fprintf(stderr, "veskplay: no window can be opened (%s)\n", e.what());
        return nullptr;
    }
}

MsgResult TSdlPlatform::MessageBox(const std::string& text, const std::string& caption,
                                    MsgButtons buttons, MsgIcon icon) {
    // SDL knows three icons; a question is asked with the information one.
    Uint32 flags = 0;
    switch (icon) {
        case MsgIcon::Warning: flags = SDL_MESSAGEBOX_WARNING; break;
        case MsgIcon::Error: flags = SDL_MESSAGEBOX_ERROR; break;
        case MsgIcon::Information:
        case MsgIcon::Question: flags = SDL_MESSAGEBOX_INFORMATION; break;
        case MsgIcon::None: break;
    }

    MsgResult first = MsgResult::Ok, second = MsgResult::Cancel;
    const char* firstText = "OK";
    const char* secondText = nullptr;
    if (buttons == MsgButtons::OkCancel) {
        secondText = "キャンセル";
    } else if (buttons == MsgButtons::YesNo) {
        first = MsgResult::Yes;
        second = MsgResult::No;
        firstText = "はい";
        secondText = "いいえ";
    }

    // Enter takes the first button; Escape the second, or the only one.
    SDL_MessageBoxButtonData data[2] = {};
    int count = 1;
    data[0].flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    data[0].buttonid = static_cast<int>(first);
    data[0].text = firstText;
    if (secondText) {
        data[1].flags = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data[1].buttonid = static_cast<int>(second);
        data[1].text = secondText;
        count = 2;
    } else {
        data[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    }

    const std::string utf8Text = SjisToUtf8(text);
    const std::string utf8Caption = SjisToUtf8(caption);
    SDL_MessageBoxData box = {};
    box.flags = flags;
    box.title = utf8Caption.c_str();
    box.message = utf8Text.c_str();
    box.numbuttons = count;
    box.buttons = data;

    int chosen = -1;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        std::fprintf(stderr, "no desktop to show a message box (%s)\n", SDL_GetError());
        return fallback_.MessageBox(text, caption, buttons, icon);
    }
    // A box closed without a button (the window manager's close) answers like
    // Escape would.
    if (chosen < 0) return count == 2 ? second : first;
    return static_cast<MsgResult>(chosen);
}

}  // namespace vesk::platform
