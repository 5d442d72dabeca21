#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "archive/vrfiles.h"
#include "components/registry/scriptport.h"
#include "script/callman.h"
#include "script/project_settings.h"
#include "script/script_host.h"
#include "script/status_record.h"

namespace vesk {

class TParamCollection;

// The loaded game: its settings, the interpreter and the save-file place.
// Creating it runs the loading sequence; on any failure the process's quit
// flag stays set and CallMan() is null.
class TProject : public TPageSource {
public:
    struct Options {
        std::vector<std::string> Args;  // command-line arguments
        std::string ExeFolder;          // native path of the executable's folder
    };

    TProject(TScriptHost& host, TComponentPort& components, TParamCollection& vars, TVrFileManager& files,
             Options options);
    // Runs the exit page to its end, then writes the status data.
    ~TProject() override;

    bool PageExists(const std::string& name) override;
    std::unique_ptr<TStream> OpenPage(const std::string& name) override;
    void PageTooOld(const std::string& name) override;

    TCallMan* CallMan() const { return callMan_.get(); }
    const TProjectSettings& Settings() const { return settings_; }
    bool Loaded() const { return callMan_ != nullptr; }

    // Computed once and remembered; "" when it cannot be determined.
    const std::string& SaveFilePath();
    // Titles of the saved games with their slot numbers.
    const std::vector<std::pair<std::string, int>>& SaveList() const { return saveList_; }
    std::string TitleOfSlot(int slot) const;

    // Replaces the status record of the save file with the current status
    // data; written only when the project asks for it and the save file's
    // folder exists. Failures are ignored: the game goes on without it.
    void WriteStatus();

    // The most frame steps the exit page may take before the player gives
    // up on it: an exit page that waits for input would otherwise keep the
    // program from ever ending.
    static constexpr int kExitStepLimit = 100000;

    // Requests recorded by GameSave and GameLoad for the end of the frame.
    std::int32_t PendingLoad = -1, PendingSave = -1;
    std::string PendingSavePage, PendingSaveTitle;
    std::int32_t PendingSaveIndex = 0;

private:
    void Load();
    void RunExitPage();
    void OpenSaveFile();
    void RestoreStatus(TVrFileCollection& save);
    void BuildSaveList(TVrFileCollection& save);
    void DeclareGlobals();
    TVrDiscPrompt DiscPrompt();

    TScriptHost& host_;
    TComponentPort& components_;
    TParamCollection& vars_;
    TVrFileManager& files_;
    Options options_;
    TProjectSettings settings_;
    std::unique_ptr<TCallMan> callMan_;
    std::string savePath_;
    bool savePathKnown_ = false;
    std::vector<std::pair<std::string, int>> saveList_;
    TStatusTail statusTail_;
};

}  // namespace vesk
