#include "platform/msgbox_names.h"

#include <string_view>

#include "common/cp932.h"
#include "common/sjis.h"

namespace vesk::platform {

const char* MsgResultName(MsgResult r) {
    switch (r) {
        case MsgResult::Ok: return "ok";
        case MsgResult::Cancel: return "cancel";
        case MsgResult::Yes: return "yes";
        case MsgResult::No: return "no";
    }
    return "?";
}

const char* MsgIconName(MsgIcon i) {
    switch (i) {
        case MsgIcon::None: return "none";
        case MsgIcon::Information: return "information";
        case MsgIcon::Warning: return "warning";
        case MsgIcon::Error: return "error";
        case MsgIcon::Question: return "question";
    }
    return "?";
}

const char* MsgButtonsName(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return "OK";
        case MsgButtons::OkCancel: return "OK/Cancel";
        case MsgButtons::YesNo: return "Yes/No";
    }
    return "?";
}

bool ParseMsgResult(const std::string& name, MsgResult& result) {
    for (MsgResult r : {MsgResult::Ok, MsgResult::Cancel, MsgResult::Yes, MsgResult::No}) {
        if (SjisSameText(name, MsgResultName(r))) {
            result = r;
            return true;
        }
    }
    return false;
}

MsgResult FitMsgResult(MsgButtons buttons, MsgResult preferred) {
    const bool affirmative = preferred == MsgResult::Ok || preferred == MsgResult::Yes;
    switch (buttons) {
        case MsgButtons::Ok: return MsgResult::Ok;
        case MsgButtons::OkCancel: return affirmative ? MsgResult::Ok : MsgResult::Cancel;
        case MsgButtons::YesNo: return affirmative ? MsgResult::Yes : MsgResult::No;
    }
    return MsgResult::Ok;
}

void WriteMessageBoxText(std::FILE* out, const std::string& text, const std::string& caption,
                         MsgButtons buttons, MsgIcon icon) {
    std::fprintf(out, "message box \"%s\" (%s, %s):\n", SjisToUtf8(caption).c_str(),
                 MsgIconName(icon), MsgButtonsName(buttons));
    const std::string utf8 = SjisToUtf8(text);
    std::string_view rest = utf8;
    while (true) {
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::fprintf(out, "  %.*s\n", static_cast<int>(line.size()), line.data());
        if (nl == std::string_view::npos) break;
        rest.remove_prefix(nl + 1);
    }
}

}  // namespace vesk::platform
