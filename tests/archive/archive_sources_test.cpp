#include <gtest/gtest.h>

#include <filesystem>

#include "archive/bigstreams.h"
#include "archive/resources.h"
#include "archive/vrcollection.h"
#include "archive_fixture.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"

namespace vesk::test {
namespace {

std::string Read(TVrFileCollection& a, const std::string& name) {
    TMemoryStream m;
    a.ReadEntry(name, m);
    return m.AsString();
}

TEST(BigFileStream, WritesAndReadsAcrossVolumes) {
    TempDir dir;
    const std::string path = dir / "game.dat";
    WriteFileBytes(dir / "game.004", B("stale volume of an older copy"));
    Bytes data(25);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
    {
        TBigFileStream out(path, TBigFileStream::Mode::Create, 10);
        out.WriteBuffer(data.data(), 7);
        out.WriteBuffer(data.data() + 7, 18);
        EXPECT_EQ(out.Size(), 25);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "game.004"));  // creating removes every old volume
    EXPECT_EQ(ReadFileBytes(path).size(), 10u);
    EXPECT_EQ(ReadFileBytes(dir / "game.001").size(), 10u);
    EXPECT_EQ(ReadFileBytes(dir / "game.002"), Bytes(data.begin() + 20, data.end()));

    TBigFileStream in(path, TBigFileStream::Mode::Read, 10);
    EXPECT_EQ(in.VolumeCount(), 3);
    EXPECT_EQ(in.Size(), 25);
    Bytes back(25);
    in.SetPosition(8);
    EXPECT_EQ(in.Read(back.data(), 25), 17);  // from 8 across two boundaries to the end
    EXPECT_EQ(Bytes(back.begin(), back.begin() + 17), Bytes(data.begin() + 8, data.end()));
}

TEST(BigFileStream, MissingVolumeEndsTheStream) {
    TempDir dir;
    const std::string path = dir / "game.dat";
    {
        TBigFileStream out(path, TBigFileStream::Mode::Create, 10);
        const Bytes data(30, 1);
        out.WriteBuffer(data.data(), 30);
    }
    std::filesystem::remove(dir / "game.001");
    TBigFileStream in(path, TBigFileStream::Mode::Read, 10);
    EXPECT_EQ(in.Size(), 10);
    Bytes b(20);
    EXPECT_THROW(in.ReadBuffer(b.data(), 20), EStreamError);
    EXPECT_EQ(TBigFileStream::VolumeName(dir / "a.b.dat", 12), dir / "a.b.012");
    EXPECT_EQ(TBigFileStream::VolumeName(dir / "noext", 1), dir / "noext.001");
}

TEST(ArchiveSources, ArchiveSpreadOverVolumesReads) {
    TempDir dir;
    const std::string path = dir / "game.dat";
    {
        TVrFileCollection a;
        a.AddMemoryEntry("one").Content->WriteBuffer(std::string(3000, 'a').data(), 3000);
        TBigFileStream f(path, TBigFileStream::Mode::Create, 64);
        ASSERT_TRUE(a.Write(f));
        EXPECT_GT(f.VolumeCount(), 1);
    }
    TVrFileCollection a;
    a.OpenStream(std::make_unique<TBigFileStream>(path, TBigFileStream::Mode::Read, 64));
    EXPECT_EQ(Read(a, "ONE"), std::string(3000, 'a'));
}

TEST(ArchiveSources, FileArchiveReadsInPlaceAndItsStreamsOutliveIt) {
    TempDir dir;
    const std::string path = dir / "game.dat";
    const std::string text(5000, 'q');
    WriteFileBytes(path, FixtureWriter::Build(102, {{"a.txt", Zlib(B(text)), false}, {"b.ogg", B("OggS-data"), true}}));
    std::unique_ptr<TStream> source;
    {
        TVrFileCollection a;
        a.OpenFile(path);
        EXPECT_EQ(Read(a, "A.TXT"), text);
        EXPECT_EQ(Read(a, "b.ogg"), "OggS-data");
        source = a.OpenSourceStream();
        ASSERT_NE(source, nullptr);
        const TVrFile* b = a.FindFile("b.ogg");
        ASSERT_NE(b, nullptr);
        source->SetPosition(b->Offset);
        // An entry that lies past the end of the file is damage, not a read
        // outside the mapped bytes.
        TVrFile* lying = a.FindFile("a.txt");
        lying->Length = std::int64_t(1) << 40;
        TMemoryStream out;
        EXPECT_THROW(a.ReadEntry(*lying, out), EStreamError);
    }
    // The archive is gone; the stream it handed out still reads the file.
    char got[9];
    source->ReadBuffer(got, 9);
    EXPECT_EQ(std::string(got, 9), "OggS-data");
}

TEST(ArchiveSources, SideDirectoryAddressesTheMainFile) {
    TempDir dir;
    const Bytes data = B("0123456789");
    // The main file is raw data; the directory beside it points into it.
    WriteFileBytes(dir / "movie.dat", data);
    WriteFileBytes(dir / "movie.ext", FixtureWriter::Build(102, {{"a.mpg", B("2345"), true}}, 2, false));
    TVrFileCollection a;
    a.OpenFile(dir / "movie.dat");
    ASSERT_EQ(a.EntryCount(), 1);
    EXPECT_EQ((*&a)[0].Offset, 2);
    EXPECT_EQ(Read(a, "A.MPG"), "2345");
}

TEST(ArchiveSources, MissingFileLeavesAnEmptyArchive) {
    TempDir dir;
    TVrFileCollection a;
    a.OpenFile(dir / "none.dat");
    EXPECT_EQ(a.EntryCount(), 0);
    EXPECT_FALSE(a.HasSource());
    EXPECT_EQ(a.Path(), dir / "none.dat");
}

Bytes Appended(const Bytes& player, const Bytes& archive) {
    Bytes game = player;
    game.insert(game.end(), archive.begin(), archive.end());
    const auto base = static_cast<std::uint32_t>(player.size());
    for (int i = 0; i < 4; ++i) game.push_back(static_cast<std::uint8_t>(base >> (8 * i)));
    game.push_back('v');
    game.push_back('k');
    return game;
}

TEST(ArchiveSources, AppendedArchiveOpensByItsTrailer) {
    TempDir dir;
    TVrFileCollection src;
    src.AddMemoryEntry("vesk.vkp").Content->WriteBuffer("project", 7);
    TMemoryStream archive;
    src.Write(archive);
    const Bytes elf = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0};
    const Bytes game = Appended(elf, archive.Bytes());
    WriteFileBytes(dir / "game", game);
    WriteFileBytes(dir / "GAME.EXE", game);

