#include "tools/pagetext.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <strings.h>

#include "common/cp932.h"
#include "common/error.h"
#include "components/properties/propnames.h"
#include "script/com_component.h"
#include "script/com_flow.h"
#include "script/com_message.h"
#include "script/com_reset.h"
#include "script/command.h"
#include "tools/looptargets.h"
#include "tools/markuptext.h"
#include "tools/optext.h"
#include "tools/source_error.h"
#include "tools/textquote.h"
#include "transitions/wipe_kinds.h"

namespace vesk::tool {

namespace {

constexpr int kIndentUnit = 2;

// ---- small text helpers ----

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool SameWord(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// The field that follows the command name without a key, per kind.
const char* PositionalField(int kind) {
    switch (kind) {
    case CK_IF: case CK_ELSEIF: case CK_WHILE: case CK_EXIT: case CK_BREAK: case CK_CONTINUE: case CK_WAIT:
        return "if";
    case CK_CALC: case CK_WHILEINIT: case CK_WHILELOOP: return "do";
    case CK_LABEL: case CK_VARNEW: case CK_VARDEL: return "name";
    case CK_COMMENT: case CK_TEXTINS: return "text";
    case CK_JUMP: case CK_CALL: case CK_RESET: case CK_PCRESET: return "to";
    default: return nullptr;
    }
}

bool HasPageTarget(int kind) {
    return kind == CK_JUMP || kind == CK_CALL || kind == CK_RESET || kind == CK_PCRESET;
}

bool IsLoopKind(int kind) {
    return kind == CK_WHILE || kind == CK_WHILELOOP || kind == CK_BREAK || kind == CK_CONTINUE;
}

// Commands that do nothing without a condition; an author who leaves it out
// means "always", and the stored absent condition is written "@ops{}".
bool ConditionDefaultsTrue(int kind) {
    return kind == CK_JUMP || kind == CK_CALL || kind == CK_EXIT || kind == CK_BREAK || kind == CK_CONTINUE;
}

const char* LoopTargetField(int kind) { return kind == CK_WHILE ? "exit" : "target"; }

// Continue flag an author expects: the commands that wait on screen or
// media stop the frame's work, everything else goes on.
bool DefaultContinue(int kind) {
    switch (kind) {
    case CK_FLIP: case CK_TEXTINS: case CK_MOVIESTOP: case CK_MENUCLOSE: case CK_DOEVENT: case CK_COMMENT:
    case CK_GAMESAVE: case CK_GAMELOAD:
        return false;
    default:
        return true;
    }
}

std::string PropKey(int p) { return Lower(std::string(PropertyName(p) + 3)); }

// Operation lists that name a constant: property ids by their names, the
// Flip's transition kinds by their WP_ names (any case). The value a name
// stands for, or nullopt when the text is not such a name.
std::optional<int> NamedConstant(const char* field, const std::string& text) {
    if (SameWord(field, "prop")) {
        const int id = PropertyByName(text);
        return id >= 0 ? std::optional(id) : std::nullopt;
    }
    if (SameWord(field, "kind")) {
        std::string upper = text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (const TWipeKindInfo* k = FindWipeKind(upper)) return k->Code;
    }
    return std::nullopt;
}

// The name the dump writes for a constant of such a list, "" for none.
std::string ConstantName(const char* field, int value) {
    if (SameWord(field, "prop") && value >= 0 && value < kPropertyCount) return PropKey(value);
    if (SameWord(field, "kind") && value >= 0 && value < kWipeKindCount)
        return WipeKinds()[static_cast<std::size_t>(value)].Name;
    return {};
}

const char* kVarKinds[] = {"ref", "int", "float", "bool", "str"};
const char* kScopes[] = {"global", "auto", "local", "status"};

// ---- the field names of a kind ----

class TKeyCollector final : public TFieldVisitor {
public:
    std::vector<std::string> keys;
    void Op(const char* n, TOpList&, int) override { keys.push_back(n); }
    void Str(const char* n, std::string&) override { keys.push_back(n); }
    void Int(const char* n, std::int32_t&, int) override { keys.push_back(n); }
    void Byte(const char* n, std::uint8_t&) override { keys.push_back(n); }
    void OpArray(const char* n, std::vector<TOpList>&) override { keys.push_back(n); }
    void Props(TPropertySet&) override {
        for (int p = 0; p < kPropertyCount; ++p) keys.push_back(PropKey(p));
    }
};

std::vector<std::string> KeysOf(int kind) {
    auto c = CreateCommand(static_cast<std::uint8_t>(kind), nullptr);
    TKeyCollector k;
    c->Fields(k);
    if (HasPageTarget(kind)) k.keys.push_back("to");
    return k.keys;
}

// ---- splitting a command line into fields ----

// Skips a double-quoted literal starting at s[i]; i ends after it.
void SkipQuoted(const std::string& s, std::size_t& i) {
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) ++i;
        else if (s[i] == '"') {
            ++i;
            return;
        }
    }
}

// Splits "positional key: value key: value" where a key is one of keys,
// followed by ':' and a blank or the end, outside string literals.
std::map<std::string, std::string> SplitFields(const std::string& rest, const std::vector<std::string>& keys,
                                               const char* positional, const std::function<void(const std::string&)>& fail) {
    std::map<std::string, std::string> out;
    std::string current = positional ? positional : "";
    std::size_t valueStart = 0;
    auto close = [&](std::size_t end) {
        const std::string v = Trim(rest.substr(valueStart, end - valueStart));
        if (current.empty()) {
            if (!v.empty()) fail("this command takes no value without a key: '" + v + "'");
            return;
        }
        if (out.count(current)) fail("field '" + current + "' given twice");
        if (!v.empty() || current != (positional ? positional : "")) out[current] = v;
    };
    for (std::size_t i = 0; i < rest.size();) {
        if (rest[i] == '"') {
            SkipQuoted(rest, i);
            continue;
        }
        const bool atWordStart = i == 0 || rest[i - 1] == ' ' || rest[i - 1] == '\t';
        if (atWordStart && (std::isalnum(static_cast<unsigned char>(rest[i])) || rest[i] == '_')) {
            std::size_t j = i;
            while (j < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[j])) || rest[j] == '_')) ++j;
            if (j < rest.size() && rest[j] == ':' && (j + 1 == rest.size() || rest[j + 1] == ' ' || rest[j + 1] == '\t')) {
                const std::string word = Lower(rest.substr(i, j - i));
                // "word: " appears in no expression or plain text, so it is
                // always meant as a key.
                if (std::find(keys.begin(), keys.end(), word) == keys.end()) fail("unknown field '" + word + "'");
                close(i);
                current = word;
                valueStart = j + 1;
                i = j + 1;
                continue;
            }
            i = j;
            continue;
        }
        ++i;
    }
    close(rest.size());
    return out;
}

