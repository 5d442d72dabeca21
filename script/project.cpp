#include "script/project.h"

#include <cstring>

#include "archive/pathnames.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/quit.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "script/savepath.h"
#include "values/param_collection.h"

namespace vesk {

TProject::TProject(TScriptHost& host, TComponentPort& components, TParamCollection& vars, TVrFileManager& files,
                   Options options)
    : host_(host), components_(components), vars_(vars), files_(files), options_(std::move(options)) {
    settings_.MediaExtensions = "wav.wma.ogg";
    settings_.DiscText = Sj("ディスク%dを入れてから[OK]をクリックしてください");
    settings_.QuitText = Sj("終了します");
    settings_.Title = Sj("情報");
    Load();
}

TProject::~TProject() {
    if (!callMan_) return;
    RunExitPage();
    WriteStatus();
}

void TProject::RunExitPage() {
    if (settings_.ExitPage.empty()) return;
    try {
        if (!PageExists(settings_.ExitPage)) return;
        callMan_->Start(settings_.ExitPage);
        host_.SetQuitRequested(false);
        for (int n = 0; n < kExitStepLimit && !host_.QuitRequested() &&
                        (callMan_->CurrentPage || callMan_->State != CS_MAIN);
             ++n)
            callMan_->Step();
    } catch (const std::exception&) {
        // The program ends either way.
    }
    host_.SetQuitRequested(true);
}

TVrDiscPrompt TProject::DiscPrompt() {
    TVrDiscPrompt p;
    p.Title = settings_.Title;
    p.InsertDisk = settings_.DiscText;
    p.Quit = settings_.QuitText;
    p.OnQuit = [this] {
        host_.SetQuitRequested(true);
        host_.PostClose();
    };
    return p;
}

void TProject::Load() {
    host_.SetQuitRequested(true);
    const bool config = !options_.Args.empty() && options_.Args[0] == "/config";
    if (!config && !files_.LocateData(options_.ExeFolder, DiscPrompt())) return;

    TMemoryStream file;
    try {
        files_.Read("vesk.vkp", file);
    } catch (const std::exception&) {
        return;
    }
    if (file.Size() == 0) {
        host_.ShowWarning(Sj("プロジェクトがありません"));
        return;
    }
    TProjectSettings read;
    try {
        if (!read.LoadFromStream(file)) return;
    } catch (const std::exception& e) {
        // A damaged project file: say what is wrong instead of ending
        // without a word.
        host_.ShowWarning(Sj("プロジェクトがありません") + "\r\n" + e.what());
        return;
    }
    // An empty fixed text would leave the disc prompt blank.
    if (read.DiscText.empty()) read.DiscText = settings_.DiscText;
    if (read.QuitText.empty()) read.QuitText = settings_.QuitText;
    settings_ = std::move(read);
    files_.FolderDisks() = settings_.FolderDisks;

    OpenSaveFile();
    DeclareGlobals();
    host_.SetQuitRequested(false);

    TMemoryStream original;
    try {
        if (files_.Exists("/original_vesk.vkp")) {
            files_.Read("/original_vesk.vkp", original);
            TProjectSettings o;
            if (o.LoadFromStream(original)) files_.FolderDisks() = o.FolderDisks;
        }
    } catch (const std::exception&) {
    }

    callMan_ = std::make_unique<TCallMan>(host_, *this, components_, vars_);
    if (files_.Exists(settings_.StartPage)) {
        try {
            callMan_->Start(settings_.StartPage);
        } catch (const std::exception& e) {
            host_.ShowWarning(settings_.StartPage + "\r\n" + e.what());
            host_.SetQuitRequested(true);
        }
    } else {
        host_.ShowWarning(Sj("スタートページがありません"));
        host_.SetQuitRequested(true);
    }
}

const std::string& TProject::SaveFilePath() {
    if (!savePathKnown_) {
        savePathKnown_ = true;
        try {
            savePath_ = vesk::SaveFilePath(options_.Args, options_.ExeFolder, settings_.Title);
        } catch (const std::exception& e) {
            host_.ShowWarning(e.what());
            savePath_.clear();
        }
    }
    return savePath_;
}

void TProject::OpenSaveFile() {
    const std::string& path = SaveFilePath();
    if (path.empty() || !platform::FileExists(path)) return;
    TVrFileCollection save;
    try {
        save.OpenFile(path);
    } catch (const std::exception&) {
        return;  // a damaged save file counts as none
    }
    RestoreStatus(save);
    if (files_.ArchiveCount() > 0) {
        for (int i = 0; i < save.Count(); ++i) {
            const std::string name = save[i].Name();
            if (!TVrFileManager::IsSaveName(name)) continue;
            try {
                TMemoryStream& dest = files_.CreateMemFile(name);
                save.ReadEntry(save[i], dest);
            } catch (const std::exception&) {
                files_.DeleteMemFile(name);
            }
        }
    }
    BuildSaveList(save);
}

void TProject::RestoreStatus(TVrFileCollection& save) {
    if (!save.FindFile("STATUSSAVEDATA")) return;
    try {
        TMemoryStream s;
        save.ReadEntry("STATUSSAVEDATA", s);
        s.SetPosition(0);
        ReadStatusRecord(s, vars_, components_.ReadMarks(), statusTail_);
    } catch (const std::exception&) {
    }
}

void TProject::WriteStatus() {
    try {
        const std::string& path = SaveFilePath();
        if (path.empty()) return;
        TMemoryStream image;
        {
            // A save file that cannot be read is left alone: writing over it
            // would lose the saved games it holds.
            TVrFileCollection save;
            save.OpenFile(path);
            save.DeleteEntry("STATUSSAVEDATA");
            WriteStatusRecord(*save.AddMemoryEntry("STATUSSAVEDATA").Content, vars_, components_.ReadMarks(),
                              statusTail_);
            if (!save.Write(image)) return;
        }
        if (!settings_.SaveStatus || !platform::DirExists(platform::FolderOf(path))) return;
        // Through a new file and a rename, so that a failed write never
        // leaves a half save file in place of the whole one.
        const std::string fresh = path + ".new";
        {
            auto out = platform::OpenFile(fresh, platform::FileMode::Create);
            image.SetPosition(0);
            out->CopyFrom(image, 0);
        }
        if (!platform::RenameFile(fresh, path)) platform::DeleteFile(fresh);
    } catch (const std::exception&) {
    }
}

void TProject::BuildSaveList(TVrFileCollection& save) {
    saveList_.clear();
    static const std::string prefix = "GAMESAVEDATA";
    for (int i = 0; i < save.Count(); ++i) {
        const std::string& name = save[i].Name();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
        try {
            TMemoryStream s;
            save.ReadEntry(save[i], s);
            s.SetPosition(0);
            ReadInt32(s);
            saveList_.emplace_back(ReadString(s), std::stoi(digits));
        } catch (const std::exception&) {
        }
    }
}

std::string TProject::TitleOfSlot(int slot) const {
    for (const auto& [title, n] : saveList_)
        if (n == slot) return title;
    return {};
}

void TProject::DeclareGlobals() {
    for (const TProjectGlobal& g : settings_.Globals) {
        if (vars_.Find(g.Name)) continue;
        try {
            TParamCollectionItem& item = vars_.AddOfKind(g.Kind);
            try {
                item.SetVarName(g.Name);
            } catch (const std::exception&) {
                vars_.DeleteItem(item);  // an unnamed variable nobody can reach
                continue;
            }
            item.StatusFlag = 1;
            if (!g.Value) continue;
            switch (g.Kind) {
            case PT_INT: item.Value().SetInt(g.Value->AsInt()); break;
            case PT_FLOAT: item.Value().SetFloat(g.Value->AsFloat()); break;
            case PT_BOOL: item.Value().SetBool(g.Value->AsBool()); break;
            case PT_STR: item.Value().SetStr(g.Value->AsStr()); break;
            default: break;
            }
        } catch (const std::exception&) {
            // A kind without values: nothing to declare.
        }
    }
}

bool TProject::PageExists(const std::string& name) {
    if (files_.Exists(name)) return true;
    if (name.empty()) return false;
    const std::int32_t disk = files_.DiskOf(name);
    if (disk <= 0) return false;
    const std::string ext = SjisLower(NameExtension(name)) + ".";
    const std::string media = SjisLower(settings_.MediaExtensions) + ".";
    if (media.find(ext) != std::string::npos) return false;
    return files_.RequestDisk(disk, DiscPrompt());
}

std::unique_ptr<TStream> TProject::OpenPage(const std::string& name) {
    auto s = std::make_unique<TMemoryStream>();
    files_.Read(name, *s);
    s->SetPosition(0);
    return s;
}

void TProject::PageTooOld(const std::string& name) {
    host_.SetQuitRequested(true);
    host_.ShowWarning(name + "\r\n" + Sj("リビルドしてください"));
    host_.PostClose();
}

}  // namespace vesk
