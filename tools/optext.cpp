#include "tools/optext.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <memory>
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

// The expression an operation list computes, as a tree. The compiler numbers
// its temporaries by the text's structure, so the same tree can come from
// texts that differ in redundant parentheses or in a sign written as "-x" or
// "0 - x"; those are the choices a rendering makes.
struct Expr {
    enum class Kind { Atom, Binary, Call, Element } kind = Kind::Atom;
    std::string text;  // an atom's text, a function's or an array's name
    std::uint8_t ope = 0;
    std::vector<Expr*> args;
    int choice = -1;  // the bit of a binary operand: extra parentheses, or for 0 - x the sign form
};

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

// Builds the tree of a list; nothing when some operation has no source form.
class TDecompiler {
public:
    bool Build(const TVeskParser& list) {
        const int count = list.Count();
        if (count == 0) return false;
        for (int k = 0; k < count; ++k) {
            const TOpeData& op = list.Item(k);
            const bool last = k == count - 1;
            std::vector<Expr*> args;
            for (const auto& operand : op.Operands) {
                Expr* e = Operand(*operand);
                if (!e) return false;
                args.push_back(e);
            }
            Expr* result = nullptr;
            if (op.Ope == ocTo) {
                if (args.size() != 1) return false;
                if (last && (op.Dest() == "____arg" || !IsTemp(op.Dest()))) {
                    root_ = args[0];
                    if (op.Dest() != "____arg") dest_ = op.Dest();
                    return true;
                }
                result = args[0];
            } else if (op.Ope == ocFunc) {
                if (op.FuncIndex >= kFunctionCount) return false;
                result = Make(Expr::Kind::Call, kFunctionTable[op.FuncIndex].Name, 0, std::move(args));
            } else if (op.Ope == ocDimTo) {
                if (args.size() < 2 || args[0]->kind != Expr::Kind::Atom || args[0]->text.front() == '"') return false;
                const std::string name = args[0]->text;
                args.erase(args.begin());
                result = Make(Expr::Kind::Element, name, 0, std::move(args));
            } else {
                if (Precedence(op.Ope) == 0 || args.size() != 2) return false;
                Expr* e = Make(Expr::Kind::Binary, "", op.Ope, std::move(args));
                if (IsZeroMinus(*e)) e->choice = choices_++;
                for (Expr* a : e->args)
                    if (a->kind == Expr::Kind::Binary && a->choice < 0) a->choice = choices_++;
                result = e;
            }
            if (last || !IsTemp(op.Dest())) return false;
            temps_[op.Dest()] = result;
        }
        return false;
    }

    int Choices() const { return choices_; }

