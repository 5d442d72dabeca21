#pragma once

#include <string>

#include "script/project_settings.h"

namespace vesk::tool {

// The project settings in the text form ("key: value" lines, "global" and
// "folderdisk" lines). Raises TSourceError.
TProjectSettings ParseProjectText(const std::string& fileName, const std::string& utf8);
std::string ProjectToText(const TProjectSettings& settings);

}  // namespace vesk::tool
