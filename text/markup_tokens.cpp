#include "text/markup_tokens.h"

#include "common/sjis.h"

namespace vesk {

namespace {

constexpr char kCR = '\r';
constexpr char kTab = '\t';
// A control byte some editors leave in texts; it reads as a blank.
constexpr char kSoftBlank = 0x14;

constexpr std::string_view kBlockOpeners[] = {"<!--", "<SCRIPT", "<STYLE"};
constexpr std::string_view kBlockClosers[] = {"-->", "</SCRIPT>", "</STYLE>"};
constexpr std::string_view kLiteralAfterBackslash = "%<>\\{}";

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
    return s.size() - at >= word.size() && SjisSameText(s.substr(at, word.size()), word);
}

// The length of the first of words found at s[at], or 0.
template <std::size_t N>
std::size_t MatchAny(std::string_view s, std::size_t at, const std::string_view (&words)[N]) {
    for (std::string_view w : words)
        if (StartsWithNoCase(s, at, w)) return w.size();
    return 0;
}

// The name of a finished tag token ("<PRE>" gives "PRE").
std::string_view TagName(std::string_view tag) {
    std::size_t end = 1;
    while (end < tag.size() && tag[end] != ' ' && tag[end] != '=' && tag[end] != '>') ++end;
    return tag.substr(1, end - 1);
}

class TTokenizer {
public:
    explicit TTokenizer(std::string_view s) : s_(s) {}

    std::vector<TMarkupToken> Run() {
        while (i_ < s_.size()) {
            if (blockDepth_ > 0)
                StepInBlock();
            else
                Step();
        }
        Close();
        return std::move(tokens_);
    }

private:
    bool Verbatim() const { return pre_ || textArea_; }
    bool EndsInBlank() const { return !cur_.empty() && cur_.back() == ' '; }

    void Close() {
        if (blockDepth_ > 0) {
            // A block that never closes still shows nothing.
            Emit(TMarkupTokenKind::Block);
            blockDepth_ = 0;
            return;
        }
        // A tag without its ">" is kept as the characters it was typed as.
        if (!cur_.empty()) Emit(TMarkupTokenKind::Text);
    }

    void Emit(TMarkupTokenKind kind) {
        tokens_.push_back(TMarkupToken{kind, std::move(cur_)});
        cur_.clear();
        inTag_ = false;
    }

    void StepInBlock() {
        if (const std::size_t n = MatchAny(s_, i_, kBlockClosers)) {
            cur_.append(s_.substr(i_, n));
            i_ += n;
            if (--blockDepth_ == 0) Emit(TMarkupTokenKind::Block);
            return;
        }
        if (const std::size_t n = MatchAny(s_, i_, kBlockOpeners)) {
            cur_.append(s_.substr(i_, n));
            i_ += n;
            ++blockDepth_;
            return;
        }
        const std::size_t len = SjisCharLen(s_, i_);
        cur_.append(s_.substr(i_, len));
        if (s_[i_] == kCR) cur_.push_back('\n');
        i_ += len;
    }

    void Step() {
        const char c = s_[i_];
        const bool afterVerbatimTag = skipCr_;
        skipCr_ = false;
        if (c == '"') return Quoted();
        if (const std::size_t n = MatchAny(s_, i_, kBlockOpeners)) {
            Close();
            cur_.assign(s_.substr(i_, n));
            i_ += n;
            blockDepth_ = 1;
            return;
        }
        if (c == '<') {
            Close();
            cur_.push_back('<');
            inTag_ = true;
            ++i_;
            return;
        }
        if (c == '>' && inTag_) {
            cur_.push_back('>');
            ++i_;
            return TagDone();
        }
        if (c == '\\') return Backslash();
        ++i_;
        if (c == kCR) return LineEnd(afterVerbatimTag);
        if (c == kTab) {
            if (Verbatim() && !inTag_) cur_.append(8, ' ');
            return;
        }
        if (c == kSoftBlank) {
            if ((Verbatim() && !inTag_) || !EndsInBlank()) cur_.push_back(' ');
            return;
        }
        if (c == ' ') {
            if (!EndsInBlank()) cur_.push_back(' ');
            return;
        }
        --i_;
        const std::size_t len = SjisCharLen(s_, i_);
        cur_.append(s_.substr(i_, len));
        i_ += len;
    }

    // A double-quoted stretch is copied as typed, quotes and backslashes
    // included, so a "<" inside it starts no tag and the tag values that
    // take escapes still see them; a backslash keeps the quote after it
    // from ending the stretch. Only line ends and tabs are left out.
    void Quoted() {
        cur_.push_back('"');
        ++i_;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\\' && i_ + 1 < s_.size()) {
                cur_.push_back(c);
                ++i_;
            } else if (c == '"') {
                cur_.push_back(c);
                ++i_;
                return;
            }
            const std::size_t len = SjisCharLen(s_, i_);
            if (s_[i_] != kCR && s_[i_] != '\n' && s_[i_] != kTab) cur_.append(s_.substr(i_, len));
            i_ += len;
        }
    }

    void Backslash() {
        if (i_ + 1 >= s_.size()) {
            cur_.push_back('\\');
            ++i_;
            return;
        }
        const char next = s_[i_ + 1];
        if (kLiteralAfterBackslash.find(next) != std::string_view::npos) {
            cur_.push_back(next);
            i_ += 2;
            return;
        }
        ++i_;
        // A line end or other control byte after a backslash keeps its own
        // rule; any other character stands for itself (an escaped quote
        // starts no quoted stretch).
        if (static_cast<unsigned char>(next) < 0x20) return;
        const std::size_t len = SjisCharLen(s_, i_);
        cur_.append(s_.substr(i_, len));
        i_ += len;
    }

    void LineEnd(bool afterVerbatimTag) {
        if (inTag_ || !Verbatim()) {
            const bool blankBefore = i_ >= 2 && (s_[i_ - 2] == ' ' || s_[i_ - 2] == kSoftBlank);
            if (!cur_.empty() && !blankBefore && !EndsInBlank()) cur_.push_back(' ');
            return;
        }
        if (afterVerbatimTag) return;
        if (!cur_.empty()) Emit(TMarkupTokenKind::Text);
        if (pre_) tokens_.push_back(TMarkupToken{TMarkupTokenKind::Tag, "<BR>"});
    }

    void TagDone() {
        const std::string_view name = TagName(cur_);
        const bool opensPre = SjisSameText(name, "PRE"), opensArea = SjisSameText(name, "TEXTAREA");
        const bool closesVerbatim = SjisSameText(name, "/PRE") || SjisSameText(name, "/TEXTAREA");
        if (closesVerbatim && !tokens_.empty() && tokens_.back().Kind == TMarkupTokenKind::Tag &&
            SjisSameText(tokens_.back().Text, "<BR>"))
            tokens_.pop_back();
        if (opensPre) pre_ = true;
        if (opensArea) textArea_ = true;
        if (SjisSameText(name, "/PRE")) pre_ = false;
        if (SjisSameText(name, "/TEXTAREA")) textArea_ = false;
        skipCr_ = opensPre || opensArea;
        Emit(TMarkupTokenKind::Tag);
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::string cur_;
    std::vector<TMarkupToken> tokens_;
    int blockDepth_ = 0;
    bool inTag_ = false;
    bool pre_ = false;
    bool textArea_ = false;
    bool skipCr_ = false;
};

}  // namespace

std::vector<TMarkupToken> TokenizeMarkup(std::string_view text) { return TTokenizer(text).Run(); }

}  // namespace vesk
