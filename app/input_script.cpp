#include "app/input_script.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "components/registry/input_state.h"
#include "common/error.h"
#include "common/stream.h"
#include "platform/files.h"

namespace vesk {

namespace {

using platform::TPlatformEvent;
using Kind = TPlatformEvent::Kind;
using Button = TPlatformEvent::Button;

// Beyond these a line is surely damaged; they also keep every count small.
constexpr long kMaxFrame = 100000000;
constexpr long kMaxCoordinate = 1000000;
constexpr long kMaxNotches = 100;

bool ParseNumber(const std::string& word, long min, long max, long& out) {
    const char* end = word.data() + word.size();
    auto [p, ec] = std::from_chars(word.data(), end, out);
    return ec == std::errc() && p == end && out >= min && out <= max;
}

}  // namespace

std::vector<TScriptedInput> ParseInputScript(const std::string& text) {
    std::vector<TScriptedInput> out;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::vector<std::string> w;
        for (std::string s; in >> s;) w.push_back(s);
        if (w.empty()) continue;

        const auto fail = [&](const std::string& why) {
            return EVeskError("input line " + std::to_string(number) + ": " + why);
        };
        const auto arg = [&](std::size_t i, long min, long max) {
            long v = 0;
            if (i >= w.size() || !ParseNumber(w[i], min, max, v))
                throw fail("bad or missing number after " + w[1]);
            return static_cast<int>(v);
        };
        long frame = 0;
        if (!ParseNumber(w[0], 0, kMaxFrame, frame)) throw fail("bad frame number " + w[0]);
        if (w.size() < 2) throw fail("no event");

        const std::string& verb = w[1];
        TPlatformEvent e;
        std::size_t words = 2;
        int repeat = 1;
        if (verb == "mousemove") {
            e.kind = Kind::MouseMove;
            e.x = arg(2, -kMaxCoordinate, kMaxCoordinate);
            e.y = arg(3, -kMaxCoordinate, kMaxCoordinate);
            words = 4;
        } else if (verb == "ldown" || verb == "rdown" || verb == "lup" || verb == "rup") {
            e.kind = verb[1] == 'd' ? Kind::MouseDown : Kind::MouseUp;
            e.button = verb[0] == 'l' ? Button::Left : Button::Right;
        } else if (verb == "wheel") {
            const int n = arg(2, -kMaxNotches, kMaxNotches);
            if (n == 0) throw fail("a wheel turn of 0 notches");
            e.kind = n > 0 ? Kind::WheelUp : Kind::WheelDown;
            repeat = n > 0 ? n : -n;
            words = 3;
        } else if (verb == "keydown" || verb == "keyup") {
            e.kind = verb == "keydown" ? Kind::KeyDown : Kind::KeyUp;
            e.key = arg(2, 1, 255);
            words = 3;
        } else if (verb == "close") {
            e.kind = Kind::Close;
        } else {
            throw fail("unknown event " + verb);
        }
        if (w.size() != words) throw fail("extra words after " + verb);
        for (int i = 0; i < repeat; ++i) out.push_back({static_cast<int>(frame), e});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TScriptedInput& a, const TScriptedInput& b) { return a.Frame < b.Frame; });
    return out;
}

std::vector<TScriptedInput> ReadInputScript(const std::string& path) {
    // An input file is a few lines typed by hand; a huge one is a mistake.
    constexpr std::int64_t kMaxBytes = std::int64_t{16} << 20;
    const std::int64_t size = platform::FileSize(path);
    if (size < 0) throw EVeskError("cannot read input file " + path);
    if (size > kMaxBytes) throw EVeskError("input file too large: " + path);
    auto stream = platform::OpenFile(path, platform::FileMode::Read);
    std::string text(static_cast<std::size_t>(size), '\0');
    text.resize(static_cast<std::size_t>(stream->Read(text.data(), size)));
    return ParseInputScript(text);
}

bool TInputFeed::Feed(int frame, TInputState& input) {
    bool close = false;
    for (; next_ < events_.size() && events_[next_].Frame <= frame; ++next_) {
        platform::TPlatformEvent e = events_[next_].Event;
        if (e.kind == Kind::Close) {
            close = true;
            continue;
        }
        // Buttons go down where the pointer was last moved to.
        if (e.kind == Kind::MouseDown || e.kind == Kind::MouseUp) {
            e.x = input.MouseX();
            e.y = input.MouseY();
        }
        input.Apply(e);
    }
    return close;
}

}  // namespace vesk
