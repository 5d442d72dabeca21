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

}  // namespace vesk
