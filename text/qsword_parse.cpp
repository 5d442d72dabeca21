// Markup to glyphs: the tokens of the joined text walked in order, with the
// attribute stacks deciding how each character looks.
#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "text/char_code.h"
#include "text/markup_tag.h"
#include "text/markup_tokens.h"
#include "text/qsword.h"
#include "text/tag_values.h"
#include "text/wd_char.h"
#include "text/wd_img.h"
#include "text/wd_ops.h"
#include "text/wd_var.h"
#include "values/param_collection.h"

namespace vesk {

namespace {

// The prefix that marks the text of an END event.
constexpr char kEndEventPrefix = 0x01;

std::int32_t DefaultWait(const TQsWord& engine) {
    const TParamCollection* vars = engine.Variables ? engine.Variables : TParamCollection::Global();
    return vars ? vars->TextDelay : TParamCollection().TextDelay;
}

std::int32_t ColourOr(const TQsTag& tag, std::string_view attribute, std::int32_t current) {
    const std::string* v = tag.Find(attribute);
    return v ? ParseTagColour(*v).value_or(current) : current;
}

// BORDER and SHADOW: absent keeps the current width; present means 1
// unless a number says otherwise, and never less than 0.
std::int32_t WidthOr(const TQsTag& tag, std::string_view attribute, std::int32_t current) {
    if (!tag.Has(attribute)) return current;
    return std::max(0, tag.IntValue(attribute, 1));
}

std::uint8_t DivAlign(const std::string& word) {
    if (SjisSameText(word, "RIGHT")) return HA_RIGHT;
    if (SjisSameText(word, "CENTER")) return HA_CENTER;
    return HA_LEFT;
}

std::uint8_t ImgAlign(const std::string& word) {
    if (SjisSameText(word, "CENTER")) return VA_CENTER;
    if (SjisSameText(word, "TOP")) return VA_TOP;
    return VA_BOTTOM;
}

class TMarkupReader {
public:
    explicit TMarkupReader(TQsWord& engine) : engine_(engine), state_(DefaultWait(engine)) {}

    void Read(const std::string& text) {
        for (const TMarkupToken& t : TokenizeMarkup(text)) {
            if (t.Kind == TMarkupTokenKind::Text)
                Characters(t.Text);
            else if (t.Kind == TMarkupTokenKind::Tag)
                Tag(TQsTag(t.Text));
        }
    }

private:
    TDecorateRef CurrentDecoration() {
        TDecorate d;
        d.Color = state_.Color.Top();
        d.BColor = state_.BColor.Top();
        d.SColor = state_.SColor.Top();
        d.Size = state_.Size.Top();
        d.Style = state_.Style;
        d.FontName = state_.FontName.Top();
        d.NoBreak = state_.NoBreak;
        d.Ruby = state_.Ruby;
        d.Border = state_.Border.Top();
        d.Shadow = state_.Shadow.Top();
        // Runs of characters look alike; asking the list only when the
        // look changed keeps long texts cheap.
        if (!last_ || !last_->SameLook(d)) last_ = engine_.Decorations().Share(d);
        return last_;
    }

    void Characters(const std::string& text) {
        for (std::size_t i = 0; i < text.size(); i += SjisCharLen(text, i)) {
            auto c = std::make_unique<TWdChar>(engine_, CharCodeAt(text, i), CurrentDecoration());
            c->SetLink(state_.Link);
            c->SetWait(state_.Wait.Top());
            engine_.Append(std::move(c));
        }
    }

    void SetStyle(std::uint8_t bit, bool on) { state_.Style = on ? state_.Style | bit : state_.Style & ~bit; }