// Splits at commas outside literals, brackets and parentheses.
std::vector<std::string> SplitList(const std::string& s) {
    std::vector<std::string> out;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '"') {
            SkipQuoted(s, i);
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        else if (c == ')' || c == ']' || c == '}') --depth;
        else if (c == ',' && depth == 0) {
            out.push_back(Trim(s.substr(start, i - start)));
            start = i + 1;
        }
        ++i;
    }
    if (!Trim(s).empty()) out.push_back(Trim(s.substr(start)));
    return out;
}

// ---- reading fields from text ----

class TTextReader final : public TFieldVisitor {
public:
    TTextReader(std::map<std::string, std::string>& values, int format, std::function<void(const std::string&)> fail)
        : values_(values), format_(format), fail_(std::move(fail)) {}

    void Op(const char* n, TOpList& op, int minFormat) override {
        auto v = Take(n);
        if (v && format_ < minFormat) fail_(std::string("field '") + n + "' needs page format " + std::to_string(minFormat));
        op = Compile(v ? *v : std::string(), n);
    }
    void Str(const char* n, std::string& s) override {
        if (auto v = Take(n)) s = Text(*v);
    }
    void Int(const char* n, std::int32_t& i, int minFormat) override {
        if (auto v = Take(n)) {
            if (format_ < minFormat) fail_(std::string("field '") + n + "' needs page format " + std::to_string(minFormat));
            i = Number(*v, n);
        }
    }
    void Byte(const char* n, std::uint8_t& b) override {
        auto v = Take(n);
        if (!v) return;
        if (SameWord(n, "kind"))
            for (int k = 0; k < 5; ++k)
                if (SameWord(*v, kVarKinds[k])) return void(b = static_cast<std::uint8_t>(k));
        if (SameWord(n, "scope"))
            for (int k = 0; k < 4; ++k)
                if (SameWord(*v, kScopes[k])) return void(b = static_cast<std::uint8_t>(k));
        const int x = Number(*v, n);
        if (x < 0 || x > 255) fail_(std::string("field '") + n + "' must be 0 to 255");
        b = static_cast<std::uint8_t>(x);
    }
    void OpArray(const char* n, std::vector<TOpList>& ops) override {
        ops.clear();
        if (auto v = Take(n))
            for (const std::string& item : SplitList(*v)) ops.push_back(Compile(item, nullptr));
    }
    void Props(TPropertySet& props) override {
        for (int p = 0; p < kPropertyCount; ++p) {
            auto v = Take(PropKey(p).c_str());
            props[p] = v ? Compile(*v, nullptr) : nullptr;
        }
    }

