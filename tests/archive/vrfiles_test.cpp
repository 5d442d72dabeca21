#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "archive/tempfiles.h"
#include "archive/vrfiles.h"
#include "archive_fixture.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"

namespace vesk::test {
namespace {

Bytes ArchiveOf(const std::vector<std::pair<std::string, std::string>>& files) {
    TVrFileCollection a;
    for (const auto& [name, content] : files)
        a.AddMemoryEntry(name).Content->WriteBuffer(content.data(), static_cast<std::int64_t>(content.size()));
    TMemoryStream m;
    a.Write(m);
    return m.Bytes();
}

// A content folder with loose files, an archive, and a fake CD-ROM root.
class VrFiles : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "content/CG/Title.png", B("loose title"));
        WriteFileBytes(dir / "content/only-loose.txt", B("loose only"));
        WriteFileBytes(dir / "game.dat",
                       ArchiveOf({{"cg\\title.png", "archived title"}, {"bgm\\op.ogg", std::string(300, 'o')},
                                  {"script\\start.vks", "start page"}}));
        WriteFileBytes(dir / "second.dat", ArchiveOf({{"script\\start.vks", "second"}, {"only2.txt", "two"}}));
        WriteFileBytes(dir / "cdrom/disc.txt", B("on the disc"));
        WriteFileBytes(dir / "cdrom/script/start.vks", B("disc start"));
        files.SetTempFolder(dir / "tmp");
        std::filesystem::create_directories(dir / "tmp");
        const std::string root = dir / "cdrom/";
        files.SetCdromScanner([root] { return std::vector<std::string>{root}; });
        ASSERT_EQ(files.AddMemoryArchive(), 0);
        files.SetContentFolder(dir / "content");
        ASSERT_EQ(files.AddArchiveFile(dir / "game.dat"), 1);
        ASSERT_EQ(files.AddArchiveFile(dir / "second.dat"), 2);
    }

    std::string Read(const std::string& name) { return files.ReadString(name); }

    TempDir dir;
    TVrFileManager files;
};

TEST_F(VrFiles, ReadLooksInTheFolderThenTheArchivesThenTheDiscs) {
    EXPECT_EQ(Read("cg\\title.png"), "loose title");       // loose file overrides the archive
    EXPECT_EQ(Read("SCRIPT\\START.VKS"), "start page");    // first archive in registration order
    EXPECT_EQ(Read("only2.txt"), "two");
    EXPECT_EQ(Read("disc.txt"), "on the disc");
    EXPECT_EQ(Read("Only-Loose.TXT"), "loose only");
    EXPECT_TRUE(files.Exists("disc.txt"));
    EXPECT_TRUE(files.Exists("cg/TITLE.png"));
    EXPECT_FALSE(files.Exists("nowhere.txt"));
    try {
        Read("nowhere.txt");
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), "nowhere.txt" + Sj(":ファイルがありません"));
    }
}

