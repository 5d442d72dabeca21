#pragma once

#include <cstdio>
#include <string>

#include "platform/msgbox.h"

// Helpers of the message-box backends: the words a box is written and
// answered with in headless runs.
namespace vesk::platform {

const char* MsgResultName(MsgResult r);    // "ok", "cancel", "yes", "no"
const char* MsgIconName(MsgIcon i);        // "information", "warning", ...
const char* MsgButtonsName(MsgButtons b);  // "OK", "OK/Cancel", "Yes/No"

// Parses "ok", "cancel", "yes" or "no" (any letter case); false otherwise.
bool ParseMsgResult(const std::string& name, MsgResult& result);

// The answer a box with these buttons gives for a preferred answer: an
// affirmative answer (ok, yes) picks the box's first button, a negative one
// (cancel, no) its second, so one preference fits every button set.
MsgResult FitMsgResult(MsgButtons buttons, MsgResult preferred);

// Writes a box as text (UTF-8): a head line with the caption, the icon and
// the buttons, then each line of the text indented.
void WriteMessageBoxText(std::FILE* out, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon);

}  // namespace vesk::platform