    TVrFileCollection a;
    a.OpenAppended(dir / "game");  // an ELF player has no extension
    EXPECT_EQ(a.Base(), 10);
    EXPECT_EQ(Read(a, "vesk.vkp"), "project");
    TVrFileCollection b;
    b.OpenFile(dir / "GAME.EXE");  // ".exe" in any letter case means appended
    EXPECT_EQ(Read(b, "VESK.VKP"), "project");

    Bytes broken = game;
    broken.back() = 'x';
    WriteFileBytes(dir / "broken", broken);
    TVrFileCollection c;
    EXPECT_THROW(c.OpenAppended(dir / "broken"), EStreamError);
    Bytes farBase = game;
    farBase[farBase.size() - 3] = 0x7F;  // base far beyond the end
    WriteFileBytes(dir / "far", farBase);
    EXPECT_THROW(c.OpenAppended(dir / "far"), EStreamError);
}

TEST(ArchiveSources, ResourceArchiveIsFoundByNameAndType) {
    TVrFileCollection src;
    src.AddMemoryEntry("splash.vkm").Content->WriteBuffer("film", 4);
    TMemoryStream archive;
    src.Write(archive);
    static Bytes bytes;
    bytes = archive.Bytes();
    RegisterResource("MADEWITH", "DATA", bytes.data(), static_cast<std::int64_t>(bytes.size()));

    TVrFileCollection a;
    a.OpenResource("", "madewith", "data");
    EXPECT_TRUE(a.IsResource());
    EXPECT_EQ(Read(a, "splash.vkm"), "film");
    TVrFileCollection own;
    own.OpenResource(platform::ExecutablePath(), "MADEWITH", "DATA");
    EXPECT_EQ(own.EntryCount(), 1);
    auto range = a.OpenSourceStream();
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->Size(), static_cast<std::int64_t>(bytes.size()));

    try {
        TVrFileCollection b;
        b.OpenResource("", "MADEWITH", "BINTYPE");
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("リソースが見つかりません"));
    }
    UnregisterResource("MADEWITH", "DATA");
}

// tests/archive/resmodule: a shared library carrying embedded.dat as the
// resource MODULEDATA of type DATA.
TEST(ArchiveSources, ResourceOfAnotherModule) {
    const std::string module = VESK_BINARY_DIR "/tests/archive/resmodule/libvesk_test_resmodule.so";
    {
        TVrFileCollection a;
        a.OpenResource(module, "moduledata", "DATA");
        EXPECT_TRUE(a.IsResource());
        EXPECT_EQ(Read(a, "HELLO.TXT"), "embedded hello");
        auto range = a.OpenSourceStream();
        ASSERT_NE(range, nullptr);
        EXPECT_EQ(range->Size(), static_cast<std::int64_t>(ReadFileBytes(VESK_SOURCE_DIR "/tests/archive/data/embedded.dat").size()));
    }
    // The module's resources are its own: this executable's are not found
    // through it, nor its through this executable.
    RegisterResource("ONLYHERE", "DATA", "x", 1);
    const struct {
        std::string module, name;
    } missing[] = {
        {module, "ONLYHERE"},                                  // not in that module
        {module, "EMBEDDED"},                                  // this executable's, not the module's
        {VESK_BINARY_DIR "/libvesklog.so", "MODULEDATA"},      // a library without resources
        {"/no/such/module.so", "MODULEDATA"},                  // no library at all
    };
    for (const auto& m : missing) {
        TVrFileCollection b;
        try {
            b.OpenResource(m.module, m.name, "DATA");
            ADD_FAILURE() << m.module << " " << m.name;
        } catch (const EVeskError& e) {
            EXPECT_EQ(std::string(e.what()), Sj("リソースが見つかりません")) << m.module;
        }
        EXPECT_EQ(b.EntryCount(), 0);
    }
    UnregisterResource("ONLYHERE", "DATA");
    TVrFileCollection own;
    EXPECT_THROW(own.OpenResource("", "MODULEDATA", "DATA"), EVeskError);
}

}  // namespace
}  // namespace vesk::test

namespace vesk::test {
namespace {

// tests/archive/data/embedded.dat, compiled in by vesk_add_resource.
TEST(ArchiveSources, ResourceCompiledIntoTheExecutable) {
    const TResourceData res = FindResource("Embedded", "Data");
    ASSERT_NE(res.data, nullptr);
    EXPECT_EQ(res.size, static_cast<std::int64_t>(ReadFileBytes(VESK_SOURCE_DIR "/tests/archive/data/embedded.dat").size()));
    TVrFileCollection a;
    a.OpenResource("", "EMBEDDED", "DATA");
    EXPECT_EQ(Read(a, "HELLO.TXT"), "embedded hello");
}

}  // namespace
}  // namespace vesk::test
