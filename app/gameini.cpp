#include "app/gameini.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "common/sjis.h"

namespace vesk {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

TIniFile::TIniFile(std::string_view text) {
    std::string section;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = Trim(text.substr(0, nl));
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = std::string(Trim(line.substr(1, close == std::string_view::npos
                                                          ? std::string_view::npos
                                                          : close - 1)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        entries_.push_back({section, std::string(Trim(line.substr(0, eq))),
                            std::string(Trim(line.substr(eq + 1)))});
    }
}

const TIniFile::Entry* TIniFile::Find(std::string_view section, std::string_view key) const {
    for (const Entry& e : entries_) {
        if (SjisSameText(e.section, section) && SjisSameText(e.key, key)) return &e;
    }
    return nullptr;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& fallback) const {
    const Entry* e = Find(section, key);
    return e ? e->value : fallback;
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t fallback) const {
    const Entry* e = Find(section, key);
    if (!e) return fallback;
    std::string_view v = e->value;
    bool negative = false;
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    int base = 10;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        base = 16;
        v.remove_prefix(2);
    } else if (v.size() > 1 && v[0] == '$') {
        base = 16;
        v.remove_prefix(1);
    }
    if (v.empty() || v.front() == '-' || v.front() == '+') return fallback;
    std::int64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), magnitude, base);
    if (ec != std::errc() || end != v.data() + v.size()) return fallback;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(value);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::int32_t NormaliseDelayTime(std::int32_t delay) {
    return std::clamp(delay / 100 * 100, 100, 500);
}

TGameSettings ParseGameSettings(std::string_view iniText) {
    const TIniFile ini(iniText);
    TGameSettings s;
    s.DirectSound = ini.ReadBool("Sound", "DirectSound", s.DirectSound);
    s.DelayTime = NormaliseDelayTime(ini.ReadInteger("Sound", "DelayTime", s.DelayTime));
    s.UseWMP = ini.ReadBool("Video", "UseWMP", s.UseWMP);
    return s;
}

}  // namespace vesk
