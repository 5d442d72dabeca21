#pragma once

#include <string>
#include <vector>

namespace vesk {

// The temporary-file list: native paths of files to delete. The frame step
// calls DeleteTempFiles every frame and module finalisation once more, so a
// file whose reader still held it open last frame goes on a later one.
void AddTempFile(const std::string& path);
// Deletes every listed file that can be deleted and keeps the rest listed.
void DeleteTempFiles();
std::vector<std::string> TempFiles();

// The delete-at-exit list: native paths of files that scripts created as
// temporary. They live as long as the player runs and are deleted once, at
// module finalisation after the temporary-file list; a path is listed once.
void AddDeleteAtExit(const std::string& path);
// Deletes every listed file and empties the list; returns the paths that
// existed but could not be deleted.
std::vector<std::string> DeleteAtExitFiles();
std::vector<std::string> DeleteAtExitList();

}  // namespace vesk