    std::string Text(const std::string& v) {
        if (!v.empty() && v.front() == '"') {
            try {
                std::size_t pos = 0;
                std::string s = UnquoteToSjis(v, pos);
                if (pos != v.size()) fail_("text after the closing quote");
                return s;
            } catch (const EVeskError& e) {
                fail_(e.what());
            }
        }
        return Utf8ToSjis(v);
    }

private:
    std::optional<std::string> Take(const char* n) {
        auto it = values_.find(n);
        if (it == values_.end()) return std::nullopt;
        std::string v = it->second;
        values_.erase(it);
        return v;
    }
    int Number(const std::string& v, const char* n) {
        try {
            std::size_t used = 0;
            const long x = std::stol(v, &used, 0);
            if (used == v.size() && x >= INT32_MIN && x <= INT32_MAX) return static_cast<int>(x);
        } catch (const std::logic_error&) {
        }
        fail_(std::string("field '") + n + "' needs a number, not '" + v + "'");
        return 0;
    }
    // field names the list for the constants it may be given by name.
    TOpList Compile(const std::string& v, const char* field) {
        std::string text = v;
        if (field)
            if (const std::optional<int> value = NamedConstant(field, Trim(v))) text = std::to_string(*value);
        try {
            return TextToOpList(text);
        } catch (const EVeskError& e) {
            fail_(e.what());
            return nullptr;
        }
    }

    std::map<std::string, std::string>& values_;
    int format_;
    std::function<void(const std::string&)> fail_;
};

// ---- writing fields as text ----

class TTextWriter final : public TFieldVisitor {
public:
    TTextWriter(const TPropertyMask& mask, int format) : mask_(mask), format_(format) {}
    std::vector<std::pair<std::string, std::string>> fields;  // in field order

    void Op(const char* n, TOpList& op, int minFormat) override {
        if (format_ < minFormat || !op || op->Count() == 0) return;
        std::string t = OpListToText(*op);
        // A constant with a name is shown by it, which builds the same list.
        if (const std::optional<int> value = ConstInt(*op)) {
            const std::string name = ConstantName(n, *value);
            if (!name.empty()) t = name;
        }
        fields.emplace_back(n, t);
    }
    void Str(const char* n, std::string& s) override { fields.emplace_back(n, StrText(s)); }
    void Int(const char* n, std::int32_t& i, int minFormat) override {
        if (format_ >= minFormat) fields.emplace_back(n, std::to_string(i));
    }
    void Byte(const char* n, std::uint8_t& b) override {
        std::string t = std::to_string(b);
        if (SameWord(n, "kind") && b < 5) t = kVarKinds[b];
        if (SameWord(n, "scope") && b < 4) t = kScopes[b];
        fields.emplace_back(n, t);
    }
    void OpArray(const char* n, std::vector<TOpList>& ops) override {
        std::string t;
        for (std::size_t k = 0; k < ops.size(); ++k) {
            std::string item = ops[k] && ops[k]->Count() ? OpListToText(*ops[k]) : "@ops{}";
            // An item with a comma of its own would be split apart again.
            if (SplitList(item).size() != 1) item = OpListToRaw(*ops[k]);
            t += (k ? ", " : "") + item;
        }
        if (!ops.empty()) fields.emplace_back(n, t);
    }
    void Props(TPropertySet& props) override {
        for (int p = 0; p < kPropertyCount; ++p)
            if (MaskHas(mask_, p) && props[p] && props[p]->Count()) fields.emplace_back(PropKey(p), OpListToText(*props[p]));
    }

