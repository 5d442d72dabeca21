#include "archive/vrcollection.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archive/bigstreams.h"
#include "archive/pathnames.h"
#include "archive/resources.h"
#include "archive/zstream.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/rands.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "platform/library.h"

namespace vesk {

namespace {

// A stream over a mapped file that keeps the mapping alive as long as it
// lives, also after its archive has been closed.
class TMappedStream : public TConstMemoryStream {
public:
    explicit TMappedStream(std::shared_ptr<const platform::TFileMapping> map)
        : TConstMemoryStream(map->Data(), map->Size()), map_(std::move(map)) {}

private:
    std::shared_ptr<const platform::TFileMapping> map_;
};

// The directory is read through a buffer of this size, so a directory of
// many short names costs a few reads of the source, not two per name.
constexpr std::int64_t kReadAhead = 102400;

// The reader's view of the source during directory reading. It knows how
// much is left, so every count is checked before anything is allocated.
class TReadAhead {
public:
    explicit TReadAhead(TStream& s) : s_(s), start_(s.Position()), size_(s.Size()) {}

    std::int64_t Left() const { return size_ - start_ - consumed_; }

    void Read(void* out, std::int64_t n) {
        if (n < 0 || n > Left()) throw EStreamError(Sj("アーカイブのディレクトリが壊れています"));
        auto* p = static_cast<std::uint8_t*>(out);
        while (n > 0) {
            if (at_ == buffer_.size()) Fill();
            const std::int64_t k = std::min<std::int64_t>(n, static_cast<std::int64_t>(buffer_.size() - at_));
            std::memcpy(p, buffer_.data() + at_, static_cast<std::size_t>(k));
            at_ += static_cast<std::size_t>(k);
            consumed_ += k;
            p += k;
            n -= k;
        }
    }

    std::uint32_t U32() {
        std::uint8_t b[4];
        Read(b, 4);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::uint64_t U64() {
        const std::uint64_t lo = U32();
        return lo | std::uint64_t(U32()) << 32;
    }
    std::uint8_t U8() {
        std::uint8_t b;
        Read(&b, 1);
        return b;
    }

    // Checks that count items of itemSize bytes are still there.
    void Need(std::int64_t count, std::int64_t itemSize) const {
        if (count < 0 || count > Left() / itemSize) throw EStreamError(Sj("アーカイブのディレクトリが壊れています"));
    }

    // Leaves the source just after what was consumed.
    void Finish() { s_.SetPosition(start_ + consumed_); }

private:
    void Fill() {
        buffer_.resize(static_cast<std::size_t>(std::min(kReadAhead, Left())));
        s_.SetPosition(start_ + consumed_);
        s_.ReadBuffer(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
        at_ = 0;
    }

    TStream& s_;
    std::int64_t start_;
    std::int64_t size_;
    std::int64_t consumed_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t at_ = 0;
};

[[noreturn]] void Damaged(const std::string& what) { throw EStreamError(what + Sj(":アーカイブが壊れています")); }

}  // namespace

void RaiseFileNotFound(std::string_view name) { throw EVeskError(std::string(name) + Sj(":ファイルがありません")); }

TVrFileCollection::TVrFileCollection() = default;
// Out of line: the module's type is complete only here.
TVrFileCollection::~TVrFileCollection() { Close(); }

void TVrFileCollection::Close() {
    std::lock_guard<std::mutex> guard(sourceLock_);
    Clear();
    source_.reset();
    path_.clear();
    folder_.clear();
    resName_.clear();
    resType_.clear();
    bytes_ = nullptr;
    bytesSize_ = 0;
    mapping_.reset();
    module_.reset();
    version_ = kArchiveVersion;
    base_ = 0;
}

void TVrFileCollection::AddSentinel(std::int64_t offset) {
    auto sentinel = std::make_unique<TVrFile>(kSentinel);
    sentinel->Offset = offset;
    AddItem(std::move(sentinel));
}

void TVrFileCollection::ReadDirectory(TStream& dir, std::int64_t base, std::int64_t sourceSize) {
    Clear();
    std::int32_t version = 0;
    {
        // Version 0 has no magic: its first bytes are already the count.
        char magic[2] = {};
        const std::int64_t at = dir.Position();
        if (dir.Read(magic, 2) == 2 && magic[0] == 'v' && magic[1] == 'f')
            version = ReadInt32(dir);
        else
            dir.SetPosition(at);
    }
    TReadAhead in(dir);
    if (version < 0 || version > kArchiveVersion) Damaged(Sj("未対応の形式"));
    const std::int32_t count = in.I32();
    in.Need(count, 4);

    // Names, descrambled by one key stream over all their bytes in order.
    TQsRandom key(static_cast<std::int32_t>(kArchiveKey));
    std::vector<std::string> names(static_cast<std::size_t>(count));
    for (std::string& name : names) {
        const std::int32_t len = in.I32();
        in.Need(len, 1);
        name.resize(static_cast<std::size_t>(len));
        in.Read(name.data(), len);
        if (version >= 100)
            for (char& c : name) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ (key.NextValue() & 0xFF));
    }

