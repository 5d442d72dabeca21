#include "text/wd_var.h"

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "text/char_code.h"
#include "text/qsword.h"
#include "text/wd_char.h"
#include "text/wd_ops.h"
#include "values/compiler.h"
#include "values/param_collection.h"
#include "values/vesk_parser.h"

namespace vesk {

namespace {

// Line breaks inside the values of the name/value list and of the history
// lines, which are themselves one line each.
constexpr char kLineMark = 0x01;

std::string Bytes(const TVeskParser& list) {
    TMemoryStream s;
    list.SaveToStream(s);
    return s.AsString();
}

// The source text of a stored list when it is the compiled form of a
// plain name (the usual insertion of one variable), else "".
std::string PlainNameOf(const TVeskParser& list) {
    if (list.Count() != 1 || list.Item(0).Operands.size() != 1) return {};
    const auto* var = dynamic_cast<const TParamVar*>(list.Item(0).Operands[0].get());
    if (!var) return {};
    try {
        TVeskParser again;
        CompileExpression(var->VarName(), again);
        return Bytes(again) == Bytes(list) ? var->VarName() : std::string();
    } catch (const EVeskError&) {
        return {};
    }
}

}  // namespace

TWdOpeVar::TWdOpeVar(TQsWord& engine, std::string expression, TDecorateRef decoration, std::string link,
                     std::int32_t wait)
    : TWdGlyph(engine),
      expression_(std::move(expression)),
      decoration_(std::move(decoration)),
      link_(std::move(link)),
      wait_(wait) {}

TWdOpeVar::TWdOpeVar(TQsWord& engine) : TWdGlyph(engine) {}

TWdOpeVar::TWdOpeVar(const TWdOpeVar& o, TQsWord& engine)
    : TWdGlyph(o, engine),
      expression_(o.expression_),
      decoration_(DecorationFor(engine, o.decoration_)),
      link_(o.link_),
      wait_(o.wait_) {
    if (o.compiled_) {
        compiled_ = std::make_unique<TVeskParser>();
        compiled_->Assign(*o.compiled_);
    }
}

TWdOpeVar::~TWdOpeVar() = default;

void TWdOpeVar::SetNameText(const std::string& v) {
    expression_ = v;
    compiled_.reset();
}

std::string TWdOpeVar::Value() const {
    if (const std::optional<std::string> v = compiled_ ? std::nullopt : Engine().NameValue(expression_)) {
        std::string out = *v;
        for (char& c : out)
            if (c == kLineMark) c = '\r';
        return out;
    }
    TParamCollection* vars = Engine().Variables ? Engine().Variables : TParamCollection::Global();
    if (!vars) return {};
    try {
        TVeskParser list;
        if (compiled_)
            list.Assign(*compiled_);
        else
            CompileExpression(expression_, list);
        list.Evaluate(*vars);
        return list.Result() ? list.Result()->AsStr() : std::string();
    } catch (const EVeskError&) {
        return {};
    }
}

std::vector<std::unique_ptr<TWdGlyph>> TWdOpeVar::Expand() {
    const std::string value = Value();
    std::vector<std::unique_ptr<TWdGlyph>> out;
    for (std::size_t i = 0; i < value.size(); i += SjisCharLen(value, i)) {
        const auto lead = static_cast<unsigned char>(value[i]);
        if (lead == '\r') {
            out.push_back(std::make_unique<TWdVarReturn>(Engine()));
        } else if (lead >= 0x20) {
            auto c = std::make_unique<TWdVarChar>(Engine(), CharCodeAt(value, i), decoration_);
            c->SetLink(link_);
            c->SetWait(wait_);
            out.push_back(std::move(c));
        }
    }
    return out;
}

void TWdOpeVar::AddVarLines(std::vector<std::string>& lines) const {
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        if (SjisSameText(std::string_view(line).substr(0, eq), expression_)) return;
    }
    std::string value;
    for (const TWdGlyph* g : inserted_) value += g->Code() ? g->Text() : std::string(1, kLineMark);
    lines.push_back(expression_ + "=" + value);
}

void TWdOpeVar::WriteData(TStream& s) const {
    // The newest form keeps the source text only; a compiled list that is
    // not a plain name has no text to give, and dropping it would lose the
    // insertion without a word.
    if (compiled_) throw EVeskError(Sj("変数挿入の式を保存できません"));
    WriteInt32(s, Engine().Decorations().IndexOf(decoration_));
    WriteInt32(s, wait_);
    WriteString(s, link_);
    WriteString(s, expression_);
}

void TWdOpeVar::ReadData(TStream& s, const TGlyphReadContext& context) {
    decoration_ = Engine().StoredDecoration(ReadInt32(s), context);
    if (context.Version > 100) {
        wait_ = ReadInt32(s);
        link_ = ReadString(s);
    }
    if (context.Version >= 102) {
        expression_ = ReadString(s);
        return;
    }
    compiled_ = std::make_unique<TVeskParser>();
    compiled_->LoadFromStream(s);
    expression_ = PlainNameOf(*compiled_);
    if (!expression_.empty()) compiled_.reset();
}

}  // namespace vesk