    void Tag(const TQsTag& tag) {
        switch (tag.Code()) {
            case TG_A: {
                const std::string* href = tag.Find("HREF");
                if (!href) throw EVeskError(Sj("<A>タグにHREF値がありません"));
                state_.Link = UnescapeTagValue(*href);
                break;
            }
            case TG_A_END: state_.Link.clear(); break;
            case TG_B: SetStyle(FS_BOLD, true); break;
            case TG_B_END: SetStyle(FS_BOLD, false); break;
            case TG_I: SetStyle(FS_ITALIC, true); break;
            case TG_I_END: SetStyle(FS_ITALIC, false); break;
            case TG_S: SetStyle(FS_STRIKEOUT, true); break;
            case TG_S_END: SetStyle(FS_STRIKEOUT, false); break;
            case TG_U: SetStyle(FS_UNDERLINE, true); break;
            case TG_U_END: SetStyle(FS_UNDERLINE, false); break;
            case TG_NOBR: state_.NoBreak = 1; break;
            case TG_NOBR_END: state_.NoBreak = 0; break;
            case TG_RUBY: state_.Ruby = tag.Value("VALUE"); break;
            case TG_RUBY_END: state_.Ruby.clear(); break;
            case TG_FONT: Font(tag); break;
            case TG_FONT_END: FontEnd(); break;
            case TG_DIV:
                state_.Align.Push(DivAlign(tag.Value("ALIGN")));
                engine_.Append(std::make_unique<TWdOpeAlign>(engine_, state_.Align.Top()));
                break;
            case TG_DIV_END:
                state_.Align.Pop();
                engine_.Append(std::make_unique<TWdOpeAlign>(engine_, state_.Align.Top()));
                break;
            case TG_INDENT: engine_.Append(std::make_unique<TWdOpeIndent>(engine_)); break;
            case TG_UNDENT: engine_.Append(std::make_unique<TWdOpeUndent>(engine_)); break;
            case TG_BR: engine_.Append(std::make_unique<TWdOpeReturn>(engine_, tag.Has("CLEAR"))); break;
            case TG_CLEAR: engine_.Append(std::make_unique<TWdOpeReturn>(engine_, true)); break;
            case TG_EVENT: {
                std::string text = UnescapeTagValue(tag.Value("VALUE"));
                if (tag.Has("END")) text.insert(text.begin(), kEndEventPrefix);
                engine_.Append(std::make_unique<TWdOpeEvent>(engine_, std::move(text)));
                break;
            }
            case TG_WAIT: state_.Wait.Push(tag.IntValue("VALUE", state_.Wait.Top())); break;
            case TG_WAIT_END: state_.Wait.Pop(); break;
            case TG_VAR: {
                std::string name = tag.Value("NAME");
                if (name.empty()) break;
                engine_.Append(std::make_unique<TWdOpeVar>(engine_, std::move(name), CurrentDecoration(), state_.Link,
                                                           state_.Wait.Top()));
                break;
            }
            case TG_IMG: {
                std::string src = tag.Value("SRC");
                if (src.empty()) break;
                auto img = std::make_unique<TWdImg>(engine_, std::move(src), ImgAlign(tag.Value("ALIGN")));
                img->SetLink(state_.Link);
                img->SetWait(state_.Wait.Top());
                engine_.Append(std::move(img));
                break;
            }
            default: break;
        }
    }

    void Font(const TQsTag& tag) {
        state_.Size.Push(tag.IntValue("SIZE", state_.Size.Top()));
        state_.Color.Push(ColourOr(tag, "COLOR", state_.Color.Top()));
        state_.BColor.Push(ColourOr(tag, "BCOLOR", state_.BColor.Top()));
        state_.SColor.Push(ColourOr(tag, "SCOLOR", state_.SColor.Top()));
        const std::string* name = tag.Find("NAME");
        state_.FontName.Push(name ? *name : state_.FontName.Top());
        state_.Border.Push(WidthOr(tag, "BORDER", state_.Border.Top()));
        state_.Shadow.Push(WidthOr(tag, "SHADOW", state_.Shadow.Top()));
    }

    void FontEnd() {
        state_.Size.Pop();
        state_.Color.Pop();
        state_.BColor.Pop();
        state_.SColor.Pop();
        state_.FontName.Pop();
        state_.Border.Pop();
        state_.Shadow.Pop();
    }

    TQsWord& engine_;
    TTagValList state_;
    TDecorateRef last_;
};

}  // namespace

void TQsWord::Parse(const std::vector<std::string>& lines) {
    glyphs_.clear();
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) joined.push_back('\r');
        joined += lines[i];
    }
    TMarkupReader(*this).Read(joined);
}

}  // namespace vesk
