// The tokenizer: escapes, blanks and line ends, quoted stretches, blocks,
// tags and the PRE and TEXTAREA stretches.
#include "text/markup_tokens.h"

#include <gtest/gtest.h>

#include "common/cp932.h"

using namespace vesk;

namespace {

// Tokens as "T:text", "G:<tag>" and "K:block", joined by "|".
std::string Tokens(const std::string& sjis) {
    std::string out;
    for (const TMarkupToken& t : TokenizeMarkup(sjis)) {
        if (!out.empty()) out += "|";
        out += t.Kind == TMarkupTokenKind::Text ? "T:" : t.Kind == TMarkupTokenKind::Tag ? "G:" : "K:";
        out += SjisToUtf8(t.Text);
    }
    return out;
}

struct TTokenCase {
    const char* what;
    std::string text;  // UTF-8 source, CR between lines
    std::string expected;
};

}  // namespace

TEST(MarkupTokens, EscapesBlanksAndLineEnds) {
    const TTokenCase cases[] = {
        {"escaped bracket is shown", "a\\<b", "T:a<b"},
        {"escaped percent and braces", "\\%\\{\\}\\>", "T:%{}>"},
        {"other escapes drop the backslash", "a\\xb", "T:axb"},
        {"escaped backslash", "a\\\\b", "T:a\\b"},
        {"backslash at the very end stays", "a\\", "T:a\\"},
        {"blanks collapse", "a  \x14 b", "T:a b"},
        {"line end is a blank", "a\rb", "T:a b"},
        {"no blank after a blank", "a \rb", "T:a b"},
        {"no blank at a token start", "\rb<B>\rc", "T:b|G:<B>|T:c"},
        {"tabs vanish", "a\tb", "T:ab"},
        {"soft blank is a blank", "a\x14" "b", "T:a b"},
        {"trail byte 0x5C is no escape", "ソ<B>", "T:ソ|G:<B>"},
        {"half-width katakana pass", "ｱｲ", "T:ｱｲ"},
    };
    for (const TTokenCase& c : cases) EXPECT_EQ(Tokens(Utf8ToSjis(c.text)), c.expected) << c.what;
}

TEST(MarkupTokens, TagsQuotesAndBlocks) {
    const TTokenCase cases[] = {
        {"tags split the text", "<FONT SIZE=20>a</FONT>b", "G:<FONT SIZE=20>|T:a|G:</FONT>|T:b"},
        {"escapes inside tags", "<A HREF=a\\>b>", "G:<A HREF=a>b>"},
        {"line end inside a tag", "<FONT\rSIZE=2>", "G:<FONT SIZE=2>"},
        {"quoted bracket starts no tag", "say \"a<b>  c\" now", "T:say \"a<b>  c\" now"},
        {"quoted stretch drops tabs and line ends", "\"a\tb\rc\"", "T:\"abc\""},
        {"escaped quote starts no stretch", "a\\\"<B>", "T:a\"|G:<B>"},
        {"escaped quote stays inside a stretch", "\"a\\\"<b>\"", "T:\"a\\\"<b>\""},
        {"quote inside a tag", "<A HREF=\"x>y\">", "G:<A HREF=\"x>y\">"},
        {"unterminated tag is text", "a <b", "T:a |T:<b"},
        {"a second bracket gives up the first", "a < b <B>", "T:a |T:< b |G:<B>"},
        {"comment", "x<!-- <B> -->y", "T:x|K:<!-- <B> -->|T:y"},
        {"blocks nest across kinds", "<!-- a <script> b </SCRIPT> c -->z",
         "K:<!-- a <script> b </SCRIPT> c -->|T:z"},
        {"style block", "<STYLE>p{}</style>x", "K:<STYLE>p{}</style>|T:x"},
        {"line ends in a block get LF", "<!--a\rb-->", "K:<!--a\r\nb-->"},
        {"backslashes in a block stay", "<!--\\<-->", "K:<!--\\<-->"},
        {"unclosed block shows nothing", "a<!-- b", "T:a|K:<!-- b"},
    };
    for (const TTokenCase& c : cases) EXPECT_EQ(Tokens(Utf8ToSjis(c.text)), c.expected) << c.what;
}

TEST(MarkupTokens, PreAndTextArea) {
    const TTokenCase cases[] = {
        {"lines become breaks, tab eight blanks", "<PRE>\rx\ty\ry\r</PRE>z",
         "G:<PRE>|T:x        y|G:<BR>|T:y|G:</PRE>|T:z"},
        {"typed blanks still collapse", "<pre>a  b\x14\x14</pre>", "G:<pre>|T:a b  |G:</pre>"},
        {"empty lines give breaks", "<PRE>a\r\rb</PRE>", "G:<PRE>|T:a|G:<BR>|G:<BR>|T:b|G:</PRE>"},
        {"text area only splits", "<TEXTAREA>\ra\rb\r</TEXTAREA>", "G:<TEXTAREA>|T:a|T:b|G:</TEXTAREA>"},
        {"a typed break before the end goes", "<TEXTAREA>a<BR></TEXTAREA>", "G:<TEXTAREA>|T:a|G:</TEXTAREA>"},
        {"after PRE line ends are blanks again", "<PRE>a</PRE>b\rc", "G:<PRE>|T:a|G:</PRE>|T:b c"},
    };
    for (const TTokenCase& c : cases) EXPECT_EQ(Tokens(Utf8ToSjis(c.text)), c.expected) << c.what;
}