    // Offsets, with a fresh key stream.
    const bool wide = version >= 101;
    in.Need(std::int64_t(count) + 1, wide ? 8 : 4);
    std::vector<std::int64_t> offsets(static_cast<std::size_t>(count) + 1);
    TQsRandom offsetKey(static_cast<std::int32_t>(kArchiveKey));
    for (std::int64_t& off : offsets) {
        if (wide) {
            std::uint64_t v = in.U64();
            if (version >= 100) {
                const std::uint32_t r = offsetKey.NextValue();
                v ^= std::uint64_t(r) | (r >= 0x80000000u ? 0xFFFFFFFF00000000ull : 0);
            }
            off = static_cast<std::int64_t>(v);
        } else {
            std::uint32_t v = in.U32();
            if (version >= 100) v ^= offsetKey.NextValue();
            off = v;
        }
    }

    std::vector<std::uint8_t> stored(static_cast<std::size_t>(count), 0), crcOfRaw(static_cast<std::size_t>(count), 0);
    std::vector<std::uint32_t> times(static_cast<std::size_t>(count), 0), crcs(static_cast<std::size_t>(count), 0);
    if (version >= 101) {
        in.Need(count, version >= 102 ? 10 : 9);
        for (auto& b : stored) b = in.U8();
        for (auto& t : times) t = in.U32();
        for (auto& c : crcs) c = in.U32();
        if (version >= 102)
            for (auto& b : crcOfRaw) b = in.U8();
    }
    in.Finish();

    // Offsets may not run backwards or past the end of the source: an entry
    // is always a range of bytes that is really there.
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] < 0 || offsets[i] > sourceSize - base || (i > 0 && offsets[i] < offsets[i - 1]))
            Damaged(Sj("オフセット"));
    }

    for (std::size_t i = 0; i < names.size(); ++i) {
        auto entry = std::make_unique<TVrFile>(std::move(names[i]));
        entry->Offset = base + offsets[i];
        entry->Length = offsets[i + 1] - offsets[i];
        entry->Stored = version >= 101 && stored[i] != 0;
        entry->FileTime = times[i];
        entry->Crc = crcs[i];
        entry->CrcOfRaw = crcOfRaw[i] != 0;
        AddItem(std::move(entry));
    }
    AddSentinel(base + offsets.back());
    version_ = version;
    base_ = base;
}

void TVrFileCollection::OpenStream(std::unique_ptr<TStream> source) {
    Close();
    const std::int64_t base = source->Position();
    ReadDirectory(*source, base, source->Size());
    source_ = std::move(source);
}

void TVrFileCollection::SetFileSource(std::unique_ptr<TBigFileStream> source) {
    // Volumes are separate files, so only a one-volume archive maps whole.
    std::shared_ptr<const platform::TFileMapping> map;
    if (source->VolumeCount() == 1) map = platform::MapFile(source->Path());
    if (!map || map->Size() != source->Size()) {
        source_ = std::move(source);
        return;
    }
    mapping_ = std::move(map);
    bytes_ = mapping_->Data();
    bytesSize_ = mapping_->Size();
    source_ = std::make_unique<TMappedStream>(mapping_);
}

