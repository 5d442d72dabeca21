#include "text/markup_tag.h"

#include <array>

#include "common/sjis.h"
#include "values/param_convert.h"

namespace vesk {

namespace {

struct TTagName {
    std::string_view Name;
    TTagCode Code;
};

constexpr std::array<TTagName, 27> kTagNames{{
    {"A", TG_A},         {"/A", TG_A_END},       {"B", TG_B},         {"/B", TG_B_END},
    {"FONT", TG_FONT},   {"/FONT", TG_FONT_END}, {"I", TG_I},         {"/I", TG_I_END},
    {"S", TG_S},         {"/S", TG_S_END},       {"U", TG_U},         {"/U", TG_U_END},
    {"NOBR", TG_NOBR},   {"/NOBR", TG_NOBR_END}, {"RUBY", TG_RUBY},   {"/RUBY", TG_RUBY_END},
    {"DIV", TG_DIV},     {"/DIV", TG_DIV_END},   {"INDENT", TG_INDENT}, {"UNDENT", TG_UNDENT},
    {"BR", TG_BR},       {"CLEAR", TG_CLEAR},    {"EVENT", TG_EVENT}, {"WAIT", TG_WAIT},
    {"/WAIT", TG_WAIT_END}, {"VAR", TG_VAR},     {"IMG", TG_IMG},
}};

// Reads from s[i] up to (not including) the first byte of stops, whole
// characters at a time so a trail byte never ends a word.
std::string ReadUntil(std::string_view s, std::size_t& i, std::string_view stops) {
    const std::size_t start = i;
    while (i < s.size() && stops.find(s[i]) == std::string_view::npos) i += SjisCharLen(s, i);
    return std::string(s.substr(start, i - start));
}

// A quoted value up to its closing quote; a backslash keeps the character
// after it (the escapes themselves are resolved by whoever reads the value).
std::string ReadQuoted(std::string_view s, std::size_t& i, char quote) {
    const std::size_t start = i;
    while (i < s.size() && s[i] != quote)
        i += s[i] == '\\' && i + 1 < s.size() ? 1 + SjisCharLen(s, i + 1) : SjisCharLen(s, i);
    std::string out(s.substr(start, i - start));
    if (i < s.size()) ++i;
    return out;
}

void SkipBlanks(std::string_view s, std::size_t& i) {
    while (i < s.size() && s[i] == ' ') ++i;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

TQsTag::TQsTag(std::string_view token) {
    std::string_view inner = token;
    if (inner.starts_with('<')) inner.remove_prefix(1);
    if (inner.ends_with('>')) inner.remove_suffix(1);
    std::size_t i = 0;
    name_ = ReadUntil(inner, i, " =");
    while (i < inner.size()) {
        SkipBlanks(inner, i);
        if (i >= inner.size()) break;
        std::string name = ReadUntil(inner, i, " =");
        SkipBlanks(inner, i);
        std::string value;
        if (i < inner.size() && inner[i] == '=') {
            ++i;
            SkipBlanks(inner, i);
            if (i < inner.size() && (inner[i] == '"' || inner[i] == '\'')) {
                const char quote = inner[i++];
                value = ReadQuoted(inner, i, quote);
            } else {
                value = ReadUntil(inner, i, " ");
            }
        }
        // "= x" without a name before it is no attribute.
        if (!name.empty()) attributes_.emplace_back(std::move(name), std::move(value));
    }
}

TTagCode TQsTag::Code() const {
    for (const TTagName& t : kTagNames)
        if (SjisSameText(name_, t.Name)) return t.Code;
    return TG_NONE;
}

const std::string* TQsTag::Find(std::string_view attribute) const {
    for (const auto& [name, value] : attributes_)
        if (SjisSameText(name, attribute)) return &value;
    return nullptr;
}

std::string TQsTag::Value(std::string_view attribute) const {
    const std::string* v = Find(attribute);
    return v ? *v : std::string();
}

std::int32_t TQsTag::IntValue(std::string_view attribute, std::int32_t fallback) const {
    const std::string* v = Find(attribute);
    std::int32_t out = fallback;
    if (v) TryParseInt(*v, out);
    return out;
}

std::optional<std::int32_t> ParseTagColour(std::string_view text) {
    if (!text.starts_with('#') || text.size() < 2) return std::nullopt;
    const std::string_view digits = text.substr(1, 6);
    std::uint32_t rgb = 0;
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        rgb = rgb << 4 | std::uint32_t(d);
    }
    const std::uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return std::int32_t(b << 16 | g << 8 | r);
}

std::string UnescapeTagValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = SjisCharLen(text, i);
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == '"' || next == '\\') {
                out.push_back(next);
                i += 2;
                continue;
            }
            if (next == 'n') {
                out.append("\r\n");
                i += 2;
                continue;
            }
        }
        out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

}  // namespace vesk