    // The text with the choices of bits taken.
    std::string Render(std::uint32_t bits) const {
        const std::string text = RenderNode(*root_, bits).text;
        return dest_.empty() ? text : dest_ + " = " + text;
    }

private:
    Expr* Make(Expr::Kind kind, std::string text, std::uint8_t ope, std::vector<Expr*> args) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->text = std::move(text);
        e->ope = ope;
        e->args = std::move(args);
        nodes_.push_back(std::move(e));
        return nodes_.back().get();
    }

    Expr* Atom(std::string text) { return Make(Expr::Kind::Atom, std::move(text), 0, {}); }

    Expr* Operand(const TCustomParam& p) {
        if (auto* var = dynamic_cast<const TParamVar*>(&p)) {
            const std::string& n = var->VarName();
            if (IsTemp(n)) {
                auto it = temps_.find(n);
                return it == temps_.end() ? nullptr : it->second;
            }
            return n.empty() ? nullptr : Atom(n);
        }
        switch (p.Kind()) {
        case PT_INT: return Atom(std::to_string(p.AsInt()));
        case PT_FLOAT: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.18Lg", p.AsFloat());
            std::string t = buf;
            if (t.find_first_of(".eEn") == std::string::npos) t += ".0";
            return Atom(t);
        }
        case PT_BOOL: return Atom(p.AsBool() ? "TRUE" : "FALSE");
        case PT_STR: {
            auto s = SourceString(p.AsStr());
            return s ? Atom(*s) : nullptr;
        }
        default: return nullptr;
        }
    }

    static bool IsZeroMinus(const Expr& e) {
        return e.ope == ocMinus && e.args[0]->kind == Expr::Kind::Atom && e.args[0]->text == "0";
    }

    static std::string Wrap(const Node& n, bool paren) { return paren ? "(" + n.text + ")" : n.text; }

    static bool Chosen(const Expr& e, std::uint32_t bits) { return e.choice >= 0 && e.choice < 32 && (bits >> e.choice) & 1; }

    Node RenderNode(const Expr& e, std::uint32_t bits) const {
        switch (e.kind) {
        case Expr::Kind::Atom: return {e.text, 100};
        case Expr::Kind::Call:
        case Expr::Kind::Element: {
            std::string t = e.text + (e.kind == Expr::Kind::Call ? "(" : "[");
            for (std::size_t a = 0; a < e.args.size(); ++a) t += (a ? ", " : "") + RenderNode(*e.args[a], bits).text;
            return {t + (e.kind == Expr::Kind::Call ? ")" : "]"), 100};
        }
        case Expr::Kind::Binary: break;
        }
        const Expr& left = *e.args[0];
        const Expr& right = *e.args[1];
        const Node r = RenderNode(right, bits);
        // A sign binds before every operator: "-x" for 0 - x.
        if (IsZeroMinus(e) && Chosen(e, bits))
            return {"-" + Wrap(r, r.prec < 100), 100};
        const Node l = RenderNode(left, bits);
        const int p = Precedence(e.ope);
        const bool extraL = left.kind == Expr::Kind::Binary && Chosen(left, bits) && l.prec < 100;
        const bool extraR = right.kind == Expr::Kind::Binary && Chosen(right, bits) && r.prec < 100;
        return {Wrap(l, l.prec < p || extraL) + " " + Spelling(e.ope) + " " + Wrap(r, r.prec <= p || extraR), p};
    }

    std::vector<std::unique_ptr<Expr>> nodes_;
    std::map<std::string, Expr*> temps_;
    const Expr* root_ = nullptr;
    std::string dest_;
    int choices_ = 0;
};

// Whether the source text compiles to exactly the bytes of list.
bool CompilesTo(const std::string& sjisSource, const TVeskParser& list);

// The source text of a list: the rendering with the fewest choices taken
// whose compilation gives the list's bytes back; nothing when none does.
std::optional<std::string> Decompile(const TVeskParser& list) {
    TDecompiler d;
    if (!d.Build(list)) return std::nullopt;
    // Every subset of choices up to a bound; beyond it only none and all.
    constexpr int kMaxChoices = 10;
    std::vector<std::uint32_t> tries;
    if (d.Choices() <= kMaxChoices) {
        for (std::uint32_t bits = 0; bits < (1u << d.Choices()); ++bits) tries.push_back(bits);
        std::stable_sort(tries.begin(), tries.end(),
                         [](std::uint32_t a, std::uint32_t b) { return std::popcount(a) < std::popcount(b); });
    } else {
        tries = {0u, ~0u};
    }
    for (const std::uint32_t bits : tries) {
        const std::string text = d.Render(bits);
        if (CompilesTo(text, list)) return text;
    }
    return std::nullopt;
}

bool CompilesTo(const std::string& sjisSource, const TVeskParser& list) {
    try {
        if (!SjisRoundTrips(sjisSource)) return false;
        auto again = TextToOpList(SjisToUtf8(sjisSource));
        return SameOpList(*again, list);
    } catch (const std::exception&) {
        return false;
    }
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
    if (auto source = Decompile(list)) return SjisToUtf8(*source);
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