void TVrFileCollection::OpenFile(const std::string& path) {
    Close();
    path_ = path;
    folder_ = platform::FolderOf(path);
    if (!platform::FileExists(path)) return;
    const std::string ext = SjisUpper(platform::ExtensionOf(path));
    if (ext == ".EXE" || ext == ".SCR") {
        OpenAppended(path);
        return;
    }
    auto source = std::make_unique<TBigFileStream>(path, TBigFileStream::Mode::Read);
    const std::int64_t size = source->Size();
    std::string side = platform::ChangeExtension(path, ".ext");
    if (!platform::FileExists(side)) side = platform::ChangeExtension(path, ".EXT");
    if (platform::FileExists(side) && side != path) {
        // The directory lives in the side file; its offsets address this one.
        TBigFileStream sideFile(side, TBigFileStream::Mode::Read);
        TMemoryStream dir;
        dir.CopyFrom(sideFile, 0);
        dir.SetPosition(0);
        try {
            ReadDirectory(dir, 0, size);
        } catch (const EStreamError&) {
            Clear();
            Damaged(Utf8ToSjis(side));
        }
    } else {
        try {
            ReadDirectory(*source, 0, size);
        } catch (const EStreamError&) {
            Clear();
            Damaged(Utf8ToSjis(path));
        }
    }
    SetFileSource(std::move(source));
}

void TVrFileCollection::OpenAppended(const std::string& path) {
    Close();
    path_ = path;
    folder_ = platform::FolderOf(path);
    if (!platform::FileExists(path)) return;
    auto source = std::make_unique<TBigFileStream>(path, TBigFileStream::Mode::Read);
    const std::int64_t size = source->Size();
    if (size < 6) Damaged(Utf8ToSjis(path));
    source->SetPosition(size - 6);
    const std::uint32_t base = ReadUInt32(*source);
    char mark[2];
    source->ReadBuffer(mark, 2);
    if (mark[0] != 'v' || mark[1] != 'k' || base > static_cast<std::uint64_t>(size - 6)) Damaged(Utf8ToSjis(path));
    source->SetPosition(base);
    try {
        // The trailer is not part of any entry.
        ReadDirectory(*source, base, size - 6);
    } catch (const EStreamError&) {
        Clear();
        Damaged(Utf8ToSjis(path));
    }
    SetFileSource(std::move(source));
}

TResourceData TVrFileCollection::FindModuleResource(const std::string& modulePath, const std::string& name,
                                                 const std::string& type) {
    module_ = platform::TDynamicLibrary::Open(modulePath);
    if (!module_) return {};
    const auto lookup = module_->Function<TResourceLookup>(kResourceLookupSymbol);
    const void* data = nullptr;
    std::int64_t size = 0;
    if (!lookup || lookup(name.c_str(), type.c_str(), &data, &size) != 1 || !data || size <= 0) return {};
    return {static_cast<const std::uint8_t*>(data), size};
}

void TVrFileCollection::OpenResource(const std::string& modulePath, const std::string& name, const std::string& type) {
    Close();
    path_ = modulePath;
    resName_ = name;
    resType_ = type;
    TResourceData res;
    if (modulePath.empty() || platform::SameNativeText(modulePath, platform::ExecutablePath())) {
        res = FindResource(name, type);
    } else {
        res = FindModuleResource(modulePath, name, type);
    }
    if (!res.data || res.size <= 0) {
        module_.reset();
        throw EVeskError(Sj("リソースが見つかりません"));
    }
    bytes_ = res.data;
    bytesSize_ = res.size;
    auto source = std::make_unique<TConstMemoryStream>(res.data, res.size);
    try {
        ReadDirectory(*source, 0, res.size);
    } catch (const EStreamError&) {
        Clear();
        Damaged(name);
    }
    source_ = std::move(source);
}

TVrFile* TVrFileCollection::FindFile(std::string_view name) const {
    TVrFile* f = FindItem(name);
    // The sentinel marks the end of the data; it is no file.
    return f && f->CachedIndex() < EntryCount() ? f : nullptr;
}

TVrFile& TVrFileCollection::AddMemoryEntry(const std::string& name) {
    TVrFile& entry = AddNamedEntry(name);
    entry.Content = std::make_unique<TMemoryStream>();
    entry.CrcOfRaw = true;
    return entry;
}

TVrFile& TVrFileCollection::AddNamedEntry(const std::string& name) {
    if (Count() == 0) AddSentinel(0);
    auto entry = std::make_unique<TVrFile>(name);
    return static_cast<TVrFile&>(Insert(EntryCount(), std::move(entry)));
}

