#pragma once

#include <functional>
#include <string>

// Message boxes for the engine. The window backend installs a handler that
// shows a real dialog; until then (and in headless runs, tests and the
// authoring tool) the message goes to standard error and the box is
// answered with its default button, so no caller ever waits for a user.
namespace vesk::platform {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

// Text and caption are Shift-JIS.
using MessageBoxHandler =
    std::function<MsgResult(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon)>;

// Installs a handler; an empty one restores the default. Returns the old one.
// A handler that answers without asking anyone (a headless run answering a
// preset default) is not interactive: prompts that ask again until the user
// acts (insert the disc, OK to retry) then give up after one try instead of
// asking for ever.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, bool interactive = true);
// Whether a person answers the message boxes.
bool MessageBoxesAreInteractive();

// Shows a message box through the installed handler and returns the button.
MsgResult ShowMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons = MsgButtons::Ok,
                         MsgIcon icon = MsgIcon::None);

// The default handler: prints "caption: text" (as UTF-8) to standard error
// and answers the first button (OK, or Yes).
MsgResult StderrMessageBox(const std::string& text, const std::string& caption, MsgButtons buttons, MsgIcon icon);

}  // namespace vesk::platform
