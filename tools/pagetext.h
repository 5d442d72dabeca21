#pragma once

#include <functional>
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

// The first label of each command index (later labels of the same name are
// never reached by name), Shift-JIS names.
std::map<std::int32_t, std::string> FirstLabels(const TPage& page);

// Labels of another page by its Shift-JIS name, for targets in it; empty
// when that page is not at hand.
using TOtherPageLabels = std::function<std::map<std::int32_t, std::string>(const std::string& pageName)>;

// The page in the text form; BuildPage of it gives the same bytes when the
// other pages whose labels it names are built with it. Targets in this page
// and in the pages otherLabels knows are written by label, others by index.
std::string PageToText(const TPage& page, const TOtherPageLabels& otherLabels = {});

}  // namespace vesk::tool