bool TVrFileCollection::DeleteEntry(std::string_view name) {
    bool any = false;
    for (TVrFile* f = FindFile(name); f; f = FindFile(name)) {
        Delete(f->CachedIndex());
        any = true;
    }
    return any;
}

void TVrFileCollection::ReadEntry(std::string_view name, TStream& dest) {
    const TVrFile* entry = FindFile(name);
    if (!entry) RaiseFileNotFound(name);
    ReadEntry(*entry, dest);
}

void TVrFileCollection::ReadEntry(const TVrFile& entry, TStream& dest) {
    if (auto* mem = dynamic_cast<TMemoryStream*>(&dest)) mem->Clear();
    if (entry.Content) {
        dest.CopyFrom(*entry.Content, 0);
        dest.SetPosition(0);
        return;
    }
    // A source in memory is read in place, outside the lock (which only
    // hands over the bytes and keeps a mapping alive), without a copy.
    const std::uint8_t* bytes;
    std::int64_t bytesSize;
    std::shared_ptr<const platform::TFileMapping> keep;
    {
        std::lock_guard<std::mutex> guard(sourceLock_);
        bytes = bytes_;
        bytesSize = bytesSize_;
        keep = mapping_;
    }
    if (bytes) {
        if (entry.Offset < 0 || entry.Length < 0 || entry.Length > bytesSize - entry.Offset) Damaged(entry.Name());
        const std::uint8_t* at = bytes + entry.Offset;
        if (entry.Stored) dest.WriteBuffer(at, entry.Length);
        else InflateInto(at, entry.Length, dest, entry.Name());
        dest.SetPosition(0);
        return;
    }
    // The stored bytes of compressed entries pass through one buffer per
    // thread, kept between reads.
    thread_local std::vector<std::uint8_t> raw;
    {
        std::lock_guard<std::mutex> guard(sourceLock_);
        if (!source_) RaiseFileNotFound(entry.Name());
        if (entry.Offset < 0 || entry.Length < 0 || entry.Length > source_->Size() - entry.Offset)
            Damaged(entry.Name());
        auto* mem = dynamic_cast<TMemoryStream*>(&dest);
        if (entry.Stored && mem) {
            // Straight into the destination, without a buffer in between.
            mem->SetSize(entry.Length);
            source_->SetPosition(entry.Offset);
            source_->ReadBuffer(mem->Data(), entry.Length);
            mem->SetPosition(0);
            return;
        }
        raw.resize(static_cast<std::size_t>(entry.Length));
        source_->SetPosition(entry.Offset);
        source_->ReadBuffer(raw.data(), entry.Length);
    }
    if (entry.Stored) {
        dest.WriteBuffer(raw.data(), static_cast<std::int64_t>(raw.size()));
    } else {
        InflateInto(raw.data(), static_cast<std::int64_t>(raw.size()), dest, entry.Name());
    }
    if (raw.capacity() > (std::size_t(16) << 20)) std::vector<std::uint8_t>().swap(raw);  // keep no huge buffer
    dest.SetPosition(0);
}

std::unique_ptr<TStream> TVrFileCollection::OpenSourceStream() {
    if (!source_) return nullptr;
    if (mapping_) return std::make_unique<TMappedStream>(mapping_);
    if (bytes_) return std::make_unique<TConstMemoryStream>(bytes_, bytesSize_);
    if (auto* big = dynamic_cast<TBigFileStream*>(source_.get()))
        return std::make_unique<TBigFileStream>(big->Path(), TBigFileStream::Mode::Read);
    return nullptr;
}

void TVrFileCollection::ListFolder(std::string_view folder, std::vector<std::string>& list) const {
    for (int i = 0; i < EntryCount(); ++i) {
        const std::string& name = (*this)[i].Name();
        if (!SjisSameText(NameFolder(name), folder)) continue;
        const std::string file = NameFile(name);
        // A name is listed once even when several archives hold it.
        const bool listed = std::any_of(list.begin(), list.end(),
                                        [&](const std::string& s) { return s == file || SjisSameText(s, name); });
        if (!listed) list.push_back(name);
    }
}

}  // namespace vesk
