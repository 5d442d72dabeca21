#include "tools/projecttext.h"

#include <cstdio>
#include <strings.h>

#include "common/cp932.h"
#include "tools/source_error.h"
#include "tools/textquote.h"

namespace vesk::tool {

namespace {

const char* kKinds[] = {"ref", "int", "float", "bool", "str"};

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

// A text value: a quoted literal, or the plain rest of the line.
std::string TextValue(const std::string& v) {
    if (!v.empty() && v.front() == '"') {
        std::size_t pos = 0;
        std::string s = UnquoteToSjis(v, pos);
        if (Trim(v.substr(pos)).size()) throw EVeskError("text after the closing quote");
        return s;
    }
    return Utf8ToSjis(v);
}

std::string Show(const std::string& sjis) {
    const std::string u = SjisToUtf8(sjis);
    if (sjis.empty() || !SjisRoundTrips(sjis) || u.front() == '"' || Trim(u) != u || u.find_first_of("\r\n\t") != std::string::npos)
        return QuoteSjis(sjis);
    return u;
}

std::string NextWord(std::string& rest) {
    rest = Trim(rest);
    if (!rest.empty() && rest.front() == '"') {
        std::size_t pos = 0;
        std::string w = UnquoteToSjis(rest, pos);
        rest = rest.substr(pos);
        return w;
    }
    const std::size_t sp = rest.find_first_of(" \t");
    std::string w = Utf8ToSjis(rest.substr(0, sp));
    rest = sp == std::string::npos ? std::string() : rest.substr(sp);
    return w;
}

std::int32_t Int(const std::string& v) {
    std::size_t used = 0;
    const long x = std::stol(Trim(v), &used, 0);
    if (used != Trim(v).size()) throw std::invalid_argument("number");
    return static_cast<std::int32_t>(x);
}

bool Flag(const std::string& v) { return Int(v) != 0; }

}  // namespace

TProjectSettings ParseProjectText(const std::string& fileName, const std::string& utf8) {
    TProjectSettings p;
    p.DiscText = Sj("ディスク%dを入れてから[OK]をクリックしてください");
    p.QuitText = Sj("終了します");
    int lineNo = 0;
    for (std::size_t start = 0; start < utf8.size();) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos) end = utf8.size();
        const std::string line = Trim(utf8.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        try {
            if (line.rfind("global ", 0) == 0) {
                std::string rest = line.substr(7);
                TProjectGlobal g;
                g.Name = NextWord(rest);
                const std::string kind = SjisToUtf8(NextWord(rest));
                int k = -1;
                for (int i = 1; i < 5; ++i)
                    if (strcasecmp(kind.c_str(), kKinds[i]) == 0) k = i;
                if (k < 0) throw EVeskError("unknown kind '" + kind + "' (int, float, bool or str)");
                g.Kind = static_cast<std::uint8_t>(k);
                g.Value = CreateParam(g.Kind);
                const std::string v = Trim(rest);
                if (k == PT_STR) g.Value->SetStr(TextValue(v));
                else if (k == PT_FLOAT) g.Value->SetFloat(v.empty() ? 0 : std::strtold(v.c_str(), nullptr));
                else if (k == PT_BOOL) g.Value->SetBool(v == "TRUE" || v == "1");
                else g.Value->SetInt(v.empty() ? 0 : Int(v));
                p.Globals.push_back(std::move(g));
                continue;
            }
            if (line.rfind("folderdisk ", 0) == 0) {
                std::string rest = line.substr(11);
                const std::string folder = NextWord(rest);
                p.FolderDisks.Add(folder, Int(rest));
                continue;
            }
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos) throw EVeskError("expected 'key: value'");
            const std::string key = Trim(line.substr(0, colon));
            const std::string v = Trim(line.substr(colon + 1));
            auto pair = [&](std::int32_t& a, std::int32_t& b) {
                std::string rest = v;
                a = Int(SjisToUtf8(NextWord(rest)));
                b = Int(rest);
            };
            if (key == "title") p.Title = TextValue(v);
            else if (key == "screen") pair(p.ScreenWidth, p.ScreenHeight);
            else if (key == "fullscreen") pair(p.FullWidth, p.FullHeight);
            else if (key == "start") p.StartPage = TextValue(v);
            else if (key == "exit") p.ExitPage = TextValue(v);
            else if (key == "registry") p.RegistryKey = TextValue(v);
            else if (key == "reserved") p.Reserved = Int(v);
            else if (key == "savestatus") p.SaveStatus = Flag(v);
            else if (key == "sleep") p.SleepInIdle = Flag(v);
            else if (key == "media") p.MediaExtensions = TextValue(v);
            else if (key == "pause") p.PauseWhenInactive = Flag(v);
            else if (key == "disctext") p.DiscText = TextValue(v);
            else if (key == "quittext") p.QuitText = TextValue(v);
            else throw EVeskError("unknown setting '" + key + "'");
        } catch (const TSourceError&) {
            throw;
        } catch (const std::logic_error&) {
            throw TSourceError(fileName, lineNo, "a number is needed");
        } catch (const std::exception& e) {
            throw TSourceError(fileName, lineNo, e.what());
        }
    }
    if (p.StartPage.empty()) throw TSourceError(fileName, lineNo, "the project needs a 'start:' page");
    return p;
}

std::string ProjectToText(const TProjectSettings& p) {
    std::string out;
    auto line = [&](const std::string& k, const std::string& v) { out += k + ": " + v + "\n"; };
    if (p.Format != kProjectFormat) out += "# stored in settings format " + std::to_string(p.Format) + "\n";
    line("title", Show(p.Title));
    line("screen", std::to_string(p.ScreenWidth) + " " + std::to_string(p.ScreenHeight));
    line("fullscreen", std::to_string(p.FullWidth) + " " + std::to_string(p.FullHeight));
    line("start", Show(p.StartPage));
    if (!p.ExitPage.empty()) line("exit", Show(p.ExitPage));
    if (!p.RegistryKey.empty()) line("registry", Show(p.RegistryKey));
    if (p.Reserved) line("reserved", std::to_string(p.Reserved));
    line("savestatus", p.SaveStatus ? "1" : "0");
    line("sleep", p.SleepInIdle ? "1" : "0");
    line("media", Show(p.MediaExtensions));
    line("pause", p.PauseWhenInactive ? "1" : "0");
    line("disctext", Show(p.DiscText));
    line("quittext", Show(p.QuitText));
    for (const TProjectGlobal& g : p.Globals) {
        out += "global " + Show(g.Name) + " " + (g.Kind < 5 ? kKinds[g.Kind] : "?");
        if (g.Value) {
            if (g.Kind == PT_STR) out += " " + QuoteSjis(g.Value->AsStr());
            else if (g.Kind == PT_FLOAT) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%La", g.Value->AsFloat());
                out += std::string(" ") + buf;
            } else {
                out += " " + g.Value->AsStr();
            }
        }
        out += "\n";
    }
    for (int i = 0; i < p.FolderDisks.Count(); ++i)
        out += "folderdisk " + Show(p.FolderDisks[i].Folder) + " " + std::to_string(p.FolderDisks[i].Disk) + "\n";
    return out;
}

}  // namespace vesk::tool
