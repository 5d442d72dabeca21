#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// What a stretch of message markup is: characters to show, a tag, or a
// comment, script or style block that shows nothing.
enum class TMarkupTokenKind { Text, Tag, Block };

struct TMarkupToken {
    TMarkupTokenKind Kind = TMarkupTokenKind::Text;
    std::string Text;

    friend bool operator==(const TMarkupToken&, const TMarkupToken&) = default;
};

// Splits joined markup (lines joined with CR) into tokens. Backslash
// escapes are resolved, blanks collapsed and line ends turned into blanks
// (or into "<BR>" tokens inside PRE) here, so a tag token is exactly what
// its tag parser reads and a text token exactly the characters it shows. A
// tag that never closes is kept as text.
std::vector<TMarkupToken> TokenizeMarkup(std::string_view text);

}  // namespace vesk
