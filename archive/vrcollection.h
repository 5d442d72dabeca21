#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "archive/resources.h"
#include "common/hash.h"
#include "common/stream.h"

namespace vesk {

namespace platform {
class TDynamicLibrary;
class TFileMapping;
}
class TBigFileStream;

// The key of the archive key stream. Every writer and reader of the format
// uses this one value; changing it makes every existing archive unreadable.
constexpr std::uint32_t kArchiveKey = 0x3A6B51C7;

// The format version the writer produces.
constexpr std::int32_t kArchiveVersion = 102;

// Entries at least this large are stored as they are rather than compressed.
constexpr std::int64_t kStoreThreshold = 0x500000;

// The most bytes one compressed entry may inflate to. No entry is larger
// without being stored (the writer stores everything from 5 MiB up), and a
// damaged or hostile stream must not make the player allocate without bound.
constexpr std::int64_t kMaxInflatedSize = std::int64_t(1) << 30;

// A directory entry of an archive.
class TVrFile : public THashCollectionItem {
public:
    using THashCollectionItem::THashCollectionItem;

    std::int64_t Offset = 0;  // absolute position of the entry's bytes in the source
    std::int64_t Length = 0;  // bytes the entry occupies in the source
    bool Stored = false;      // true: the bytes are the content; false: one zlib stream of it
    std::uint32_t FileTime = 0;
    std::uint32_t Crc = 0;
    bool CrcOfRaw = false;  // true: Crc covers the uncompressed content
    // Present only for entries created at run time.
    std::unique_ptr<TMemoryStream> Content;
};

// A "vf" archive: its directory (a name-hashed collection of TVrFile with the
// sentinel "\EOF\" last) and its source, a file or a resource.
class TVrFileCollection : public THashList<TVrFile> {
public:
    static constexpr const char* kSentinel = "\\EOF\\";

    TVrFileCollection();
    ~TVrFileCollection() override;

    // Clears the archive, remembers the path and its folder, and reads the
    // directory when the file exists. Which part of the file holds the
    // archive follows the file's kind: an ".exe" or ".scr" carries it
    // appended, a file with a ".ext" side file has its directory there,
    // anything else starts with it. A damaged directory raises EStreamError.
    void OpenFile(const std::string& path);
    // Opens an archive appended to any file (our ELF executables too): the
    // last 6 bytes are the base position and "vk".
    void OpenAppended(const std::string& path);
    // Opens a resource archive of a module: this executable when the path
    // is empty or names it, else the shared library at that path, which is
    // loaded and kept while the archive exists. A module that cannot be
    // loaded, or a missing or empty resource, raises "リソースが見つかりません".
    void OpenResource(const std::string& modulePath, const std::string& name, const std::string& type);
    // Reads a directory from any stream standing at the archive's base B;
    // the collection takes the stream as its source.
    void OpenStream(std::unique_ptr<TStream> source);

    void Close();

    // Number of entries without the sentinel.
    int EntryCount() const { return Count() > 0 ? Count() - 1 : 0; }
    TVrFile* FindFile(std::string_view name) const;

    // A new entry with an empty in-memory Content, inserted before the
    // sentinel. An older entry of the same name stays but is shadowed.
    TVrFile& AddMemoryEntry(const std::string& name);
    // A new entry without content: the writer fills it from the loose file
    // of that name in Folder() (how an archive is packed from a folder).
    TVrFile& AddNamedEntry(const std::string& name);
    // Removes every entry of that name; false when there was none.
    bool DeleteEntry(std::string_view name);

    // Fills dest with the content and positions it at 0. Raises EStreamError
    // for a name it does not hold, an entry without content or source, a
    // range past the source's end or a damaged zlib stream.
    void ReadEntry(std::string_view name, TStream& dest);
    void ReadEntry(const TVrFile& entry, TStream& dest);

    // A new stream positioned over the entry's stored bytes: a large-file
    // stream on the archive's file, or a stream over the resource bytes.
    // Null when the archive has no source.
    std::unique_ptr<TStream> OpenSourceStream();

    // Appends the full names of the entries whose folder part equals folder
    // (case-insensitive, "" for the top) unless list holds their file part.
    void ListFolder(std::string_view folder, std::vector<std::string>& list) const;

    // Writes the whole archive, newest version, to dest (seekable) from its
    // start position. Returns true on success; an entry that fails shows
    // "エラー:" and its name in a message box and the error propagates.
    bool Write(TStream& dest);

    // The folder whose loose files the writer takes for entries without
    // content (OpenFile sets it to the archive file's folder).
    void SetFolder(const std::string& folder) { folder_ = folder; }

    bool HasSource() const { return source_ != nullptr; }
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }
    bool IsResource() const { return !resName_.empty(); }
    int Version() const { return version_; }
    std::int64_t Base() const { return base_; }

    // Reads a directory from dir (standing at its start) whose offsets are
    // relative to base; the entries then address source. Exposed for the
    // fuzz target and the side-directory rule.
    void ReadDirectory(TStream& dir, std::int64_t base, std::int64_t sourceSize);

private:
    void AddSentinel(std::int64_t offset);
    // Makes a one-volume file the source as a mapping when the system maps
    // it, else keeps the stream.
    void SetFileSource(std::unique_ptr<TBigFileStream> source);
    // Loads the module and asks its exported lookup for the resource;
    // {nullptr, 0} when the module, its lookup or the resource is missing.
    TResourceData FindModuleResource(const std::string& modulePath, const std::string& name,
                                     const std::string& type);

    std::string path_;
    std::string folder_;
    std::string resName_, resType_;
    // Declared before the source: resource bytes of another module live in
    // that module, so it is unloaded only after the source is gone.
    std::unique_ptr<platform::TDynamicLibrary> module_;
    // The source, and its bytes when they are all in memory (a resource or a
    // mapped file): entries are then read in place, without the lock.
    std::unique_ptr<TStream> source_;
    const std::uint8_t* bytes_ = nullptr;
    std::int64_t bytesSize_ = 0;
    std::shared_ptr<const platform::TFileMapping> mapping_;
    std::mutex sourceLock_;  // the source stream is shared by every ReadEntry
    int version_ = kArchiveVersion;
    std::int64_t base_ = 0;
};

// Raises the manager's "not found" error for a name: "%s:ファイルがありません".
[[noreturn]] void RaiseFileNotFound(std::string_view name);

}  // namespace vesk
