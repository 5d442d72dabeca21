#include <gtest/gtest.h>
#include <sys/time.h>
#include <zlib.h>

#include <ctime>
#include <random>

#include "archive/bigstreams.h"
#include "archive/vrcollection.h"
#include "archive_fixture.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/msgbox.h"

namespace vesk::test {
namespace {

std::uint32_t Crc(const Bytes& b) { return static_cast<std::uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size()))); }

Bytes Text(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>("vesk archive text "[i % 18]);
    return b;
}

Bytes Noise(std::size_t n) {
    std::mt19937 rng(7);
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

// The bytes an entry occupies in a written archive.
Bytes Raw(const Bytes& archive, const TVrFile& f) {
    return Bytes(archive.begin() + f.Offset, archive.begin() + f.Offset + f.Length);
}

std::unique_ptr<TVrFileCollection> Reread(const TMemoryStream& written) {
    auto a = std::make_unique<TVrFileCollection>();
    a->OpenStream(std::make_unique<TMemoryStream>(written.Bytes()));
    return a;
}

TEST(ArchiveWriter, InMemoryContentIsCompressedBelowFiveMiB) {
    TVrFileCollection a;
    const Bytes small = Text(0x500000 - 1), large = Text(0x500000);
    a.AddMemoryEntry("small").Content->WriteBuffer(small.data(), static_cast<std::int64_t>(small.size()));
    a.AddMemoryEntry("large").Content->WriteBuffer(large.data(), static_cast<std::int64_t>(large.size()));
    TVrFile& raw = a.AddMemoryEntry("crc-of-stored");
    raw.Content->WriteBuffer(small.data(), 1000);
    raw.CrcOfRaw = false;
    TMemoryStream out;
    ASSERT_TRUE(a.Write(out));

    auto back = Reread(out);
    const TVrFile& s = *back->FindFile("small");
    const TVrFile& l = *back->FindFile("large");
    const TVrFile& r = *back->FindFile("crc-of-stored");
    EXPECT_FALSE(s.Stored);
    EXPECT_LT(s.Length, 0x10000);
    EXPECT_TRUE(s.CrcOfRaw);
    EXPECT_EQ(s.Crc, Crc(small));
    EXPECT_TRUE(l.Stored);
    EXPECT_EQ(l.Length, 0x500000);
    EXPECT_EQ(l.Crc, Crc(large));
    EXPECT_FALSE(r.Stored);
    EXPECT_FALSE(r.CrcOfRaw);
    EXPECT_EQ(r.Crc, Crc(Raw(out.Bytes(), r)));  // the checksum covers the compressed bytes

    TMemoryStream m;
    back->ReadEntry("SMALL", m);
    EXPECT_EQ(m.Bytes(), small);
}

Bytes Fenk(const char* signature, std::uint8_t compression, std::size_t pixels) {
    Bytes b(signature, signature + 7);
    const Bytes header = {40, 0, 0, 0};
    b.insert(b.end(), header.begin(), header.end());
    Bytes h(40, 0);
    h[20] = 1;
    h[22] = compression;
    b.insert(b.end(), h.begin(), h.end());
    const Bytes body = Text(pixels);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

void SetTime(const std::string& path, int year, int month, int day, int hour, int minute, int second) {
    std::tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    const timeval tv[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
    ASSERT_EQ(utimes(path.c_str(), tv), 0);
}

TEST(ArchiveWriter, LooseFilesFollowTheExtensionRules) {
    TempDir dir;
    struct Case {
        const char* name;
        Bytes data;
        bool stored;
    };
    const std::vector<Case> cases = {
        {"text.txt", Text(5000), false},
        {"noise.bin", Noise(5000), true},          // compression saves less than a tenth
        {"noext", Text(5000), false},
        {"sound\\voice.WAV", Text(5000), true},    // media are stored however well they compress
        {"bgm.ogg", Text(5000), true},
        {"movie.mpeg", Text(5000), true},
        {"clip.m1v", Text(5000), true},
        {"data.dat", Text(5000), true},
        {"big.txt", Text(0x500000), true},         // 5 MiB and more: stored
        {"justbelow.txt", Text(0x500000 - 1), false},
        {"plain.fnk", Fenk("Fenk106", 1, 5000), false},  // the image's own pixels are stored
        {"packed.fnk", Fenk("Fenk106", 0, 5000), true},  // already zlib inside
        {"old.fnk", Fenk("Fenk102", 1, 5000), true},     // no such header before 103
        {"huge.fnk", Fenk("Fenk103", 1, 0x500000), false},
    };
    TVrFileCollection a;
    a.SetFolder(dir.Path());
    for (const Case& c : cases) {
        std::string native = c.name;
        for (char& ch : native)
            if (ch == '\\') ch = '/';
        WriteFileBytes(dir / native, c.data);
        a.AddNamedEntry(c.name);
    }
    SetTime(dir / "text.txt", 2001, 2, 3, 4, 5, 6);
    TMemoryStream out;
    ASSERT_TRUE(a.Write(out));

    auto back = Reread(out);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TVrFile* f = back->FindFile(c.name);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Stored, c.stored);
        EXPECT_EQ(f->Crc, Crc(c.data));  // loose files: over the file's own bytes
        EXPECT_TRUE(f->CrcOfRaw);
        EXPECT_NE(f->FileTime, 0u);
        TMemoryStream m;
        back->ReadEntry(*f, m);
        EXPECT_EQ(m.Bytes(), c.data);
    }
    // 2001-02-03 04:05:06: date (21 << 9 | 2 << 5 | 3), time (4 << 11 | 5 << 5 | 6 / 2).
    EXPECT_EQ(back->FindFile("text.txt")->FileTime, (((21u << 9) | (2u << 5) | 3u) << 16) | ((4u << 11) | (5u << 5) | 3u));
}

TEST(ArchiveWriter, RewrittenEntriesComeFromTheOldArchive) {
    TempDir dir;
    const Bytes big = Noise(0x500000), small = Text(3000);
    {
        TVrFileCollection first;
        first.AddMemoryEntry("big.bin").Content->WriteBuffer(big.data(), static_cast<std::int64_t>(big.size()));
        TVrFile& s = first.AddMemoryEntry("small.bin");
        s.Content->WriteBuffer(small.data(), static_cast<std::int64_t>(small.size()));
        TBigFileStream f(dir / "save.dat", TBigFileStream::Mode::Create);
        ASSERT_TRUE(first.Write(f));
    }
    TVrFileCollection old;
    old.OpenFile(dir / "save.dat");
    ASSERT_EQ(old.EntryCount(), 2);
    old.AddMemoryEntry("new.txt").Content->WriteBuffer("n", 1);
    TMemoryStream out;
    ASSERT_TRUE(old.Write(out));

    auto back = Reread(out);
    const TVrFile& b = *back->FindFile("big.bin");
    const TVrFile& s = *back->FindFile("small.bin");
    EXPECT_TRUE(b.Stored);
    EXPECT_FALSE(s.Stored);
    EXPECT_FALSE(s.CrcOfRaw);
    EXPECT_EQ(s.Crc, Crc(Raw(out.Bytes(), s)));  // over the bytes as written
    EXPECT_EQ(b.Crc, Crc(big));
    TMemoryStream m;
    back->ReadEntry(s, m);
    EXPECT_EQ(m.Bytes(), small);
    back->ReadEntry("new.txt", m);
    EXPECT_EQ(m.AsString(), "n");
}

TEST(ArchiveWriter, FailingEntryShowsItsNameAndPropagates) {
    std::vector<std::string> shown;
    auto old = platform::SetMessageBoxHandler(
        [&](const std::string& text, const std::string&, platform::MsgButtons, platform::MsgIcon) {
            shown.push_back(text);
            return platform::MsgResult::Ok;
        },
        false);
    TVrFileCollection a;
    a.AddMemoryEntry("fine").Content->WriteBuffer("x", 1);
    a.AddNamedEntry("gone\\missing.png");  // no content, no loose file, no old archive
    TMemoryStream out;
    EXPECT_THROW(a.Write(out), EVeskError);
    platform::SetMessageBoxHandler(old);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Sj("エラー:") + "gone\\missing.png");
}

}  // namespace
}  // namespace vesk::test
