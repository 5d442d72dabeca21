#include "platform/msgbox.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "platform/msgbox_names.h"

namespace vesk::platform {

namespace {

// Boxes may be asked for from any thread that reports a failure; the
// handler itself runs outside the lock so a modal box never blocks a swap.
std::mutex handlerLock;

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> guard(handlerLock);
    return std::exchange(Handler(), std::move(handler));
}

MsgResult ShowMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) {
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        handler = Handler();
    }
    if (handler) return handler(text, caption, buttons, icon);
    return StderrMessageBox(text, caption, buttons, icon);
}

MsgResult StderrMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                           MsgIcon icon) {
    WriteMessageBoxText(stderr, text, caption, buttons, icon);
    const MsgResult r = FitMsgResult(buttons, MsgResult::Ok);
    std::fprintf(stderr, "  -> %s\n", MsgResultName(r));
    std::fflush(stderr);
    return r;
}

}  // namespace vesk::platform
