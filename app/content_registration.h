#pragma once

#include <string>
#include <vector>

#include "archive/vrfiles.h"

namespace vesk {

// Registers the content folder and the archives of a start with the file
// manager, after the in-memory archive 0, in this order: the content folder
// (the first argument, else the executable's folder); then without
// arguments the "DUMMY" resource archive (when it ends in "vf") and the
// executable itself (when it ends in the "vk" trailer); with arguments, for
// each argument in turn, the "game.dat" in the folder it names, then the
// argument itself when it is a file ending in "vk".
void RegisterContent(TVrFileManager& files, const std::string& exePath,
                     const std::vector<std::string>& arguments);

// True when the executable lies on one of the CD-ROM roots (each ending
// with "/"): the player never runs from a disc.
bool IsOnCdrom(const std::string& exePath, const std::vector<std::string>& cdromRoots);

}  // namespace vesk
