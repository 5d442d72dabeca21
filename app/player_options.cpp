#include "app/player_options.h"

#include <algorithm>
#include <charconv>

#include "common/error.h"
#include "common/sjis.h"

namespace vesk {

namespace {

int ParseCount(const std::string& option, const std::string& text, const char* what = "a frame count") {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        throw EVeskError(option + ": not " + what + ": " + text);
    return value;
}

}  // namespace

const char* PlayerUsage() {
    return "usage: veskplay [OPTIONS] [CONTENT-FOLDER | ARCHIVE]... | veskplay /config\n"
           "\n"
           "  CONTENT-FOLDER   loose files are looked up there first; its game.dat is opened\n"
           "  ARCHIVE          a file whose archive is appended to it (a \"vk\" trailer)\n"
           "  /config          the settings dialog (any letter case)\n"
           "\n"
           "options:\n"
           "  --headless            no window and no sound device; message boxes go to\n"
           "                        standard error\n"
           "  --answer A[,B...]     answers to message boxes, one per box, the last one\n"
           "                        repeating: ok, cancel, yes, no, or ask (read a line\n"
           "                        from standard input)\n"
           "  --frames N            close after N frames as the window's close handler\n"
           "                        does (exit page, status data); without it the\n"
           "                        game runs until it ends\n"
           "  --step-ms MS          headless: the clock step of a frame (default 16)\n"
           "  --trace FILE          the interpreter's trace lines (Shift-JIS)\n"
           "  --dump-vars FILE      at the end, one line per user variable: name, kind\n"
           "                        and values, tab-separated, UTF-8\n"
           "  --events FILE         events to post, lines \"FRAME SENDER PAGE[:LABEL]\n"
           "                        [ARG...]\"\n"
           "  --input FILE          headless: mouse and key input, lines \"FRAME EVENT\":\n"
           "                        mousemove X Y, ldown, lup, rdown, rup, wheel N,\n"
           "                        keydown VK, keyup VK, close; # comments\n"
           "  --screenshot F:FILE   the presented frame after frame step F (from 0) as\n"
           "                        a PNG file; repeatable\n"
           "  --help                this text\n";
}

TPlayerOptions ParsePlayerOptions(const std::vector<std::string>& argv) {
    TPlayerOptions o;
    std::size_t i = 0;
    auto value = [&](const std::string& option) -> const std::string& {
        if (i + 1 >= argv.size()) throw EVeskError(option + ": a value is missing");
        return argv[++i];
    };
    for (; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (a == "--") {
            ++i;
            break;
        }
        if (a.size() < 2 || a.compare(0, 2, "--") != 0) break;
        if (a == "--headless") {
            o.headless = true;
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--answer") {
            if (!platform::ParseHeadlessAnswers(value(a), o.answers))
                throw EVeskError("--answer: expected ok, cancel, yes, no or ask: " + argv[i]);
        } else if (a == "--frames") {
            o.frames = ParseCount(a, value(a));
        } else if (a == "--step-ms") {
            o.stepMs = ParseCount(a, value(a), "a number of milliseconds");
        } else if (a == "--trace") {
            o.traceFile = value(a);
        } else if (a == "--dump-vars") {
            o.dumpVarsFile = value(a);
        } else if (a == "--events") {
            o.eventsFile = value(a);
        } else if (a == "--input") {
            o.inputFile = value(a);
        } else if (a == "--screenshot") {
            const std::string& v = value(a);
            TScreenshotRequest shot;
            if (!ParseScreenshotArg(v, shot)) throw EVeskError("--screenshot: expected FRAME:FILE: " + v);
            o.screenshots.push_back(std::move(shot));
        } else {
            throw EVeskError("unknown option " + a);
        }
    }
    o.arguments.assign(argv.begin() + static_cast<std::ptrdiff_t>(std::min(i, argv.size())),
                       argv.end());
    return o;
}

bool IsConfigArgument(const std::vector<std::string>& arguments) {
    return !arguments.empty() && SjisSameText(arguments[0], "/config");
}

}  // namespace vesk
