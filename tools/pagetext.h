#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "script/page.h"

namespace vesk::tool {

// A page source split into commands, before any field is compiled: enough
// to know every label's command index, which other pages' jumps need.
struct TPageSourceText {
    std::string FileName;  // for error messages
    std::string PageName;  // Shift-JIS virtual name ("sub\a.vks")
    std::vector<std::string> Lines;
    std::map<std::string, std::int32_t> Labels;  // Shift-JIS name -> command index
};

// Labels of every page of the project being built, by page name.
using TLabelIndex = std::map<std::string, const TPageSourceText*>;

// Reads a UTF-8 page source and finds its labels. Raises TSourceError.
TPageSourceText ScanPageSource(const std::string& fileName, const std::string& pageName, const std::string& utf8);
// Compiles a scanned page. Jump, call and reset targets written as a label
// are looked up in labels (a page outside it may only be targeted by
// index). Raises TSourceError ("file:line: message").
std::unique_ptr<TPage> BuildPage(const TPageSourceText& source, const TLabelIndex& labels);

// The page in the text form; BuildPage of it gives the same bytes.
std::string PageToText(const TPage& page);

}  // namespace vesk::tool