    static std::string StrText(const std::string& s) {
        const std::string u = SjisToUtf8(s);
        const bool plain = !s.empty() && SjisRoundTrips(s) && u.front() != '"' && Trim(u) == u &&
                           u.find(": ") == std::string::npos && u.back() != ':' &&
                           std::none_of(u.begin(), u.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        return plain ? u : QuoteSjis(s);
    }

private:
    // The number when the list is just that constant integer.
    static std::optional<int> ConstInt(const TVeskParser& op) {
        if (op.Count() != 1) return std::nullopt;
        const TOpeData& o = op.Item(0);
        if (o.Ope != ocTo || o.Dest() != "____arg" || o.Operands.size() != 1) return std::nullopt;
        const TCustomParam& v = *o.Operands[0];
        if (dynamic_cast<const TParamVar*>(&v) || v.Kind() != PT_INT) return std::nullopt;
        return v.AsInt();
    }
    const TPropertyMask& mask_;
    int format_;
};

// ---- page header directives ----

struct TDirectives {
    int format = kPageFormatMax;
    int resultKind = PT_INT;
    std::map<int, TPropertyMask> masks;  // explicit masks by kind
};

struct TCommandLine {
    int lineNo = 0;
    int indent = 0;
    std::string kindWord;
    std::vector<std::string> flags;
    std::string rest;
    std::vector<std::string> message;  // the "|" lines below it (UTF-8)
    int messageLineNo = 0;             // the first of them
};

// A message's markup lines are written below their command, each after a
// "|" and one blank, so that no markup is ever read as a command.
constexpr char kMessageMark = '|';

std::vector<TCommandLine> SplitCommands(const TPageSourceText& src, TDirectives& d) {
    std::vector<TCommandLine> out;
    int lastCommandLine = 0;  // the source line the last command or its message ended on
    for (std::size_t n = 0; n < src.Lines.size(); ++n) {
        const int lineNo = static_cast<int>(n) + 1;
        auto fail = [&](const std::string& m) { throw TSourceError(src.FileName, lineNo, m); };
        std::string line = src.Lines[n];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t i = 0;
        while (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '\t') fail("indent with spaces, not tabs");
        const std::string body = Trim(line.substr(i));
        if (body.empty() || body[0] == '#') continue;
        if (body[0] == kMessageMark) {
            if (out.empty() || lastCommandLine != lineNo - 1)
                fail("a message line (|) must follow its command or another message line");
            std::string text = line.substr(i + 1);
            if (!text.empty() && text[0] == ' ') text.erase(0, 1);
            if (out.back().message.empty()) out.back().messageLineNo = lineNo;
            out.back().message.push_back(std::move(text));
            lastCommandLine = lineNo;
            continue;
        }
        if (body[0] == '%') {
            std::vector<std::string> words;
            for (std::size_t p = 1; p < body.size();) {
                while (p < body.size() && body[p] == ' ') ++p;
                std::size_t q = p;
                while (q < body.size() && body[q] != ' ') ++q;
                if (q > p) words.push_back(body.substr(p, q - p));
                p = q;
            }
            if (words.empty()) fail("empty directive");
            if (SameWord(words[0], "format") && words.size() == 2) {
                d.format = std::atoi(words[1].c_str());
                if (d.format < kPageFormatMin || d.format > kPageFormatMax) fail("page format must be 103 to 113");
            } else if (SameWord(words[0], "result") && words.size() == 2) {
                d.resultKind = -1;
                for (int k = 0; k < 5; ++k)
                    if (SameWord(words[1], kVarKinds[k])) d.resultKind = k;
                if (d.resultKind < 0 && std::all_of(words[1].begin(), words[1].end(), ::isdigit))
                    d.resultKind = std::atoi(words[1].c_str()) & 0xFF;
                if (d.resultKind < 0) fail("unknown result kind '" + words[1] + "'");
            } else if (SameWord(words[0], "mask") && words.size() >= 2) {
                const int kind = CommandKindByName(words[1]);
                if (kind < 0) fail("unknown command '" + words[1] + "'");
                TPropertyMask m{};
                for (std::size_t w = 2; w < words.size(); ++w) {
                    int p = PropertyByName(words[w]);
                    if (p < 0 && std::all_of(words[w].begin(), words[w].end(), ::isdigit)) p = std::atoi(words[w].c_str());
                    if (p < 0 || p >= kMaskBytes * 8) fail("unknown property '" + words[w] + "'");
                    MaskSet(m, p);
                }
                d.masks[kind] = m;
            } else {
                fail("unknown directive '" + body + "'");
            }
            continue;
        }
        if (i % kIndentUnit) fail("indentation must be a multiple of two spaces");
        TCommandLine c;
        c.lineNo = lineNo;
        c.indent = static_cast<int>(i) / kIndentUnit;
        std::size_t e = 0;
        while (e < body.size() && body[e] != ' ' && body[e] != '/') ++e;
        c.kindWord = body.substr(0, e);
        while (e < body.size() && body[e] == '/') {
            std::size_t f = ++e;
            while (f < body.size() && body[f] != ' ' && body[f] != '/') ++f;
            c.flags.push_back(body.substr(e, f - e));
            e = f;
        }
        c.rest = e < body.size() ? body.substr(e + 1) : std::string();
        out.push_back(std::move(c));
        lastCommandLine = lineNo;
    }
    return out;
}

// "page", "page:label", ":label", "page#12", "#12".
struct TTargetRef {
    bool hasPage = false;
    std::string page;   // Shift-JIS; without hasPage this page
    std::string label;  // Shift-JIS
    bool byIndex = false;
    std::int32_t index = 0;
};

TTargetRef ParseTarget(const std::string& text, TTextReader& reader, const std::function<void(const std::string&)>& fail) {
    TTargetRef r;
    std::string t = Trim(text);
    std::string pagePart = t;
    if (t.empty()) fail("a target page is needed");
    if (t.front() == '"') {
        std::size_t pos = 0;
        try {
            r.page = UnquoteToSjis(t, pos);
            r.hasPage = true;
        } catch (const EVeskError& e) {
            fail(e.what());
        }
        pagePart.clear();
        t = t.substr(pos);
    }
    const std::size_t hash = t.rfind('#');
    const std::size_t colon = t.rfind(':');
    if (hash != std::string::npos && (colon == std::string::npos || hash > colon)) {
        try {
            std::size_t used = 0;
            r.index = std::stoi(t.substr(hash + 1), &used);
            if (used != t.size() - hash - 1) throw std::invalid_argument("");
        } catch (const std::logic_error&) {
            fail("bad command index in '" + text + "'");
        }
        r.byIndex = true;
        if (!pagePart.empty() && hash > 0) r.page = reader.Text(t.substr(0, hash)), r.hasPage = true;
    } else if (colon != std::string::npos) {
        r.label = reader.Text(t.substr(colon + 1));
        if (!pagePart.empty() && colon > 0) r.page = reader.Text(t.substr(0, colon)), r.hasPage = true;
    } else if (!pagePart.empty()) {
        r.page = reader.Text(t);
        r.hasPage = true;
    }
    return r;
}

}  // namespace

