#include "platform/msgbox.h"

#include <cstdio>
#include <mutex>

#include "common/cp932.h"

namespace vesk::platform {

namespace {

std::mutex& HandlerLock() {
    static std::mutex lock;
    return lock;
}

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

bool& Interactive() {
    static bool interactive = false;
    return interactive;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, bool interactive) {
    std::lock_guard<std::mutex> guard(HandlerLock());
    MessageBoxHandler old = std::move(Handler());
    Interactive() = handler ? interactive : false;
    Handler() = std::move(handler);
    return old;
}

bool MessageBoxesAreInteractive() {
    std::lock_guard<std::mutex> guard(HandlerLock());
    return Interactive();
}

MsgResult ShowMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon) {
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> guard(HandlerLock());
        handler = Handler();
    }
    return handler ? handler(text, caption, buttons, icon) : StderrMessageBox(text, caption, buttons, icon);
}

MsgResult StderrMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon) {
    std::fprintf(stderr, "%s: %s\n", SjisToUtf8(caption).c_str(), SjisToUtf8(text).c_str());
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

}  // namespace vesk::platform
