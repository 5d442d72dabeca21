// Message markup and the stored glyph list of text insertions. Markup is
// compiled by the player's parser; a stored list is written back as markup
// that builds the same bytes: each glyph's decoration, link and display
// wait are reached by opening and closing tags as they change.
#include "tools/markuptext.h"

#include <cstdio>
#include <iterator>

#include "common/error.h"
#include "common/sjis.h"
#include "common/stream.h"
#include "text/qsword.h"
#include "text/wd_ops.h"

namespace vesk::tool {

namespace {

// The part of a decoration that one FONT tag sets.
struct TFontPart {
    std::int32_t Size = 0, Color = -1, BColor = -1, SColor = -1;
    std::string Name;
    std::int32_t Border = -1, Shadow = -1;

    explicit TFontPart(const TDecorate& d)
        : Size(d.Size), Color(d.Color), BColor(d.BColor), SColor(d.SColor), Name(d.FontName), Border(d.Border),
          Shadow(d.Shadow) {}
    TFontPart() = default;
    bool operator==(const TFontPart&) const = default;
};

constexpr std::pair<std::uint8_t, const char*> kStyleTags[] = {
    {FS_BOLD, "B"}, {FS_ITALIC, "I"}, {FS_UNDERLINE, "U"}, {FS_STRIKEOUT, "S"}};

// A platform colour 0x00BBGGRR as the tag's "#RRGGBB".
std::string ColourText(std::int32_t c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

// An attribute value taken as it is typed (SRC, NAME, VALUE of RUBY, the
// expression of VAR): in double quotes, where nothing but the closing quote
// is special, or in single quotes when it holds double quotes itself (an
// expression with a string literal).
std::string RawValue(const std::string& v) {
    return v.find('"') == std::string::npos ? "\"" + v + "\"" : "'" + v + "'";
}

// A value whose escapes the engine resolves (link targets, event texts):
// backslashes and quotes escaped, CR LF as "\n".
std::string EscapedValue(const std::string& v) {
    std::string out = "\"";
    for (std::size_t i = 0; i < v.size(); i += SjisCharLen(v, i)) {
        const std::size_t len = SjisCharLen(v, i);
        if (v.compare(i, 2, "\r\n") == 0) {
            out += "\\n";
            ++i;
        } else if (len == 1 && (v[i] == '\\' || v[i] == '"')) {
            out += '\\';
            out += v[i];
        } else {
            out.append(v, i, len);
        }
    }
    return out + "\"";
}

const char* DivWord(std::uint8_t align) {
    switch (align) {
        case HA_RIGHT: return "RIGHT";
        case HA_CENTER: return "CENTER";
        default: return "LEFT";
    }
}

class TMarkupWriter {
public:
    explicit TMarkupWriter(std::int32_t defaultWait) : defaultWait_(defaultWait), wait_(defaultWait) {}

    std::vector<std::string> Write(const TQsWord& engine) {
        for (int i = 0; i < engine.Count(); ++i) Glyph(engine.Glyph(i));
        // Closing what is open changes no glyph; it only reads better.
        SetLook(TDecorate{});
        SetLink({});
        SetWait(defaultWait_);
        lines_.push_back(line_);
        return lines_;
    }

private:
    void Glyph(const TWdGlyph& g) {
        switch (g.ClassCode()) {
            case WD_CHAR:
                Reach(g, g.Decoration());
                Char(g.Text());
                break;
            case WD_VAR:
                Reach(g, g.Decoration());
                Tag("<VAR NAME=" + RawValue(g.NameText()) + ">");
                break;
            case WD_IMG: {
                SetLink(g.Link());
                SetWait(g.Wait());
                const std::uint8_t a = g.Align();
                Tag("<IMG SRC=" + RawValue(g.NameText()) +
                    (a == VA_TOP ? " ALIGN=TOP" : a == VA_CENTER ? " ALIGN=CENTER" : "") + ">");
                break;
            }
            case WD_RETURN:
                Tag(g.ClearFlag() ? "<CLEAR>" : "<BR>");
                // A line end right after a tag adds nothing to the text.
                lines_.push_back(line_);
                line_.clear();
                break;
            case WD_ALIGN: Align(g.Align()); break;
            case WD_INDENT: Tag("<INDENT>"); break;
            case WD_UNDENT: Tag("<UNDENT>"); break;
            case WD_EVENT: {
                const bool end = static_cast<const TWdOpeEvent&>(g).IsEnd();
                Tag("<EVENT VALUE=" + EscapedValue(g.NameText()) + (end ? " END" : "") + ">");
                break;
            }
            default: break;
        }
    }

    // The state a character or variable insertion is parsed in.
    void Reach(const TWdGlyph& g, const TDecorateRef* d) {
        SetLink(g.Link());
        SetLook(d && *d ? **d : TDecorate{});
        SetWait(g.Wait());
    }

    void SetLink(const std::string& link) {
        if (link == link_) return;
        Tag(link.empty() ? "</A>" : "<A HREF=" + EscapedValue(link) + ">");
        link_ = link;
    }

    void SetLook(const TDecorate& d) {
        const TFontPart font(d);
        if (!(font == font_)) {
            // At most one FONT is open, so each one starts from the defaults.
            if (!(font_ == TFontPart{})) Tag("</FONT>");
            if (!(font == TFontPart{})) Tag(FontTag(font));
            font_ = font;
        }
        // Styles that end close innermost first, then new ones open.
        for (auto t = std::rbegin(kStyleTags); t != std::rend(kStyleTags); ++t)
            if ((style_ & t->first) && !(d.Style & t->first)) Tag(std::string("</") + t->second + ">");
        for (const auto& [bit, name] : kStyleTags)
            if (!(style_ & bit) && (d.Style & bit)) Tag(std::string("<") + name + ">");
        style_ = d.Style;
        if (d.NoBreak != noBreak_) Tag(d.NoBreak ? "<NOBR>" : "</NOBR>");
        noBreak_ = d.NoBreak;
        if (d.Ruby != ruby_) Tag(d.Ruby.empty() ? "</RUBY>" : "<RUBY VALUE=" + RawValue(d.Ruby) + ">");
        ruby_ = d.Ruby;
    }

    static std::string FontTag(const TFontPart& f) {
        std::string t = "<FONT";
        if (f.Size != 0) t += " SIZE=" + std::to_string(f.Size);
        if (f.Color != -1) t += " COLOR=" + ColourText(f.Color);
        if (f.BColor != -1) t += " BCOLOR=" + ColourText(f.BColor);
        if (f.SColor != -1) t += " SCOLOR=" + ColourText(f.SColor);
        if (!f.Name.empty()) t += " NAME=" + RawValue(f.Name);
        if (f.Border != -1) t += " BORDER=" + std::to_string(f.Border);
        if (f.Shadow != -1) t += " SHADOW=" + std::to_string(f.Shadow);
        return t + ">";
    }

    // At most one WAIT is open, above the parse's default.
    void SetWait(std::int32_t wait) {
        if (wait == wait_) return;
        if (wait_ != defaultWait_) Tag("</WAIT>");
        if (wait != defaultWait_) Tag("<WAIT VALUE=" + std::to_string(wait) + ">");
        wait_ = wait;
    }

    // A DIV pushes its alignment and /DIV returns to the one below, so an
    // alignment that equals the one below the top is reached by closing.
    void Align(std::uint8_t align) {
        const std::uint8_t below = divs_.size() >= 2 ? divs_[divs_.size() - 2] : HA_LEFT;
        if (!divs_.empty() && align == below) {
            divs_.pop_back();
            Tag("</DIV>");
        } else {
            divs_.push_back(align);
            Tag(std::string("<DIV ALIGN=") + DivWord(align) + ">");
        }
    }

    void Tag(const std::string& tag) {
        line_ += tag;
        blankBefore_ = false;
    }

    void Char(const std::string& c) {
        if (c == " ") {
            // Typed blanks after a blank collapse; an escaped one stays.
            line_ += blankBefore_ ? "\\ " : " ";
            blankBefore_ = true;
            return;
        }
        // An escaped quote opens no verbatim stretch.
        if (c == "\\" || c == "<" || c == ">" || c == "\"") line_ += '\\';
        line_ += c;
        blankBefore_ = false;
    }

    const std::int32_t defaultWait_;
    std::vector<std::string> lines_;
    std::string line_;
    bool blankBefore_ = false;
    std::string link_;
    TFontPart font_;
    std::uint8_t style_ = 0, noBreak_ = 0;
    std::string ruby_;
    std::int32_t wait_;
    std::vector<std::uint8_t> divs_;
};

// The display wait the parser gives text outside WAIT tags.
std::int32_t DefaultWait() {
    TQsWord probe;
    probe.Parse({"a"});
    return probe.Glyph(0).Wait();
}

}  // namespace

std::string MarkupToStoredList(const std::vector<std::string>& lines) {
    TQsWord engine;
    engine.Parse(lines);
    TMemoryStream s;
    engine.SaveToStream(s);
    return s.AsString();
}

std::optional<std::vector<std::string>> StoredListToMarkup(const std::string& stored) {
    TQsWord engine;
    try {
        TConstMemoryStream s(stored.data(), static_cast<std::int64_t>(stored.size()));
        engine.AppendFromStream(s);
        if (s.Position() != s.Size()) return std::nullopt;
    } catch (const EVeskError&) {
        return std::nullopt;
    }
    std::vector<std::string> lines = TMarkupWriter(DefaultWait()).Write(engine);
    // A character that is a line end cannot be written within a line.
    for (const std::string& line : lines)
        if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    // The writer aims at the parser's rules; the parser has the last word.
    try {
        if (MarkupToStoredList(lines) != stored) return std::nullopt;
    } catch (const EVeskError&) {
        return std::nullopt;
    }
    return lines;
}

}  // namespace vesk::tool
