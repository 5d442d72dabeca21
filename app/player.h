#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gameini.h"
#include "app/player_options.h"
#include "platform/platform.h"

namespace vesk {

// Makes the platform backend for a command line (SDL, or headless).
using TPlatformFactory =
    std::function<std::unique_ptr<platform::TPlatform>(const TPlayerOptions&)>;

// The player's entry point for argv without the program name: the CD-ROM
// refusal, the single-instance guard, the settings mode and the player run.
// Returns the process's exit code: 0 for a run that ended normally and for
// a second instance (which ends silently), 1 for a refused or failed start,
// 2 for a wrong command line.
int PlayerMain(const std::vector<std::string>& argv, const TPlatformFactory& makePlatform);

// The player run itself, from the binding of the media library to the end
// of the shutdown. exePath is the executable's own path.
int RunPlayer(const TPlayerOptions& options, const std::string& exePath);

// "game.ini" beside the executable; the defaults when it does not exist.
TGameSettings ReadGameSettings(const std::string& exeFolder);

// Module finalisation: the file manager goes (its extraction files join the
// temporary-file list), then every temporary file is deleted.
void FinaliseModules();

}  // namespace vesk
