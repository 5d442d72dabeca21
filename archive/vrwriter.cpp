#include <algorithm>
#include <cstring>

#include "archive/bigstreams.h"
#include "archive/vrcollection.h"
#include "archive/zstream.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/rands.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "platform/msgbox.h"

namespace vesk {

namespace {

// Media and data files are stored as they are: they are compressed already,
// or are read by back ends through a window over the archive that cannot
// inflate.
constexpr const char* kStoredExtensions[] = {".WAV", ".WMA", ".OGG", ".MPG", ".MPEG", ".M1V", ".WMV", ".ASF", ".DAT"};

bool IsStoredExtension(const std::string& upperExt) {
    return std::any_of(std::begin(kStoredExtensions), std::end(kStoredExtensions),
                       [&](const char* e) { return upperExt == e; });
}

// A layered image keeps its pixels compressed itself unless its header says
// they are stored (format 103 and later, compression byte 1).
bool FenkWantsCompression(const std::vector<std::uint8_t>& file) {
    constexpr std::size_t kCompressionByte = 7 + 4 + 22;  // signature, header size, header byte 22
    if (file.size() <= kCompressionByte || std::memcmp(file.data(), "Fenk", 4) != 0) return false;
    int version = 0;
    for (int i = 4; i < 7; ++i) {
        if (file[i] < '0' || file[i] > '9') return false;
        version = version * 10 + (file[i] - '0');
    }
    return version >= 103 && file[kCompressionByte] == 1;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    auto f = platform::OpenFile(path, platform::FileMode::Read);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(f->Size()));
    f->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

struct TWritten {
    bool stored = false;
    std::uint32_t fileTime = 0;
    std::uint32_t crc = 0;
    bool crcOfRaw = false;
};

// Writes content as-is or compressed, and says which with its checksum.
TWritten PutBytes(TStream& dest, const std::uint8_t* data, std::int64_t size, bool compress, bool crcOfRaw) {
    TWritten w;
    if (!compress) {
        dest.WriteBuffer(data, size);
        w.stored = true;
        w.crc = Crc32(data, size);
        w.crcOfRaw = crcOfRaw;
        return w;
    }
    const std::vector<std::uint8_t> packed = Deflate(data, size);
    dest.WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
    w.crc = crcOfRaw ? Crc32(data, size) : Crc32(packed.data(), static_cast<std::int64_t>(packed.size()));
    w.crcOfRaw = crcOfRaw;
    return w;
}

// A loose file of the archive's folder, by the extension rules.
TWritten PutLooseFile(TStream& dest, const std::string& path) {
    const std::string ext = SjisUpper(platform::ExtensionOf(path));
    const std::int64_t size = platform::FileSize(path);
    bool compress;
    std::vector<std::uint8_t> bytes;
    if (ext == ".FNK") {
        bytes = ReadWholeFile(path);
        compress = FenkWantsCompression(bytes);
    } else {
        compress = !IsStoredExtension(ext) && size < kStoreThreshold;
    }
    TWritten w;
    if (compress) {
        if (bytes.empty()) bytes = ReadWholeFile(path);
        const std::int64_t n = static_cast<std::int64_t>(bytes.size());
        std::vector<std::uint8_t> packed = Deflate(bytes.data(), n);
        // Compression that saves less than a tenth is not worth inflating.
        if (static_cast<std::int64_t>(packed.size()) * 10 <= n * 9) {
            dest.WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
            w.crc = Crc32(bytes.data(), n);
            w.crcOfRaw = true;
        } else {
            w = PutBytes(dest, bytes.data(), n, false, true);
        }
    } else if (!bytes.empty() || size == 0) {
        w = PutBytes(dest, bytes.data(), static_cast<std::int64_t>(bytes.size()), false, true);
    } else {
        // Large media go through in slices, never whole in memory.
        auto f = platform::OpenFile(path, platform::FileMode::Read);
        std::vector<std::uint8_t> buf(1 << 20);
        std::uint32_t crc = 0;
        std::int64_t left = size;
        while (left > 0) {
            const std::int64_t k = std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size()));
            f->ReadBuffer(buf.data(), k);
            dest.WriteBuffer(buf.data(), k);
            crc = Crc32(buf.data(), k, crc);
            left -= k;
        }
        w.stored = true;
        w.crc = crc;
        w.crcOfRaw = true;
    }
    w.fileTime = platform::FileDosTime(path);
    return w;
}

}  // namespace

bool TVrFileCollection::Write(TStream& dest) {
    const std::int64_t start = dest.Position();
    const int n = EntryCount();
    dest.WriteBuffer("vf", 2);
    WriteInt32(dest, kArchiveVersion);
    WriteInt32(dest, n);

    TQsRandom nameKey(static_cast<std::int32_t>(kArchiveKey));
    for (int i = 0; i < n; ++i) {
        std::string name = (*this)[i].Name();
        for (char& c : name) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ (nameKey.NextValue() & 0xFF));
        WriteString(dest, name);
    }

    const std::int64_t tables = dest.Position();
    const std::int64_t tableSize = std::int64_t(n + 1) * 8 + std::int64_t(n) * (1 + 4 + 4 + 1);
    {
        const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(tableSize), 0);
        dest.WriteBuffer(zeros.data(), tableSize);
    }

    std::vector<std::int64_t> offsets(static_cast<std::size_t>(n) + 1);
    std::vector<TWritten> written(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        TVrFile& entry = (*this)[i];
        offsets[static_cast<std::size_t>(i)] = dest.Position() - start;
        try {
            TWritten& w = written[static_cast<std::size_t>(i)];
            std::string loose;
            if (entry.Content) {
                TMemoryStream& c = *entry.Content;
                w = PutBytes(dest, c.Data(), c.Size(), c.Size() < kStoreThreshold, entry.CrcOfRaw);
            } else if (!folder_.empty() && !(loose = platform::ResolveName(folder_, entry.Name())).empty() &&
                       loose != path_) {
                w = PutLooseFile(dest, loose);
            } else {
                // Carried over from the archive being rewritten.
                TMemoryStream content;
                ReadEntry(entry, content);
                w = PutBytes(dest, content.Data(), content.Size(), content.Size() < kStoreThreshold, false);
                w.fileTime = entry.FileTime;
            }
        } catch (...) {
            platform::ShowMessageBox(Sj("エラー:") + entry.Name(), "", platform::MsgButtons::Ok, platform::MsgIcon::Error);
            throw;
        }
    }
    const std::int64_t end = dest.Position();
    offsets.back() = end - start;

    TMemoryStream t;
    TQsRandom offsetKey(static_cast<std::int32_t>(kArchiveKey));
    for (std::int64_t off : offsets) {
        const std::uint32_t r = offsetKey.NextValue();
        const std::uint64_t mask = std::uint64_t(r) | (r >= 0x80000000u ? 0xFFFFFFFF00000000ull : 0);
        WriteInt64(t, static_cast<std::int64_t>(static_cast<std::uint64_t>(off) ^ mask));
    }
    for (const TWritten& w : written) WriteByte(t, w.stored ? 1 : 0);
    for (const TWritten& w : written) WriteUInt32(t, w.fileTime);
    for (const TWritten& w : written) WriteUInt32(t, w.crc);
    for (const TWritten& w : written) WriteByte(t, w.crcOfRaw ? 1 : 0);
    dest.SetPosition(tables);
    dest.WriteBuffer(t.Data(), t.Size());
    dest.SetPosition(end);
    return true;
}

}  // namespace vesk
