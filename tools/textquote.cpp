#include "tools/textquote.h"

#include <cstdio>

#include "common/cp932.h"
#include "common/error.h"

namespace vesk::tool {

bool SjisRoundTrips(const std::string& sjis) { return Utf8ToSjis(SjisToUtf8(sjis)) == sjis; }

std::string QuoteSjis(const std::string& sjis) {
    const bool plain = SjisRoundTrips(sjis);
    std::string out = "\"";
    std::string run;  // Shift-JIS bytes waiting for conversion
    auto flush = [&] {
        out += SjisToUtf8(run);
        run.clear();
    };
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(sjis[i]);
        if (c == '"' || c == '\\') {
            flush();
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !plain)) {
            flush();
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else if (c >= 0x80 && i + 1 < sjis.size() && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))) {
            run += sjis[i];
            run += sjis[++i];  // a trail byte is never an escape
        } else {
            run += static_cast<char>(c);
        }
    }
    flush();
    return out + "\"";
}

std::string UnquoteToSjis(const std::string& text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') throw EVeskError("expected a quoted string");
    ++pos;
    std::string out, run;
    auto flush = [&] {
        out += Utf8ToSjis(run);
        run.clear();
    };
    while (pos < text.size() && text[pos] != '"') {
        const char c = text[pos++];
        if (c != '\\') {
            run += c;
            continue;
        }
        if (pos >= text.size()) break;
        const char e = text[pos++];
        flush();
        if (e == '"' || e == '\\') {
            out += e;
        } else if (e == 'x' && pos + 2 <= text.size()) {
            unsigned v = 0;
            if (std::sscanf(text.substr(pos, 2).c_str(), "%2x", &v) != 1) throw EVeskError("bad \\x escape");
            out += static_cast<char>(v);
            pos += 2;
        } else {
            throw EVeskError(std::string("unknown escape \\") + e);
        }
    }
    if (pos >= text.size()) throw EVeskError("unclosed string");
    ++pos;
    flush();
    return out;
}

}  // namespace vesk::tool
