#include "archive/vrfiles.h"

#include <algorithm>
#include <cstdio>

#include "archive/bigstreams.h"
#include "archive/tempfiles.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "platform/files.h"

namespace vesk {

namespace {

// Loads a whole file into dest, positioned at 0 afterwards.
void LoadFile(const std::string& path, TStream& dest) {
    auto f = platform::OpenFile(path, platform::FileMode::Read);
    if (auto* mem = dynamic_cast<TMemoryStream*>(&dest)) {
        mem->Clear();
        mem->SetSize(f->Size());
        f->ReadBuffer(mem->Data(), mem->Size());
    } else {
        dest.CopyFrom(*f, 0);
    }
    dest.SetPosition(0);
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SjisSameText(s.substr(0, prefix.size()), prefix);
}

}  // namespace

TVrFileManager::TVrFileManager()
    : tempFolder_(platform::TempFolder()), cdromScanner_([] { return platform::CdromRoots(); }) {
    ScanDiscs();
}

TVrFileManager::~TVrFileManager() {
    for (int i = 0; i < locks_.Count(); ++i) AddTempFile(locks_[i].Path);
    locks_.Clear();
    archives_.clear();
    DeleteTempFiles();
}

void TVrFileManager::SetContentFolder(const std::string& path) { contentFolder_ = platform::WithSlash(path); }

void TVrFileManager::SetTempFolder(const std::string& folder) { tempFolder_ = platform::WithSlash(folder); }

void TVrFileManager::SetCdromScanner(std::function<std::vector<std::string>()> scanner) {
    cdromScanner_ = std::move(scanner);
    ScanDiscs();
}

std::vector<std::string> TVrFileManager::ScanDiscs() {
    // A disc inserted after start-up is mounted then, so every search asks
    // the mount table again.
    cdromRoots_.clear();
    for (const std::string& root : cdromScanner_())
        if (platform::DirExists(root)) cdromRoots_.push_back(platform::WithSlash(root));
    return cdromRoots_;
}

int TVrFileManager::AppendArchive(std::unique_ptr<TVrFileCollection> archive) {
    archives_.push_back(std::move(archive));
    return ArchiveCount() - 1;
}

bool TVrFileManager::IsRegistered(const std::string& path) const {
    return std::any_of(archives_.begin(), archives_.end(), [&](const auto& a) {
        return !a->IsResource() && !a->Path().empty() && platform::SameNativeText(a->Path(), path);
    });
}

int TVrFileManager::AddMemoryArchive() { return AppendArchive(std::make_unique<TVrFileCollection>()); }

int TVrFileManager::AddArchiveFile(const std::string& path) {
    if (IsRegistered(path)) return -1;
    auto archive = std::make_unique<TVrFileCollection>();
    archive->OpenFile(path);
    return AppendArchive(std::move(archive));
}

int TVrFileManager::AddAppendedArchive(const std::string& path) {
    if (IsRegistered(path)) return -1;
    // Only a file that ends in the trailer carries an archive.
    const std::int64_t size = platform::FileSize(path);
    if (size < 6) return -1;
    auto f = platform::OpenFile(path, platform::FileMode::Read);
    f->SetPosition(size - 2);
    char mark[2] = {};
    if (f->Read(mark, 2) != 2 || mark[0] != 'v' || mark[1] != 'k') return -1;
    auto archive = std::make_unique<TVrFileCollection>();
    archive->OpenAppended(path);
    return AppendArchive(std::move(archive));
}

int TVrFileManager::AddArchiveResource(const std::string& modulePath, const std::string& name, const std::string& type) {
    auto archive = std::make_unique<TVrFileCollection>();
    archive->OpenResource(modulePath, name, type);
    return AppendArchive(std::move(archive));
}

void TVrFileManager::RemoveArchive(int index) {
    if (index < 0 || index >= ArchiveCount()) return;
    archives_.erase(archives_.begin() + index);
}

std::string TVrFileManager::LooseFile(std::string_view name) const {
    // Without a content folder there are no loose files: an empty folder
    // would otherwise mean the working folder, whatever that is.
    if (contentFolder_.empty()) return "";
    return platform::ResolveName(contentFolder_, name);
}

std::string TVrFileManager::RootFile(std::string_view name) const {
    for (const std::string& root : cdromRoots_) {
        std::string path = platform::ResolveName(root, name);
        if (!path.empty()) return path;
    }
    return "";
}

bool TVrFileManager::Exists(std::string_view name) const {
    return FindEntry(name) != nullptr || !LooseFile(name).empty() || !RootFile(name).empty();
}

TVrFile* TVrFileManager::FindEntry(std::string_view name) const {
    for (const auto& a : archives_)
        if (TVrFile* f = a->FindFile(name)) return f;
    return nullptr;
}

void TVrFileManager::Read(std::string_view name, TStream& dest) {
    if (std::string path = LooseFile(name); !path.empty()) {
        LoadFile(path, dest);
        return;
    }
    for (const auto& a : archives_) {
        const TVrFile* f = a->FindFile(name);
        if (!f || (!f->Content && !a->HasSource())) continue;
        a->ReadEntry(*f, dest);
        return;
    }
    if (std::string path = RootFile(name); !path.empty()) {
        LoadFile(path, dest);
        return;
    }
    RaiseFileNotFound(name);
}

std::string TVrFileManager::ReadString(std::string_view name) {
    TMemoryStream m;
    Read(name, m);
    return m.AsString();
}

std::unique_ptr<TRangeStream> TVrFileManager::OpenRange(std::string_view name) {
    if (std::string path = LooseFile(name); !path.empty())
        return std::make_unique<TRangeStream>(platform::OpenFile(path, platform::FileMode::Read), 0, 0);
    for (const auto& a : archives_) {
        const TVrFile* f = a->FindFile(name);
        if (!f) continue;
        // In-memory content, and compressed entries (old archives compress
        // even their media), cannot be windowed in place: the range goes
        // over the content instead, so a decoder always gets the real bytes.
        if (f->Content || !f->Stored || f->Length == 0) {
            if (!f->Content && !a->HasSource()) continue;
            auto content = std::make_unique<TMemoryStream>();
            a->ReadEntry(*f, *content);
            if (content->Size() == 0) return std::make_unique<TRangeStream>(std::move(content), 0, 0);
            const std::int64_t size = content->Size();
            return std::make_unique<TRangeStream>(std::move(content), 0, size);
        }
        std::unique_ptr<TStream> source = a->OpenSourceStream();
        if (!source) continue;
        return std::make_unique<TRangeStream>(std::move(source), f->Offset, f->Length);
    }
    if (std::string path = RootFile(name); !path.empty())
        return std::make_unique<TRangeStream>(platform::OpenFile(path, platform::FileMode::Read), 0, 0);
    RaiseFileNotFound(name);
}

std::string TVrFileManager::RealPath(std::string_view name) {
    if (std::string path = LooseFile(name); !path.empty()) return path;
    if (FindEntry(name)) {
        if (TVrLockData* lock = locks_.Find(name)) {
            ++lock->UseCount;
            return lock->Path;
        }
        TVrLockData& lock = locks_.Add(std::string(name), tempFolder_);
        const std::uint32_t id = lock.Id;
        const std::string path = lock.Path;
        try {
            platform::ClearReadOnly(path);
            std::unique_ptr<TStream> file;
            try {
                file = platform::OpenFile(path, platform::FileMode::Create, true);
            } catch (const EStreamError&) {
                throw EVeskError(Sj("作業用ファイルが作れません"));
            }
            Read(name, *file);
        } catch (...) {
            locks_.Remove(id);
            platform::DeleteFile(path);
            throw;
        }
        return path;
    }
    if (std::string path = RootFile(name); !path.empty()) return path;
    return std::string(name);
}

void TVrFileManager::ReleasePath(const std::string& path) {
    for (int i = 0; i < locks_.Count(); ++i) {
        const TVrLockData& lock = locks_[i];
        if (lock.Path != path) continue;
        if (lock.UseCount > 1) {
            const_cast<TVrLockData&>(lock).UseCount--;
        } else {
            AddTempFile(lock.Path);
            locks_.Remove(lock.Id);
        }
        return;
    }
}

void TVrFileManager::ListFolder(std::string_view folder, std::vector<std::string>& list) const {
    for (const auto& a : archives_) a->ListFolder(folder, list);
    std::vector<std::string> roots;
    if (!contentFolder_.empty()) roots.push_back(contentFolder_);
    roots.insert(roots.end(), cdromRoots_.begin(), cdromRoots_.end());
    const std::string prefix = folder.empty() ? "" : std::string(folder) + "\\";
    for (const std::string& root : roots) {
        const std::string dir = folder.empty() ? root : platform::ResolveFolder(root, folder);
        if (dir.empty()) continue;
        for (const platform::DirEntry& e : platform::ListDir(dir)) {
            if (e.isDir) continue;
            const std::string name = prefix + Utf8ToSjis(e.name);
            const bool listed = std::any_of(list.begin(), list.end(), [&](const std::string& s) {
                return SjisSameText(s, name);
            });
            if (!listed) list.push_back(name);
        }
    }
}

bool TVrFileManager::IsMemName(std::string_view name) {
    return StartsWithText(name, "mem:") || StartsWithText(name, "save:");
}

bool TVrFileManager::IsSaveName(std::string_view name) { return StartsWithText(name, "save:"); }

TMemoryStream& TVrFileManager::CreateMemFile(const std::string& name) {
    if (archives_.empty()) throw EVeskError(Sj("メモリアーカイブがありません"));
    TVrFileCollection& memory = *archives_.front();
    memory.DeleteEntry(name);
    return *memory.AddMemoryEntry(name).Content;
}

bool TVrFileManager::DeleteMemFile(std::string_view name) {
    return !archives_.empty() && archives_.front()->DeleteEntry(name);
}

namespace {

std::unique_ptr<TVrFileManager>& Instance() {
    static std::unique_ptr<TVrFileManager> manager;
    return manager;
}

}  // namespace

TVrFileManager& VrFileManager() {
    auto& m = Instance();
    if (!m) m = std::make_unique<TVrFileManager>();
    return *m;
}

void FreeVrFileManager() {
    Instance().reset();
    DeleteTempFiles();
}

}  // namespace vesk
