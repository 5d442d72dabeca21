#include "tools/optext.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <optional>

#include "common/cp932.h"
#include "common/error.h"
#include "values/compiler.h"
#include "values/functable.h"
#include "values/ope_data.h"
#include "tools/textquote.h"

namespace vesk::tool {

namespace {

std::string Bytes(const TVeskParser& list) {
    TMemoryStream s;
    list.SaveToStream(s);
    return s.AsString();
}

std::string RealText(Extended x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%La", x);
    return buf;
}

// ---- raw form ----

std::string OperandRaw(const TCustomParam& p) {
    if (auto* var = dynamic_cast<const TParamVar*>(&p)) return "v:" + QuoteSjis(var->VarName());
    switch (p.Kind()) {
    case PT_INT: return "i:" + std::to_string(p.AsInt());
    case PT_FLOAT: return "f:" + RealText(p.AsFloat());
    case PT_BOOL: return p.AsBool() ? "b:1" : "b:0";
    case PT_STR: return "s:" + QuoteSjis(p.AsStr());
    default: return "v:\"\"";
    }
}

void SkipBlanks(const std::string& t, std::size_t& i) {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
}

std::string Word(const std::string& t, std::size_t& i) {
    const std::size_t start = i;
    while (i < t.size() && t[i] != ' ' && t[i] != '\t' && t[i] != ';' && t[i] != '}' && t[i] != '"') ++i;
    return t.substr(start, i - start);
}

std::unique_ptr<TVeskParser> ParseRaw(const std::string& t) {
    auto list = std::make_unique<TVeskParser>();
    std::size_t i = 5;  // after "@ops{"
    for (;;) {
        SkipBlanks(t, i);
        if (i >= t.size()) throw EVeskError("raw operation list without closing }");
        if (t[i] == '}') break;
        if (t[i] == ';') {
            ++i;
            continue;
        }
        std::string name = Word(t, i);
        std::uint8_t func = 0;
        if (const auto hash = name.find('#'); hash != std::string::npos) {
            func = static_cast<std::uint8_t>(std::stoi(name.substr(hash + 1)));
            name.resize(hash);
        }
        int code = -1;
        for (int c = 0; c <= 255 && code < 0; ++c)
            if (c <= kLastOpeCode && name == OpeCodeName(static_cast<std::uint8_t>(c))) code = c;
        if (code < 0 && name.rfind("op", 0) == 0 && name.size() > 2 && std::isdigit(static_cast<unsigned char>(name[2])))
            code = std::stoi(name.substr(2));
        if (code < 0 || code > 255) throw EVeskError("unknown operator '" + name + "'");
        SkipBlanks(t, i);
        TOpeData& op = list->Add(static_cast<std::uint8_t>(code), UnquoteToSjis(t, i), func);
        for (;;) {
            SkipBlanks(t, i);
            if (i >= t.size() || t[i] == ';' || t[i] == '}') break;
            if (i + 2 > t.size() || t[i + 1] != ':') throw EVeskError("bad operand in raw operation list");
            const char k = t[i];
            i += 2;
            if (k == 's' || k == 'v') {
                std::string s = UnquoteToSjis(t, i);
                if (k == 's') op.AddStr(std::move(s));
                else op.AddVar(std::move(s));
                continue;
            }
            const std::string w = Word(t, i);
            try {
                if (k == 'i') op.AddInt(static_cast<std::int32_t>(std::stol(w)));
                else if (k == 'f') op.AddFloat(std::strtold(w.c_str(), nullptr));
                else if (k == 'b') op.AddBool(w != "0");
                else throw EVeskError("bad operand kind");
            } catch (const std::logic_error&) {
                throw EVeskError("bad number '" + w + "' in raw operation list");
            }
        }
    }
    SkipBlanks(t, ++i);
    if (i != t.size()) throw EVeskError("text after the raw operation list");
    return list;
}

// ---- source form (decompiling) ----

struct Node {
    std::string text;
    int prec;  // 100: an atom
};

int Precedence(std::uint8_t ope) {
    switch (ope) {
    case ocMul: case ocDiv: case ocMod: return 9;
    case ocPlus: case ocMinus: return 8;
    case ocShiftL: case ocShiftR: return 7;
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual: return 6;
    case ocComboStr: return 5;
    case ocAnd: return 4;
    case ocXor: return 3;
    case ocOr: return 2;
    default: return 0;
    }
}

const char* Spelling(std::uint8_t ope) {
    static const char* const s[] = {"", "=", "+", "-", "*", "/", "%", "|", "&", "^", "", "",
                                    "==", ">", "<", ">=", "<=", "<<", ">>", "++", "<>"};
    return ope <= kLastOpeCode ? s[ope] : "";
}

bool IsTemp(const std::string& n) { return n.rfind("____", 0) == 0; }

// A string literal of the source syntax, or nothing when the text holds a
// line break the syntax cannot express.
std::optional<std::string> SourceString(const std::string& sjis) {
    std::string out = "\"";
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(sjis[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= sjis.size()) return std::nullopt;
            out += sjis[i];
            out += sjis[++i];
        } else if (c == '\r' && i + 1 < sjis.size() && sjis[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            return std::nullopt;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::optional<Node> OperandNode(const TCustomParam& p, std::map<std::string, Node>& temps) {
    if (auto* var = dynamic_cast<const TParamVar*>(&p)) {
        const std::string& n = var->VarName();
        if (IsTemp(n)) {
            auto it = temps.find(n);
            if (it == temps.end()) return std::nullopt;
            return it->second;
        }
        if (n.empty()) return std::nullopt;
        return Node{n, 100};
    }
    switch (p.Kind()) {
    case PT_INT: return Node{std::to_string(p.AsInt()), 100};
    case PT_FLOAT: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.18Lg", p.AsFloat());
        std::string t = buf;
        if (t.find_first_of(".eEn") == std::string::npos) t += ".0";
        return Node{t, 100};
    }
    case PT_BOOL: return Node{p.AsBool() ? "TRUE" : "FALSE", 100};
    case PT_STR: {
        auto s = SourceString(p.AsStr());
        if (!s) return std::nullopt;
        return Node{*s, 100};
    }
    default: return std::nullopt;
    }
}

std::string Wrap(const Node& n, bool paren) { return paren ? "(" + n.text + ")" : n.text; }

std::optional<std::string> Decompile(const TVeskParser& list) {
    std::map<std::string, Node> temps;
    const int count = list.Count();
    if (count == 0) return std::nullopt;
    for (int k = 0; k < count; ++k) {
        const TOpeData& op = list.Item(k);
        const bool last = k == count - 1;
        std::vector<Node> args;
        for (const auto& operand : op.Operands) {
            auto n = OperandNode(*operand, temps);
            if (!n) return std::nullopt;
            args.push_back(*n);
        }
        Node result;
        if (op.Ope == ocTo) {
            if (args.size() != 1) return std::nullopt;
            if (last && op.Dest() == "____arg") return args[0].text;
            if (last && !IsTemp(op.Dest())) return op.Dest() + " = " + args[0].text;
            result = args[0];
        } else if (op.Ope == ocFunc) {
            if (op.FuncIndex >= kFunctionCount) return std::nullopt;
            std::string t = std::string(kFunctionTable[op.FuncIndex].Name) + "(";
            for (std::size_t a = 0; a < args.size(); ++a) t += (a ? ", " : "") + args[a].text;
            result = Node{t + ")", 100};
        } else if (op.Ope == ocDimTo) {
            if (args.size() < 2 || args[0].prec != 100 || args[0].text.front() == '"') return std::nullopt;
            std::string t = args[0].text + "[";
            for (std::size_t a = 1; a < args.size(); ++a) t += (a > 1 ? ", " : "") + args[a].text;
            result = Node{t + "]", 100};
        } else {
            const int p = Precedence(op.Ope);
            if (p == 0 || args.size() != 2) return std::nullopt;
            result = Node{Wrap(args[0], args[0].prec < p) + " " + Spelling(op.Ope) + " " + Wrap(args[1], args[1].prec <= p), p};
        }
        if (last || !IsTemp(op.Dest())) return std::nullopt;
        temps[op.Dest()] = result;
    }
    return std::nullopt;
}

}  // namespace

bool SameOpList(const TVeskParser& a, const TVeskParser& b) { return Bytes(a) == Bytes(b); }

std::string OpListToRaw(const TVeskParser& list) {
    std::string out = "@ops{";
    for (int k = 0; k < list.Count(); ++k) {
        const TOpeData& op = list.Item(k);
        if (k) out += "; ";
        const char* name = OpeCodeName(op.Ope);
        out += *name ? std::string(name) : "op" + std::to_string(op.Ope);
        if (op.Ope == ocFunc) out += "#" + std::to_string(op.FuncIndex);
        out += " " + QuoteSjis(op.Dest());
        for (const auto& operand : op.Operands) out += " " + OperandRaw(*operand);
    }
    return out + "}";
}

std::string OpListToText(const TVeskParser& list) {
    if (list.Count() == 0) return {};
    if (auto source = Decompile(list)) {
        try {
            auto again = TextToOpList(SjisToUtf8(*source));
            if (SjisRoundTrips(*source) && SameOpList(*again, list)) return SjisToUtf8(*source);
        } catch (const std::exception&) {
        }
    }
    return OpListToRaw(list);
}

std::unique_ptr<TVeskParser> TextToOpList(const std::string& utf8) {
    std::size_t b = 0, e = utf8.size();
    while (b < e && (utf8[b] == ' ' || utf8[b] == '\t')) ++b;
    while (e > b && (utf8[e - 1] == ' ' || utf8[e - 1] == '\t')) --e;
    const std::string text = utf8.substr(b, e - b);
    if (text.empty()) return std::make_unique<TVeskParser>();
    if (text.rfind("@ops{", 0) == 0) return ParseRaw(text);
    auto list = std::make_unique<TVeskParser>();
    try {
        CompileExpression(Utf8ToSjis(text), *list);
    } catch (const EVeskError& e) {
        throw EVeskError(SjisToUtf8(e.what()) + " in '" + text + "'");
    }
    return list;
}

}  // namespace vesk::tool
