#pragma once

#include <string>
#include <vector>

namespace vesk {

// Where "save.dat" lives (native path). With a content folder on the command
// line it is in that folder (for an archive file, beside it). Otherwise beside the executable when that folder
// is writable, else in the per-user data folder under the game's title (with
// \ / : , ; * ? " < > | turned into "_"), created when missing; an old
// "save.dat" beside the executable is copied there once. Raises
// "データファイルを作成することができません" when the per-user folder cannot be
// made.
std::string SaveFilePath(const std::vector<std::string>& args, const std::string& exeFolder,
                         const std::string& sjisTitle);

// The title as a folder name: the replacements above, Shift-JIS.
std::string SaveFolderName(const std::string& sjisTitle);

}  // namespace vesk
