// The order in which a start registers the content folder and the archives,
// observed on the file manager, and the files the module finalisation
// removes.

#include "app/content_registration.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/player.h"
#include "archive/resources.h"
#include "archive/tempfiles.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "tests/app/test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

// The bytes of an archive holding one entry of that name.
std::string ArchiveBytes(const std::string& entry) {
    TVrFileCollection c;
    c.AddMemoryEntry(entry).Content->WriteBuffer("data", 4);
    TMemoryStream out;
    EXPECT_TRUE(c.Write(out));
    return out.AsString();
}

// A program file with an archive appended behind its own bytes.
std::string WithAppendedArchive(const std::string& entry) {
    const std::string program = "\x7f" "ELF program bytes";
    TMemoryStream trailer;
    WriteInt32(trailer, static_cast<std::int32_t>(program.size()));
    return program + ArchiveBytes(entry) + trailer.AsString() + "vk";
}

// What is registered, in order: "mem" for archive 0, "res:NAME" for a
// resource, else the file's path.
std::vector<std::string> Registered(const TVrFileManager& files) {
    std::vector<std::string> r;
    for (int i = 0; i < files.ArchiveCount(); ++i) {
        const TVrFileCollection& a = files.Archive(i);
        r.push_back(a.IsResource() ? "res:" + a.Path() : a.Path().empty() ? "mem" : a.Path());
    }
    return r;
}

class Registration : public ::testing::Test {
protected:
    Registration() {
        files_.SetCdromScanner([] { return std::vector<std::string>{}; });
        files_.AddMemoryArchive();
    }
    test::TTempDir dir_;
    TVrFileManager files_;
};

TEST_F(Registration, WithoutArgumentsTheExecutablesFolderAndItsOwnArchive) {
    const std::string plain = dir_ / "bin/plain";
    const std::string game = dir_ / "bin/game";
    test::WriteFile(plain, "\x7f" "ELF without any archive");
    test::WriteFile(game, WithAppendedArchive("start.txt"));

    RegisterContent(files_, plain, {});
    EXPECT_EQ(files_.ContentFolder(), dir_ / "bin/");
    EXPECT_EQ(Registered(files_), (std::vector<std::string>{"mem"}));

    TVrFileManager second;
    second.AddMemoryArchive();
    RegisterContent(second, game, {});
    EXPECT_EQ(Registered(second), (std::vector<std::string>{"mem", game}));
    EXPECT_TRUE(second.Exists("START.TXT"));
}

TEST_F(Registration, DummyResourceComesBeforeTheExecutable) {
    // The resource registers only when its last two bytes are "vf".
    static const std::string dummy = ArchiveBytes("dummy.txt") + "vf";
    static const std::string other = ArchiveBytes("other.txt");
    const std::string self = platform::ExecutablePath();
    RegisterResource("DUMMY", "BINTYPE", dummy.data(), static_cast<std::int64_t>(dummy.size()));
    RegisterContent(files_, self, {});
    EXPECT_EQ(Registered(files_), (std::vector<std::string>{"mem", "res:" + self}));
    EXPECT_TRUE(files_.Exists("dummy.txt"));

    TVrFileManager second;
    second.AddMemoryArchive();
    RegisterResource("DUMMY", "BINTYPE", other.data(), static_cast<std::int64_t>(other.size()));
    RegisterContent(second, self, {});
    EXPECT_EQ(Registered(second), (std::vector<std::string>{"mem"}));
    UnregisterResource("DUMMY", "BINTYPE");
}

TEST_F(Registration, PerArgumentItsGameDatThenTheArgumentItself) {
    const std::string a = dir_ / "a", c = dir_ / "c";
    test::WriteFile(a + "/game.dat", ArchiveBytes("a.txt"));
    test::WriteFile(dir_ / "b.bin", WithAppendedArchive("b.txt"));
    test::WriteFile(dir_ / "d.dat", ArchiveBytes("d.txt"));  // a plain archive: no "vk"
    fs::create_directories(c);                                // a folder without game.dat
    test::WriteFile(dir_ / "e/game.dat", ArchiveBytes("e.txt"));

    RegisterContent(files_, dir_ / "bin/player",
                    {a, dir_ / "b.bin", c, dir_ / "d.dat", dir_ / "missing", dir_ / "e/", a});
    // The first argument is the content folder; the same archive is never
    // opened twice.
    EXPECT_EQ(files_.ContentFolder(), a + "/");
    EXPECT_EQ(Registered(files_), (std::vector<std::string>{"mem", a + "/game.dat", dir_ / "b.bin",
                                                            dir_ / "e/game.dat"}));
}

TEST_F(Registration, CdromRootsHoldTheExecutableOrNot) {
    const std::vector<std::string> roots = {"/media/cdrom/", "/run/media/u/DISC/"};
    EXPECT_TRUE(IsOnCdrom("/media/cdrom/veskplay", roots));
    EXPECT_TRUE(IsOnCdrom("/run/media/u/DISC/game/veskplay", roots));
    EXPECT_FALSE(IsOnCdrom("/media/cdrom2/veskplay", roots));
    EXPECT_FALSE(IsOnCdrom("/home/u/media/cdrom/veskplay", roots));
    EXPECT_FALSE(IsOnCdrom("/media/cdrom/veskplay", {}));
}

TEST(ModuleFinalisation, DeletesExtractionAndTemporaryFiles) {
    test::TTempDir dir;
    test::WriteFile(dir / "game/game.dat", ArchiveBytes("bgm\\title.ogg"));
    test::WriteFile(dir / "scratch.tmp", "temporary");
    TVrFileManager& files = VrFileManager();
    files.SetCdromScanner([] { return std::vector<std::string>{}; });
    files.SetTempFolder(dir.Path());
    files.AddMemoryArchive();
    ASSERT_GE(files.AddArchiveFile(dir / "game/game.dat"), 0);
    const std::string extracted = files.RealPath("bgm\\title.ogg");
    ASSERT_TRUE(fs::exists(extracted));
    EXPECT_EQ(fs::path(extracted).filename(), "~vk00000000.ogg");
    AddTempFile(dir / "scratch.tmp");

    FinaliseModules();
    EXPECT_FALSE(fs::exists(extracted));
    EXPECT_FALSE(fs::exists(dir / "scratch.tmp"));
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(fs::exists(dir / "game/game.dat"));
}

TEST(GameSettingsFile, BesideTheExecutableOrTheDefaults) {
    test::TTempDir dir;
    const TGameSettings none = ReadGameSettings(dir.Path());
    EXPECT_TRUE(none.DirectSound);
    EXPECT_EQ(none.DelayTime, 500);
    test::WriteFile(dir / "game.ini", "[Sound]\nDelayTime=50\n");
    EXPECT_EQ(ReadGameSettings(dir.Path()).DelayTime, 100);
}

}  // namespace
}  // namespace vesk