TPageSourceText ScanPageSource(const std::string& fileName, const std::string& pageName, const std::string& utf8) {
    TPageSourceText src;
    src.FileName = fileName;
    src.PageName = pageName;
    for (std::size_t start = 0; start <= utf8.size();) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos) end = utf8.size();
        src.Lines.push_back(utf8.substr(start, end - start));
        start = end + 1;
    }
    TDirectives d;
    const std::vector<TCommandLine> lines = SplitCommands(src, d);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!SameWord(lines[i].kindWord, "Label")) continue;
        std::string name = lines[i].rest;
        const std::string t = Trim(name);
        std::string sj = Utf8ToSjis(t);
        if (!t.empty() && t.front() == '"') {
            std::size_t pos = 0;
            try {
                sj = UnquoteToSjis(t, pos);
            } catch (const EVeskError& e) {
                throw TSourceError(fileName, lines[i].lineNo, e.what());
            }
        }
        src.Labels.emplace(sj, static_cast<std::int32_t>(i));  // the first of a name wins
    }
    return src;
}

std::unique_ptr<TPage> BuildPage(const TPageSourceText& src, const TLabelIndex& labels) {
    TDirectives d;
    const std::vector<TCommandLine> lines = SplitCommands(src, d);
    auto page = std::make_unique<TPage>(src.PageName);
    page->Format = d.format;
    page->ResultKind = static_cast<std::uint8_t>(d.resultKind);

    std::vector<bool> explicitTarget(lines.size(), false);
    std::vector<TPropertyMask> used(kCommandKindCount, TPropertyMask{});
    for (const TCommandLine& line : lines) {
        auto fail = [&](const std::string& m) { throw TSourceError(src.FileName, line.lineNo, m); };
        const int kind = CommandKindByName(line.kindWord);
        if (kind < 0) fail("unknown command '" + line.kindWord + "'");
        std::unique_ptr<TCommand> c = CreateCommand(static_cast<std::uint8_t>(kind), page.get());
        c->Indent = line.indent;
        c->Line = line.lineNo;
        c->Continue = DefaultContinue(kind);
        for (const std::string& f : line.flags) {
            if (SameWord(f, "mute")) c->Mute = true;
            else if (SameWord(f, "stop")) c->Continue = false;
            else if (SameWord(f, "go")) c->Continue = true;
            else if (f.rfind("line=", 0) == 0) c->Line = std::atoi(f.c_str() + 5);
            else if (f.rfind("indent=", 0) == 0) c->Indent = std::atoi(f.c_str() + 7);
            else fail("unknown flag '/" + f + "'");
        }
        std::map<std::string, std::string> values;
        // Labels and comments are the whole rest of the line.
        if (kind == CK_LABEL || kind == CK_COMMENT) {
            if (!Trim(line.rest).empty()) values[PositionalField(kind)] = Trim(line.rest);
        } else {
            values = SplitFields(line.rest, KeysOf(kind), PositionalField(kind), fail);
        }
        std::optional<std::string> to;
        if (auto it = values.find("to"); it != values.end()) {
            to = it->second;
            values.erase(it);
        }
        const std::size_t at = page->Commands.size();
        explicitTarget[at] = values.count(LoopTargetField(kind)) > 0 || values.count("target") > 0;
        if (ConditionDefaultsTrue(kind) && !values.count("if")) values["if"] = "TRUE";
        auto failInMessage = [&](const std::string& m) { throw TSourceError(src.FileName, line.messageLineNo, m); };
        if (!line.message.empty()) {
            if (kind != CK_TEXTINS)
                failInMessage(std::string("message lines (|) belong to TextIns, not ") + CommandKindName(kind));
            if (values.count("text")) failInMessage("give the message either as | lines or as its stored form, not both");
        }
        TTextReader reader(values, d.format, fail);
        c->Fields(reader);
        if (!values.empty()) fail("unknown field '" + values.begin()->first + "' for " + CommandKindName(kind));
        if (!line.message.empty()) {
            std::vector<std::string> markup;
            for (const std::string& m : line.message) markup.push_back(Utf8ToSjis(m));
            try {
                static_cast<TComTextIns&>(*c).Text = MarkupToStoredList(markup);
            } catch (const EVeskError& e) {
                failInMessage(e.what());
            }
        }
        if (HasPageTarget(kind) && !explicitTarget[at]) {
            if (!to) fail(std::string(CommandKindName(kind)) + " needs a target page");
            const TTargetRef ref = ParseTarget(*to, reader, fail);
            const std::string target = ref.hasPage ? ref.page : src.PageName;
            std::int32_t index = ref.index;
            if (!ref.byIndex && !ref.label.empty()) {
                const TPageSourceText* other = target == src.PageName ? &src : nullptr;
                if (!other)
                    if (auto it = labels.find(target); it != labels.end()) other = it->second;
                if (!other) fail("page '" + SjisToUtf8(target) + "' is not part of the project; give the target as #index");
                auto l = other->Labels.find(ref.label);
                if (l == other->Labels.end()) fail("no label '" + SjisToUtf8(ref.label) + "' in " + SjisToUtf8(target));
                index = l->second;
            }
            // The stored fields differ per kind only in name.
            if (auto* j = dynamic_cast<TComJump*>(c.get())) j->PageName = target, j->Target = index;
            else if (auto* k = dynamic_cast<TComCall*>(c.get())) k->PageName = target, k->Target = index;
            else if (auto* r = dynamic_cast<TComReset*>(c.get())) r->PageName = target, r->Target = index;
            else if (auto* p = dynamic_cast<TComPCReset*>(c.get())) p->PageName = target, p->Target = index;
        } else if (to) {
            fail("give either a target or an index, not both");
        }
        if (auto* comp = dynamic_cast<TComComponent*>(c.get()))
            for (int p = 0; p < kPropertyCount; ++p)
                if (comp->Props[p]) MaskSet(used[kind], p);
        page->Commands.push_back(std::move(c));
    }

    // Elseif and Else continue an If at their own Indent.
    for (std::size_t i = 0; i < page->Commands.size(); ++i) {
        const TCommand& c = *page->Commands[i];
        if (c.Kind() != CK_ELSEIF && c.Kind() != CK_ELSE) continue;
        std::size_t j = i;
        bool ok = false;
        while (j-- > 0) {
            const TCommand& p = *page->Commands[j];
            if (p.Indent > c.Indent) continue;
            ok = p.Indent == c.Indent && (p.Kind() == CK_IF || p.Kind() == CK_ELSEIF);
            break;
        }
        if (!ok) throw TSourceError(src.FileName, lines[i].lineNo, std::string(CommandKindName(c.Kind())) + " without If");
    }

    std::vector<std::uint8_t> kinds;
    std::vector<std::int32_t> indents;
    for (const auto& c : page->Commands) kinds.push_back(c->Kind()), indents.push_back(c->Indent);
    const TLoopTargets loops = ComputeLoopTargets(kinds, indents);
    for (std::size_t i = 0; i < page->Commands.size(); ++i) {
        if (!IsLoopKind(kinds[i]) || explicitTarget[i]) continue;
        if (!loops.Error.empty())
            throw TSourceError(src.FileName, lines[static_cast<std::size_t>(std::max(loops.ErrorIndex, 0))].lineNo, loops.Error);
        TCommand& c = *page->Commands[i];
        const std::int32_t t = loops.Target[i];
        if (auto* w = dynamic_cast<TComWhile*>(&c)) w->ExitIndex = t;
        else if (auto* l = dynamic_cast<TComWhileLoop*>(&c)) l->Target = t;
        else if (auto* b = dynamic_cast<TComBreak*>(&c)) b->Target = t;
        else if (auto* n = dynamic_cast<TComContinue*>(&c)) n->Target = t;
    }

    for (int k = 0; k < kCommandKindCount; ++k) {
        auto it = d.masks.find(k);
        page->Masks[static_cast<std::size_t>(k)] = it != d.masks.end() ? it->second : used[static_cast<std::size_t>(k)];
    }
    // A property the explicit mask leaves out would be lost without a word.
    for (std::size_t i = 0; i < page->Commands.size(); ++i)
        if (auto* comp = dynamic_cast<TComComponent*>(page->Commands[i].get()))
            for (int p = 0; p < kPropertyCount; ++p)
                if (comp->Props[p] && comp->Props[p]->Count() && !MaskHas(page->Masks[comp->Kind()], p))
                    throw TSourceError(src.FileName, lines[i].lineNo,
                                       "property '" + PropKey(p) + "' is not in the %mask of " + CommandKindName(comp->Kind()));
    return page;
}

