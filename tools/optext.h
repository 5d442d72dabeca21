#pragma once

#include <memory>
#include <string>

#include "values/vesk_parser.h"

namespace vesk::tool {

// Operation lists in the text form. Authors write expressions in the source
// syntax that the player's compiler reads; a list that no source text
// compiles to (hand-made, or from another compiler) is written in the raw
// form "@ops{...}", one operation after another separated by ";":
//   @ops{ocPlus "____0" v:"x" i:1; ocTo "____arg" v:"____0"}
// with operands i:integer, f:hexadecimal real, b:0|1, s:"string",
// v:"variable", and ocFunc#N for a call of built-in function N.
// An empty text is the empty list (a value that is absent).

// Parses UTF-8 text (source or raw); raises EVeskError with a UTF-8 message.
std::unique_ptr<TVeskParser> TextToOpList(const std::string& utf8);
// The text that gives back exactly these bytes: source when a recompile
// reproduces them, the raw form otherwise.
std::string OpListToText(const TVeskParser& list);
// The raw form only.
std::string OpListToRaw(const TVeskParser& list);
// Whether two lists are stored as the same bytes.
bool SameOpList(const TVeskParser& a, const TVeskParser& b);

}  // namespace vesk::tool
