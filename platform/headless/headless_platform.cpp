#include "platform/headless/headless_platform.h"

#include "platform/msgbox_names.h"

namespace vesk::platform {

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

}  // namespace vesk::platform
