#pragma once

#include <cstdio>
#include <string>
#include <vector>

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

private:
    MsgResult NextAnswer(MsgButtons buttons);

    std::vector<THeadlessAnswer> answers_;
    std::size_t next_ = 0;
    std::FILE* out_;
    std::FILE* in_;
    std::vector<TShownMessageBox> shown_;
};

}  // namespace vesk::platform
