#pragma once

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "archive/vrcollection.h"

namespace vesk::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Zlib(const Bytes& raw) {
    uLongf n = compressBound(raw.size());
    Bytes out(n);
    compress2(out.data(), &n, raw.data(), raw.size(), 1);
    out.resize(n);
    return out;
}

// One entry of a hand-made archive: the bytes exactly as they are to sit in
// the data area.
struct FixtureEntry {
    std::string name;
    Bytes data;
    bool stored = false;
    std::uint32_t fileTime = 0;
    std::uint32_t crc = 0;
    bool crcOfRaw = false;
};

// Writes an archive of any version byte by byte, following the format
// description: magic and version (none for version 0), count, names
// (scrambled from 100 on), offsets (32-bit up to 100, 64-bit from 101;
// scrambled from 100 on), the flag tables from 101 (checksum modes from 102)
// and the data. Offsets are relative to the archive's start plus dataShift.
class FixtureWriter {
public:
    static Bytes Build(int version, const std::vector<FixtureEntry>& entries, std::int64_t dataShift = 0,
                       bool dataInline = true) {
        Bytes dir;
        auto u8 = [&](std::uint8_t v) { dir.push_back(v); };
        auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        auto u64 = [&](std::uint64_t v) {
            for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        if (version > 0) {
            u8('v');
            u8('f');
            u32(static_cast<std::uint32_t>(version));
        }
        u32(static_cast<std::uint32_t>(entries.size()));
        std::uint32_t x = 0;
        auto next = [&x]() { return x = x * 5u + kArchiveKey; };
        for (const FixtureEntry& e : entries) {
            u32(static_cast<std::uint32_t>(e.name.size()));
            for (char c : e.name) u8(static_cast<std::uint8_t>(c) ^ (version >= 100 ? (next() & 0xFF) : 0));
        }
        const std::size_t offsetsSize = (entries.size() + 1) * (version >= 101 ? 8 : 4);
        std::size_t tables = 0;
        if (version >= 101) tables = entries.size() * (version >= 102 ? 10 : 9);
        std::int64_t pos = dataInline ? static_cast<std::int64_t>(dir.size() + offsetsSize + tables) : 0;
        pos += dataShift;
        x = 0;
        auto offset = [&](std::int64_t v) {
            if (version >= 101) {
                std::uint64_t r = 0;
                if (version >= 100) {
                    const std::uint32_t k = next();
                    r = k | (k >= 0x80000000u ? 0xFFFFFFFF00000000ull : 0);
                }
                u64(static_cast<std::uint64_t>(v) ^ r);
            } else {
                u32(static_cast<std::uint32_t>(v) ^ (version >= 100 ? next() : 0));
            }
        };
        for (const FixtureEntry& e : entries) {
            offset(pos);
            pos += static_cast<std::int64_t>(e.data.size());
        }
        offset(pos);
        if (version >= 101) {
            for (const FixtureEntry& e : entries) u8(e.stored);
            for (const FixtureEntry& e : entries) u32(e.fileTime);
            for (const FixtureEntry& e : entries) u32(e.crc);
            if (version >= 102)
                for (const FixtureEntry& e : entries) u8(e.crcOfRaw);
        }
        if (dataInline)
            for (const FixtureEntry& e : entries) dir.insert(dir.end(), e.data.begin(), e.data.end());
        return dir;
    }
};

// A fresh folder below the temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vesk-test-XXXXXX").string();
        path_ = mkdtemp(tmpl.data());
        path_ += "/";
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

inline void WriteFileBytes(const std::string& path, const Bytes& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline Bytes ToBytes(const TMemoryStream& m) { return m.Bytes(); }

}  // namespace vesk::test
