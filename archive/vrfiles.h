#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/rangestream.h"
#include "archive/vrcollection.h"
#include "common/stream.h"
#include "platform/msgbox.h"

namespace vesk {

// One extraction file: a temporary copy of an archived entry for a back end
// that needs a real path.
struct TVrLockData {
    std::uint32_t Id = 0;
    std::string Name;      // the virtual name it was extracted for
    std::int32_t UseCount = 1;
    std::string Path;      // temporary folder + "~vk" + 8 hex digits + extension
};

// The extraction files, each named by an id unique within the list.
class TVrLockList {
public:
    TVrLockData* Find(std::string_view name);  // case-insensitive
    // A new entry with the lowest id from 0 up that is not in use.
    TVrLockData& Add(const std::string& name, const std::string& tempFolder);
    void Remove(std::uint32_t id);
    int Count() const { return static_cast<int>(items_.size()); }
    const TVrLockData& operator[](int i) const { return *items_[static_cast<std::size_t>(i)]; }
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TVrLockData>> items_;
};

// Folders of the data discs: which disc holds which folder.
class TFolderDiskList {
public:
    struct Pair {
        std::string Folder;
        std::int32_t Disk = 0;
    };
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;
    void Add(const std::string& folder, std::int32_t disk) { pairs_.push_back({folder, disk}); }
    void Clear() { pairs_.clear(); }
    int Count() const { return static_cast<int>(pairs_.size()); }
    const Pair& operator[](int i) const { return pairs_[static_cast<std::size_t>(i)]; }
    // The disk of a name: the pair for the name itself, else for its
    // enclosing folders from the innermost out; 0 when none.
    std::int32_t DiskOf(const std::string& name) const;

private:
    std::vector<Pair> pairs_;
};

// Texts and hooks of the data-disc prompts, given by the project.
struct TVrDiscPrompt {
    std::string Title;        // the project title: set name of its discs, caption
    std::string InsertDisk;   // "ディスク%dを入れてから[OK]をクリックしてください"
    std::string Quit;         // "終了します"
    // Called when the user chose to quit while asked for a disc: sets the
    // process's quit flag and asks the main window to close.
    std::function<void()> OnQuit;
};

// The process-wide virtual file manager. Names are virtual names (Shift-JIS,
// relative, "\"-separated, see platform/files.h); folders and the paths it
// returns are native paths.
class TVrFileManager {
public:
    TVrFileManager();  // finds the temporary folder and the CD-ROM roots
    ~TVrFileManager();  // extraction files go to the temporary-file list and are deleted
    TVrFileManager(const TVrFileManager&) = delete;
    TVrFileManager& operator=(const TVrFileManager&) = delete;

    // The content folder; a trailing "/" is added when missing.
    void SetContentFolder(const std::string& path);
    const std::string& ContentFolder() const { return contentFolder_; }

    // The empty in-memory archive that holds "mem:" and "save:" files; the
    // start-up registers it first, as archive 0. Returns its index.
    int AddMemoryArchive();
    // Opens a file as an archive and appends it; -1 when an archive of that
    // path (case-insensitive) is registered already.
    int AddArchiveFile(const std::string& path);
    // Opens an archive appended to a file by its "vk" trailer (the player's
    // own executable) and appends it; -1 as above, or when the file has no
    // trailer.
    int AddAppendedArchive(const std::string& path);
    int AddArchiveResource(const std::string& modulePath, const std::string& name, const std::string& type);
    void RemoveArchive(int index);
    int ArchiveCount() const { return static_cast<int>(archives_.size()); }
    TVrFileCollection& Archive(int index) const { return *archives_.at(static_cast<std::size_t>(index)); }

    bool Exists(std::string_view name) const;
    // Fills dest with the content and positions it at 0; raises
    // "%s:ファイルがありません" when the name is found nowhere.
    void Read(std::string_view name, TStream& dest);
    std::string ReadString(std::string_view name);  // convenience: the content as bytes
    std::unique_ptr<TRangeStream> OpenRange(std::string_view name);
    std::string RealPath(std::string_view name);
    // Gives up one use of an extraction file made by RealPath; the file goes
    // on the temporary-file list when its last use ends.
    void ReleasePath(const std::string& path);
    TVrFile* FindEntry(std::string_view name) const;
    void ListFolder(std::string_view folder, std::vector<std::string>& list) const;

    // "mem:" and "save:" files: an in-memory entry of archive 0, replacing
    // one of the same name. Raises EVeskError when there is no archive 0.
    TMemoryStream& CreateMemFile(const std::string& name);
    bool DeleteMemFile(std::string_view name);
    static bool IsMemName(std::string_view name);   // begins "mem:" or "save:"
    static bool IsSaveName(std::string_view name);  // begins "save:"

    TFolderDiskList& FolderDisks() { return folderDisks_; }
    std::int32_t DiskOf(const std::string& name) const { return folderDisks_.DiskOf(name); }

    // Finds the data before the project file is read: the install set,
    // "game.dat" beside the executable, or the data disc. False when the
    // data cannot be found or the user chose to quit.
    bool LocateData(const std::string& exeFolder, const TVrDiscPrompt& prompt);
    // Asks for data disc n (1-based) until it is found or the user quits.
    bool RequestDisk(int n, const TVrDiscPrompt& prompt);

    // The CD-ROM roots as found at creation (refreshed by each disc search).
    const std::vector<std::string>& CdromRoots() const { return cdromRoots_; }
    // Replaces how the mounted discs are found (tests point it at folders).
    void SetCdromScanner(std::function<std::vector<std::string>()> scanner);
    const std::string& TempFolder() const { return tempFolder_; }
    void SetTempFolder(const std::string& folder);
    const TVrLockList& ExtractionFiles() const { return locks_; }

private:
    std::string LooseFile(std::string_view name) const;  // content folder file or ""
    std::string RootFile(std::string_view name) const;   // first CD-ROM root file or ""
    int AppendArchive(std::unique_ptr<TVrFileCollection> archive);
    bool IsRegistered(const std::string& path) const;
    std::vector<std::string> ScanDiscs();

    std::vector<std::unique_ptr<TVrFileCollection>> archives_;
    std::string contentFolder_;
    std::vector<std::string> cdromRoots_;
    std::string tempFolder_;
    TVrLockList locks_;
    TFolderDiskList folderDisks_;
    std::function<std::vector<std::string>()> cdromScanner_;
};

// The one manager of the process: created on first use, freed by
// FreeVrFileManager at module finalisation.
TVrFileManager& VrFileManager();
void FreeVrFileManager();

}  // namespace vesk
