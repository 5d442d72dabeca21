#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/stream.h"

// File-system services for the engine. Engine code never calls the OS for
// files; it comes here.
//
// Two kinds of strings name files, and they are kept apart on purpose:
//
//  * A native path names a place on this machine: the content folder, an
//    archive file, the temporary folder, the executable, a CD-ROM root. It is
//    the file system's own bytes (UTF-8 on Linux) with "/" separators, as it
//    came from the command line, the mount table or the environment, and it
//    goes back to the OS unchanged. Converting such a path to Shift-JIS and
//    back would lose every character that code page 932 lacks (a home folder
//    named "josé" would become unreachable), so the engine never does.
//    Folders returned here end with "/".
//
//  * A virtual name is what game data and scripts use: a relative Shift-JIS
//    name with "\" (or "/") separators, matched case-insensitively, e.g.
//    "CG\Title.png". Only ResolveName and NativeName turn a virtual name into
//    a native path below a given folder: each component is converted from
//    Shift-JIS to UTF-8 and matched against the folder's entries without
//    regard to ASCII letter case. A name that would leave the folder is
//    refused (see IsSafeName).
//
// ASCII paths are the same bytes in both forms.
namespace vesk::platform {

enum class FileMode {
    Read,       // existing file, read only
    Create,     // create or truncate, read and write
    ReadWrite,  // existing file, read and write
};

// Opens a file as a stream. WriteThrough asks that writes reach the disk
// before they return (extraction files that another process reads at once).
// Raises EStreamError with the path when the file cannot be opened.
std::unique_ptr<TStream> OpenFile(const std::string& path, FileMode mode, bool writeThrough = false);

// A whole file mapped read-only into memory: readers of large files that
// pick pieces at random (archives) use the bytes in place, with no read call
// and no copy per piece. The file must not be shortened while mapped.
class TFileMapping {
public:
    TFileMapping(const std::uint8_t* data, std::int64_t size) : data_(data), size_(size) {}
    ~TFileMapping();
    TFileMapping(const TFileMapping&) = delete;
    TFileMapping& operator=(const TFileMapping&) = delete;

    const std::uint8_t* Data() const { return data_; }
    std::int64_t Size() const { return size_; }

private:
    const std::uint8_t* data_;
    std::int64_t size_;
};
// Null when the file cannot be mapped (missing, empty, not a regular file,
// or the system refuses); the caller then reads it as a stream.
std::shared_ptr<const TFileMapping> MapFile(const std::string& path);

bool FileExists(const std::string& path);  // an existing regular file (following links)
bool DirExists(const std::string& path);
bool IsLink(const std::string& path);  // a symbolic link itself, wherever it points
std::int64_t FileSize(const std::string& path);  // -1 when it is not a file
bool DeleteFile(const std::string& path);        // false when it did not exist or could not go
bool RenameFile(const std::string& from, const std::string& to);
bool MakeDir(const std::string& path);             // creates missing parents too
bool SetExecutable(const std::string& path, bool executable);
bool IsExecutable(const std::string& path);
// Gives the owner write permission again (a read-only file left behind).
void ClearReadOnly(const std::string& path);

// The modification time of a file as a DOS date-time (local time, the two
// 16-bit halves date << 16 | time), 0 when the file does not exist.
std::uint32_t FileDosTime(const std::string& path);

struct DirEntry {
    std::string name;  // native bytes, no folder part
    bool isDir = false;
};
// The entries of a folder without "." and "..", sorted by name; empty when
// the folder cannot be read.
std::vector<DirEntry> ListDir(const std::string& folder);

// True when a virtual name stays inside whatever folder it is joined to: not
// empty, not absolute ("\x", "/x"), no drive or prefix colon ("C:x",
// "mem:x"), no ".." component, no NUL byte.
bool IsSafeName(std::string_view sjisName);

// Splits a virtual name into its components at "\" and "/", walking
// Shift-JIS characters so that a trail byte 0x5C (as in "表") is not taken
// for a separator. Empty components are dropped.
std::vector<std::string> SplitName(std::string_view sjisName);

// The native path of an existing file named by a virtual name below folder,
// each component matched case-insensitively; empty when there is none or the
// name is not safe.
std::string ResolveName(const std::string& folder, std::string_view sjisName);
// Like ResolveName but for a folder.
std::string ResolveFolder(const std::string& folder, std::string_view sjisName);
// The native path a virtual name should be created at below folder: existing
// components keep their on-disk spelling, the rest are converted. Empty when
// the name is not safe.
std::string NativeName(const std::string& folder, std::string_view sjisName);

// Path helpers on native paths.
bool SameNativeText(std::string_view a, std::string_view b);  // equal but for ASCII letter case
std::string WithSlash(std::string folder);            // adds a trailing "/" unless empty or present
std::string FolderOf(const std::string& path);        // up to and including the last "/", or ""
std::string FileNameOf(const std::string& path);      // after the last "/"
std::string ExtensionOf(const std::string& path);     // ".ext" of the file name, or ""
std::string ChangeExtension(const std::string& path, const std::string& ext);
std::string AbsolutePath(const std::string& path);    // made absolute against the working folder
// A Shift-JIS path (e.g. typed by an author) as a native path: converted to
// UTF-8 with every "\" as "/".
std::string SjisToNativePath(std::string_view sjis);

// The system's temporary folder ($TMPDIR, else /tmp), ending with "/".
std::string TempFolder();
// The running executable's own path.
std::string ExecutablePath();
// The roots of the mounted CD-ROM and DVD file systems (types iso9660 and
// udf in /proc/self/mounts), each ending with "/", in mount-table order.
std::vector<std::string> CdromRoots();
// Total size in bytes of the file system holding path, 0 when unknown.
std::int64_t DiskSize(const std::string& path);

}  // namespace vesk::platform
