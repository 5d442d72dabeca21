#include <gtest/gtest.h>

#include "archive/vrcollection.h"
#include "archive_fixture.h"
#include "common/cp932.h"
#include "common/error.h"

namespace vesk::test {
namespace {

std::unique_ptr<TVrFileCollection> Open(const Bytes& bytes) {
    auto a = std::make_unique<TVrFileCollection>();
    a->OpenStream(std::make_unique<TMemoryStream>(bytes));
    return a;
}

std::string Content(TVrFileCollection& a, const std::string& name) {
    TMemoryStream m;
    a.ReadEntry(name, m);
    EXPECT_EQ(m.Position(), 0);
    return m.AsString();
}

// A version 101 archive written out byte by byte: names "a", "b", "c"
// scrambled with the first three key values (K, 6K, 31K), the offsets 84..87
// with the first four; the fourth key value is above 2^31, so the high half
// of the last offset is all ones.
const Bytes kHandMade101 = {
    0x76, 0x66, 0x65, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0xA6, 0x01, 0x00, 0x00, 0x00,
    0xC8, 0x01, 0x00, 0x00, 0x00, 0x7A, 0x93, 0x51, 0x6B, 0x3A, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xEA, 0x83, 0x5E, 0x00,
    0x00, 0x00, 0x00, 0x4F, 0xE7, 0xFE, 0x12, 0x00, 0x00, 0x00, 0x00, 0x13, 0xD5, 0x65, 0x99, 0xFF, 0xFF, 0xFF, 0xFF,
    0x01, 0x01, 0x00, 0x11, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0x33, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,
    0x0B, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x78, 0x79, 0x7A};

TEST(ArchiveFormat, HandMadeVersion101) {
    auto a = Open(kHandMade101);
    ASSERT_EQ(a->EntryCount(), 3);
    EXPECT_EQ((*a)[0].Name(), "a");
    EXPECT_EQ((*a)[1].Name(), "b");
    EXPECT_EQ((*a)[2].Name(), "c");
    EXPECT_EQ((*a)[3].Name(), "\\EOF\\");
    EXPECT_EQ((*a)[3].Offset, 87);
    EXPECT_EQ((*a)[2].Offset, 86);
    EXPECT_EQ((*a)[2].Length, 1);
    EXPECT_FALSE((*a)[2].Stored);
    EXPECT_EQ((*a)[1].FileTime, 0x22u);
    EXPECT_EQ((*a)[2].Crc, 0xCu);
    EXPECT_FALSE((*a)[0].CrcOfRaw);  // version 101 has no checksum modes
    EXPECT_EQ(Content(*a, "a"), "x");
    EXPECT_EQ(Content(*a, "B"), "y");
}

struct VersionCase {
    int version;
    bool hasFlags;
};

class ArchiveVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ArchiveVersions, ReadsEveryEntryWithItsFields) {
    const auto [version, hasFlags] = GetParam();
    const Bytes title = B("title picture bytes, title picture bytes, title picture bytes");
    std::vector<FixtureEntry> entries = {
        {"cg\\title.png", Zlib(title), false, 0x5A5A0101, 0x12345678, true},
        // A name of length 0 uses no key values: the next name still reads.
        {"", Zlib(B("nameless")), false, 0, 0, false},
        {"bgm\\op.ogg", hasFlags ? B("OggS raw") : Zlib(B("OggS raw")), hasFlags, 7, 9, false},
    };
    auto a = Open(FixtureWriter::Build(version, entries));
    EXPECT_EQ(a->Version(), version);
    ASSERT_EQ(a->EntryCount(), 3);
    EXPECT_EQ((*a)[1].Name(), "");
    EXPECT_EQ((*a)[2].Name(), "bgm\\op.ogg");
    EXPECT_EQ(Content(*a, "CG\\Title.png"), std::string(title.begin(), title.end()));
    EXPECT_EQ(Content(*a, "BGM\\OP.OGG"), "OggS raw");
    TMemoryStream nameless;
    a->ReadEntry((*a)[1], nameless);
    EXPECT_EQ(nameless.AsString(), "nameless");