// ---- dump ----

namespace {

// The markup lines of a stored message (UTF-8), or none when it has no
// markup form that survives the trip through UTF-8; an empty text has none.
std::vector<std::string> MessageLines(const std::string& stored) {
    if (stored.empty()) return {};
    const std::optional<std::vector<std::string>> markup = StoredListToMarkup(stored);
    if (!markup) return {};
    std::vector<std::string> lines;
    for (const std::string& m : *markup) {
        if (!SjisRoundTrips(m)) return {};
        lines.push_back(SjisToUtf8(m));
    }
    return lines;
}

}  // namespace

std::map<std::int32_t, std::string> FirstLabels(const TPage& page) {
    std::map<std::int32_t, std::string> labelAt;
    for (int i = page.Count() - 1; i >= 0; --i)
        if (auto* l = dynamic_cast<const TComLabel*>(&page.Command(i)))
            if (page.FindLabel(l->Name) == i) labelAt[i] = l->Name;
    return labelAt;
}

std::string PageToText(const TPage& page, const TOtherPageLabels& otherLabels) {
    std::vector<std::string> out;
    if (page.Format != kPageFormatMax) out.push_back("%format " + std::to_string(page.Format));
    if (page.ResultKind != PT_INT)
        out.push_back("%result " + (page.ResultKind < 5 ? std::string(kVarKinds[page.ResultKind]) : std::to_string(page.ResultKind)));

    // Masks the build would compute from the properties present.
    std::vector<TPropertyMask> used(kCommandKindCount, TPropertyMask{});
    for (const auto& c : page.Commands)
        if (auto* comp = dynamic_cast<TComComponent*>(c.get()))
            for (int p = 0; p < kPropertyCount; ++p)
                if (MaskHas(page.Masks[comp->Kind()], p) && comp->Props[p] && comp->Props[p]->Count()) MaskSet(used[comp->Kind()], p);
    for (int k = 0; k < kCommandKindCount; ++k) {
        const TPropertyMask& m = page.Masks[static_cast<std::size_t>(k)];
        if (m == used[static_cast<std::size_t>(k)]) continue;
        std::string line = std::string("%mask ") + CommandKindName(k);
        for (int p = 0; p < kMaskBytes * 8; ++p)
            if (MaskHas(m, p)) line += " " + (p < kPropertyCount ? PropKey(p) : std::to_string(p));
        out.push_back(line);
    }

    std::vector<std::uint8_t> kinds;
    std::vector<std::int32_t> indents;
    for (const auto& c : page.Commands) kinds.push_back(c->Kind()), indents.push_back(c->Indent);
    const TLoopTargets loops = ComputeLoopTargets(kinds, indents);
    const std::map<std::int32_t, std::string> labelAt = FirstLabels(page);
    std::map<std::string, std::map<std::int32_t, std::string>> otherLabelAt;
    // A label written plainly reads back as itself: "page:label" or ":label".
    auto plainLabel = [](const std::map<std::int32_t, std::string>& labels, std::int32_t index) -> std::string {
        const auto it = labels.find(index);
        if (it == labels.end() || it->second.empty() || it->second.find_first_of(":#") != std::string::npos ||
            TTextWriter::StrText(it->second).front() == '"')
            return {};
        return SjisToUtf8(it->second);
    };

    for (int i = 0; i < page.Count(); ++i) {
        TCommand& c = page.Command(i);
        const int kind = c.Kind();
        // Blank lines keep each command on its own source line where they can.
        while (c.Line > static_cast<int>(out.size()) + 1 && c.Line - static_cast<int>(out.size()) < 200) out.emplace_back();
        const int lineNo = static_cast<int>(out.size()) + 1;
        std::string line(static_cast<std::size_t>(std::max(c.Indent, 0) * kIndentUnit), ' ');
        line += CommandKindName(kind);
        if (c.Indent < 0) line += "/indent=" + std::to_string(c.Indent);
        if (c.Mute) line += "/mute";
        if (c.Continue != DefaultContinue(kind)) line += c.Continue ? "/go" : "/stop";
        if (c.Line != lineNo) line += "/line=" + std::to_string(c.Line);

        TTextWriter w(page.Masks[static_cast<std::size_t>(kind)], page.Format);
        c.Fields(w);
        // Defaults of a fresh command need not be written.
        TTextWriter fresh(page.Masks[static_cast<std::size_t>(kind)], page.Format);
        CreateCommand(static_cast<std::uint8_t>(kind), nullptr)->Fields(fresh);
        std::map<std::string, std::string> defaults(fresh.fields.begin(), fresh.fields.end());

        std::string targetIndex;
        std::vector<std::pair<std::string, std::string>> fields;
        for (auto& [key, value] : w.fields) {
            if (HasPageTarget(kind) && key == "page") continue;
            if (HasPageTarget(kind) && key == "target") {
                targetIndex = value;
                continue;
            }
            if (IsLoopKind(kind) && key == LoopTargetField(kind)) {
                if (!loops.Error.empty() || std::to_string(loops.Target[static_cast<std::size_t>(i)]) != value)
                    fields.emplace_back(key, value);
                continue;
            }
            if (ConditionDefaultsTrue(kind) && key == "if" && value == "TRUE") continue;
            auto dflt = defaults.find(key);
            if (dflt != defaults.end() && dflt->second == value) continue;
            fields.emplace_back(key, value);
        }
        if (ConditionDefaultsTrue(kind) &&
            std::none_of(w.fields.begin(), w.fields.end(), [](const auto& f) { return f.first == "if"; }))
            fields.insert(fields.begin(), {"if", "@ops{}"});
        if (HasPageTarget(kind)) {
            // Labels are shown by name where they are known, else the index.
            const std::string& rawPage = [&]() -> const std::string& {
                if (auto* j = dynamic_cast<TComJump*>(&c)) return j->PageName;
                if (auto* k = dynamic_cast<TComCall*>(&c)) return k->PageName;
                if (auto* r = dynamic_cast<TComReset*>(&c)) return r->PageName;
                return static_cast<TComPCReset&>(c).PageName;
            }();
            const std::int32_t index = std::stoi(targetIndex);
            const std::string pageText = rawPage.empty() ? "\"\"" : TTextWriter::StrText(rawPage);
            std::string ref;
            if (rawPage == page.Name) {
                if (const std::string label = plainLabel(labelAt, index); !label.empty()) ref = ":" + label;
            } else if (otherLabels && pageText.front() != '"' && pageText.find(':') == std::string::npos) {
                auto it = otherLabelAt.find(rawPage);
                if (it == otherLabelAt.end()) it = otherLabelAt.emplace(rawPage, otherLabels(rawPage)).first;
                if (const std::string label = plainLabel(it->second, index); !label.empty())
                    ref = pageText + ":" + label;
            }
            if (ref.empty()) ref = pageText + "#" + std::to_string(index);
            fields.insert(fields.begin(), {"to", ref});
        }
        // A message that markup can write is shown as markup, otherwise as
        // its stored bytes.
        const std::vector<std::string> message =
            kind == CK_TEXTINS ? MessageLines(static_cast<TComTextIns&>(c).Text) : std::vector<std::string>{};
        if (!message.empty()) std::erase_if(fields, [](const auto& f) { return f.first == "text"; });
        const char* positional = PositionalField(kind);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const bool bare = f == 0 && positional && fields[f].first == positional;
            line += bare ? " " + fields[f].second : " " + fields[f].first + ": " + fields[f].second;
        }
        out.push_back(line);
        const std::string messageIndent(static_cast<std::size_t>(std::max(c.Indent, 0) + 1) * kIndentUnit, ' ');
        for (const std::string& m : message)
            out.push_back(messageIndent + kMessageMark + (m.empty() ? "" : " " + m));
    }
    std::string text;
    for (const std::string& l : out) text += l + "\n";
    return text;
}

}  // namespace vesk::tool