TEST_F(VrFiles, NamesThatLeaveTheFolderAreNeverOpened) {
    WriteFileBytes(dir / "secret.txt", B("outside"));
    for (const char* name : {"..\\secret.txt", "../secret.txt", "cg\\..\\..\\secret.txt", "/etc/passwd",
                             "\\etc\\passwd", "C:secret.txt", "c:\\secret.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(files.Exists(name));
        EXPECT_THROW(Read(name), EVeskError);
        EXPECT_EQ(files.RealPath(name), name);
    }
}

TEST_F(VrFiles, ShiftJisNamesMapToUtf8AndTrailBackslashIsNoSeparator) {
    // "表" is 0x95 0x5C in Shift-JIS: its trail byte is a backslash.
    const std::string hyo = Sj("表");
    ASSERT_EQ(hyo, std::string("\x95\x5C"));
    WriteFileBytes(dir / ("content/" + std::string("表示") + "/Ａ.txt"), B("japanese"));
    EXPECT_EQ(Read(Sj("表示") + "\\" + Sj("Ａ") + ".TXT"), "japanese");
    EXPECT_EQ(platform::SplitName(Sj("表示\\表")), (std::vector<std::string>{Sj("表示"), Sj("表")}));
}

TEST_F(VrFiles, RegisteringAPathAgainInOtherLetterCaseIsRefused) {
    EXPECT_EQ(files.AddArchiveFile(dir / "GAME.DAT"), -1);
    EXPECT_EQ(files.ArchiveCount(), 3);
    files.RemoveArchive(2);
    EXPECT_EQ(files.ArchiveCount(), 2);
    EXPECT_EQ(files.AddArchiveFile(dir / "second.dat"), 2);
}

TEST_F(VrFiles, OpenRangeWindowsTheStoredBytes) {
    auto range = files.OpenRange("BGM\\op.ogg");
    EXPECT_EQ(range->Size(), 300);
    std::string buf(400, '\0');
    EXPECT_EQ(range->Read(buf.data(), 400), 300);
    EXPECT_EQ(buf.substr(0, 300), std::string(300, 'o'));
    // Seeks are clamped into the window and reported relative to it.
    EXPECT_EQ(range->Seek(-10, SeekOrigin::Begin), 0);
    EXPECT_EQ(range->Seek(10, SeekOrigin::End), 300);
    EXPECT_EQ(range->Seek(-5, SeekOrigin::End), 295);
    EXPECT_EQ(range->Read(buf.data(), 100), 5);
    EXPECT_EQ(range->Write("x", 1), 0);

    auto loose = files.OpenRange("cg\\title.png");
    EXPECT_EQ(loose->Size(), 11);  // the loose file, whole
    auto disc = files.OpenRange("disc.txt");
    EXPECT_EQ(disc->Size(), 11);
    EXPECT_THROW(files.OpenRange("nowhere.ogg"), EVeskError);
}

TEST_F(VrFiles, RangeStreamIsSafeAcrossThreads) {
    auto range = files.OpenRange("bgm\\op.ogg");
    std::vector<std::thread> threads;
    std::atomic<int> bad = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                char c = 0;
                range->Seek(i % 300, SeekOrigin::Begin);
                if (range->Read(&c, 1) > 1 || (c != 'o' && c != 0)) ++bad;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(bad, 0);
}

TEST(RangeStream, LengthZeroMeansToTheEnd) {
    auto src = std::make_unique<TMemoryStream>(B("0123456789"));
    TRangeStream r(std::move(src), 4, 0);
    EXPECT_EQ(r.Size(), 6);
    std::string s(6, '\0');
    r.ReadBuffer(s.data(), 6);
    EXPECT_EQ(s, "456789");
    TRangeStream clipped(std::make_unique<TMemoryStream>(B("0123456789")), 8, 100);
    EXPECT_EQ(clipped.Size(), 2);
}

TEST_F(VrFiles, RealPathExtractsOnceAndReusesTheFile) {
    EXPECT_EQ(files.RealPath("cg\\title.png"), dir / "content/CG/Title.png");
    const std::string a = files.RealPath("bgm\\op.ogg");
    EXPECT_EQ(a, dir / "tmp/~vk00000000.ogg");
    EXPECT_EQ(ReadFileBytes(a), B(std::string(300, 'o')));
    std::filesystem::remove(a);  // a second request must not extract again
    EXPECT_EQ(files.RealPath("BGM\\OP.OGG"), a);
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_EQ(files.ExtractionFiles()[0].UseCount, 2);
    const std::string b = files.RealPath("script\\start.vks");
    EXPECT_EQ(b, dir / "tmp/~vk00000001.vks");
    EXPECT_EQ(files.RealPath("disc.txt"), dir / "cdrom/disc.txt");
    EXPECT_EQ(files.RealPath("nowhere.txt"), "nowhere.txt");
}

TEST_F(VrFiles, ExtractionIdsSkipFilesOfAnotherPlayer) {
    WriteFileBytes(dir / "tmp/~vk00000000.ogg", B("someone else's"));
    EXPECT_EQ(files.RealPath("bgm\\op.ogg"), dir / "tmp/~vk00000001.ogg");
    EXPECT_EQ(ReadFileBytes(dir / "tmp/~vk00000000.ogg"), B("someone else's"));
}

TEST_F(VrFiles, ExtractionFilesGoWithTheManager) {
    std::string path;
    {
        TVrFileManager own;
        own.SetTempFolder(dir / "tmp");
        own.AddArchiveFile(dir / "game.dat");
        path = own.RealPath("bgm\\op.ogg");
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(VrFiles, ExtractionFileThatCannotBeCreatedSaysSo) {
    files.SetTempFolder(dir / "no/such/folder");
    try {
        files.RealPath("bgm\\op.ogg");
        FAIL();
    } catch (const EVeskError& e) {
        EXPECT_EQ(std::string(e.what()), Sj("作業用ファイルが作れません"));
    }
    EXPECT_EQ(files.ExtractionFiles().Count(), 0);
}

TEST_F(VrFiles, MemAndSaveNamesLiveInArchiveZero) {
    files.CreateMemFile("mem:shot.fnk").WriteBuffer("abc", 3);
    files.CreateMemFile("save:note.txt").WriteBuffer("1", 1);
    files.CreateMemFile("MEM:shot.fnk").WriteBuffer("new", 3);  // replaces, whatever the case
    EXPECT_EQ(Read("mem:SHOT.fnk"), "new");
    EXPECT_EQ(files.Archive(0).EntryCount(), 2);
    EXPECT_TRUE(TVrFileManager::IsMemName("Save:x"));
    EXPECT_TRUE(TVrFileManager::IsSaveName("SAVE:x"));
    EXPECT_FALSE(TVrFileManager::IsMemName("memo.txt"));
    // In-memory content still gives a range and a real path.
    auto range = files.OpenRange("mem:shot.fnk");
    EXPECT_EQ(range->Size(), 3);
    EXPECT_EQ(ReadFileBytes(files.RealPath("save:note.txt")), B("1"));
    EXPECT_TRUE(files.DeleteMemFile("mem:shot.fnk"));
    EXPECT_FALSE(files.Exists("mem:shot.fnk"));
}

TEST_F(VrFiles, ListFolderCoversArchivesFolderAndDiscs) {
    WriteFileBytes(dir / "content/script/extra.vks", B("x"));
    std::vector<std::string> list;
    files.ListFolder("Script", list);
    EXPECT_EQ(list, (std::vector<std::string>{"script\\start.vks", "Script\\extra.vks"}));
}

TEST(FolderDiskList, DiskOfWalksOutToTheEnclosingFolder) {
    TFolderDiskList l;
    l.Add("MOVIE", 2);
    l.Add("voice\\ch1\\", 3);
    EXPECT_EQ(l.DiskOf("movie\\op\\a.mpg"), 2);
    EXPECT_EQ(l.DiskOf("bgm\\a.ogg"), 0);
    EXPECT_EQ(l.DiskOf("Voice\\CH1\\x.ogg"), 3);
    EXPECT_EQ(l.DiskOf("voice\\x.ogg"), 0);
    EXPECT_EQ(l.DiskOf("movie"), 2);
    EXPECT_EQ(l.DiskOf(""), 0);

    TMemoryStream m;
    l.SaveToStream(m);
    // count, then "MOVIE" as length and bytes, then the disk number.
    EXPECT_EQ(Bytes(m.Bytes().begin(), m.Bytes().begin() + 17),
              (Bytes{2, 0, 0, 0, 5, 0, 0, 0, 'M', 'O', 'V', 'I', 'E', 2, 0, 0, 0}));
    m.SetPosition(0);
    TFolderDiskList back;
    back.LoadFromStream(m);
    EXPECT_EQ(back.DiskOf("voice\\ch1\\a"), 3);
    TMemoryStream lying(Bytes{0xFF, 0xFF, 0xFF, 0x0F, 1, 0, 0, 0});
    EXPECT_THROW(back.LoadFromStream(lying), EStreamError);
}

TEST(TempFiles, DeletedWhenAskedAndListEmptied) {
    TempDir dir;
    WriteFileBytes(dir / "t1", B("x"));
    AddTempFile(dir / "t1");
    AddTempFile(dir / "never-existed");
    DeleteTempFiles();
    EXPECT_FALSE(std::filesystem::exists(dir / "t1"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST(TempFiles, DeleteAtExitListGoesOnlyWhenAsked) {
    TempDir dir;
    WriteFileBytes(dir / "save-tmp1", B("x"));
    WriteFileBytes(dir / "save-tmp2", B("y"));
    AddDeleteAtExit(dir / "save-tmp1");
    AddDeleteAtExit(dir / "save-tmp2");
    AddDeleteAtExit(dir / "save-tmp1");  // listed once
    AddDeleteAtExit(dir / "never-existed");
    EXPECT_EQ(DeleteAtExitList().size(), 3u);
    // The per-frame deletion leaves them alone: scripts use them until exit.
    DeleteTempFiles();
    EXPECT_TRUE(std::filesystem::exists(dir / "save-tmp1"));
    EXPECT_TRUE(DeleteAtExitFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "save-tmp1"));
    EXPECT_FALSE(std::filesystem::exists(dir / "save-tmp2"));
    EXPECT_TRUE(DeleteAtExitList().empty());
}

}  // namespace
}  // namespace vesk::test