    const TVrFile& first = (*a)[0];
    const TVrFile& ogg = (*a)[2];
    EXPECT_EQ(ogg.Length, static_cast<std::int64_t>(entries[2].data.size()));
    EXPECT_EQ(ogg.Stored, hasFlags);
    EXPECT_EQ(first.FileTime, hasFlags ? 0x5A5A0101u : 0u);
    EXPECT_EQ(first.Crc, hasFlags ? 0x12345678u : 0u);
    EXPECT_EQ(first.CrcOfRaw, version >= 102);
}

INSTANTIATE_TEST_SUITE_P(AllVersions, ArchiveVersions,
                         ::testing::Values(VersionCase{0, false}, VersionCase{99, false}, VersionCase{100, false},
                                           VersionCase{101, true}, VersionCase{102, true}),
                         [](const auto& info) { return "V" + std::to_string(info.param.version); });

TEST(ArchiveFormat, PlainNamesUpTo99AndScrambledFrom100) {
    const std::vector<FixtureEntry> entries = {{"ABC", Zlib(B("1"))}};
    const Bytes plain = FixtureWriter::Build(99, entries);
    const Bytes scrambled = FixtureWriter::Build(100, entries);
    // Name bytes follow magic, version, count and the name length.
    EXPECT_EQ(plain[14], 'A');
    EXPECT_EQ(scrambled[14], 'A' ^ 0xC7);  // low byte of the first key value, K
    EXPECT_EQ(scrambled[15], 'B' ^ 0xAA);  // low byte of 6K
}

TEST(ArchiveFormat, WrittenArchiveStartsWithMagicAndVersionAndReadsBack) {
    TVrFileCollection a;
    a.AddMemoryEntry("Script\\Start.vks").Content->WriteBuffer("page", 4);
    a.AddMemoryEntry("").Content->WriteBuffer("empty name", 10);
    TMemoryStream out;
    ASSERT_TRUE(a.Write(out));
    ASSERT_GE(out.Size(), 4);
    EXPECT_EQ(out.Bytes()[0], 0x76);
    EXPECT_EQ(out.Bytes()[1], 0x66);
    EXPECT_EQ(out.Bytes()[2], 0x66);
    EXPECT_EQ(out.Bytes()[3], 0x00);

    auto back = Open(out.Bytes());
    ASSERT_EQ(back->EntryCount(), 2);
    EXPECT_EQ(Content(*back, "script\\start.VKS"), "page");
    EXPECT_EQ((*back)[1].Name(), "");
}

TEST(ArchiveFormat, SentinelIsNoFile) {
    auto a = Open(FixtureWriter::Build(102, {{"a", B("x"), true}}));
    EXPECT_EQ(a->FindFile("\\EOF\\"), nullptr);
    EXPECT_NE(a->FindFile("A"), nullptr);
}

TEST(ArchiveFormat, ListFolderTakesDirectChildrenOnce) {
    auto a = Open(FixtureWriter::Build(
        102, {{"cg\\a.png", B("1"), true}, {"CG\\b.png", B("2"), true}, {"cg\\sub\\c.png", B("3"), true},
              {"top.txt", B("4"), true}}));
    std::vector<std::string> list = {"b.png"};
    a->ListFolder("Cg", list);
    EXPECT_EQ(list, (std::vector<std::string>{"b.png", "cg\\a.png"}));
    std::vector<std::string> top;
    a->ListFolder("", top);
    EXPECT_EQ(top, (std::vector<std::string>{"top.txt"}));
}

// Directories that lie: each must end the read with EStreamError.
struct BadCase {
    const char* what;
    Bytes bytes;
};

Bytes Patch(Bytes b, std::size_t at, std::vector<std::uint8_t> with) {
    for (std::size_t i = 0; i < with.size(); ++i) b.at(at + i) = with[i];
    return b;
}

Bytes Cut(Bytes b, std::size_t n) {
    b.resize(n);
    return b;
}

std::vector<BadCase> BadCases() {
    const Bytes good = FixtureWriter::Build(102, {{"ab", B("xyz"), true}, {"c", B("q"), true}});
    // Layout: 0 magic, 2 version, 6 count, 10 len "ab", 14 name, 16 len "c", 20 name, 21 offsets (3 x 8).
    std::vector<BadCase> cases = {
        {"empty", {}},
        {"one byte", {0x76}},
        {"newer version", Patch(good, 2, {103, 0, 0, 0})},
        {"negative version", Patch(good, 2, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"count far past the end", Patch(good, 6, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"negative count", Patch(good, 6, {0xFE, 0xFF, 0xFF, 0xFF})},
        {"name longer than what is left", Patch(good, 10, {0x00, 0x00, 0x10, 0x00})},
        {"negative name length", Patch(good, 10, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"cut in the names", Cut(good, 18)},
        {"cut in the offsets", Cut(good, 30)},
        {"cut in the checksum modes", Cut(good, 21 + 24 + 2 + 8 + 8 + 1)},
    };
    // Offsets, scrambled like the real ones, that run backwards or past the end.
    cases.push_back({"decreasing offsets", FixtureWriter::Build(102, {{"a", B("xyz"), true}, {"b", B("q"), true}}, 0)});
    {
        Bytes b = cases.back().bytes;
        // Swap the first two offset values: still scrambled with their own keys.
        const std::uint32_t k1 = kArchiveKey, k2 = kArchiveKey * 6u;
        auto get = [&](std::size_t at) {
            std::uint64_t v = 0;
            for (int i = 0; i < 8; ++i) v |= std::uint64_t(b[at + i]) << (8 * i);
            return v;
        };
        auto put = [&](std::size_t at, std::uint64_t v) {
            for (int i = 0; i < 8; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        const std::size_t at = 2 + 4 + 4 + 5 + 5;
        const std::uint64_t o1 = get(at) ^ k1, o2 = get(at + 8) ^ k2;
        put(at, (o2 + 5) ^ k1);
        put(at + 8, o1 ^ k2);
        cases.back().bytes = b;
    }
    cases.push_back({"data past the end", Cut(good, good.size() - 1)});
    cases.push_back({"v0 count past the end", {0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 'a'}});
    return cases;
}

TEST(ArchiveFormat, LyingDirectoriesAreErrors) {
    for (const BadCase& c : BadCases()) {
        SCOPED_TRACE(c.what);
        TVrFileCollection a;
        EXPECT_THROW(a.OpenStream(std::make_unique<TMemoryStream>(c.bytes)), EStreamError);
    }
}

TEST(ArchiveFormat, DamagedZlibIsAnError) {
    const Bytes packed = Zlib(B(std::string(1000, 'x') + "tail"));
    Bytes flipped = packed;
    flipped[flipped.size() / 2] ^= 0x55;
    flipped[2] ^= 0xFF;
    const Bytes truncated(packed.begin(), packed.begin() + static_cast<long>(packed.size() / 2));
    for (const Bytes& data : {flipped, truncated, B("not zlib at all"), Bytes{}}) {
        auto a = Open(FixtureWriter::Build(102, {{"x", data, false}}));
        TMemoryStream m;
        EXPECT_THROW(a->ReadEntry("x", m), EStreamError);
    }
}

TEST(ArchiveFormat, ReadOfUnknownNameSaysSo) {
    auto a = Open(FixtureWriter::Build(102, {{"a", B("x"), true}}));
    TMemoryStream m;
    try {
        a->ReadEntry("missing.txt", m);
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), "missing.txt" + Sj(":ファイルがありません"));
    }
}

}  // namespace
}  // namespace vesk::test
