#include <gtest/gtest.h>

#include <deque>

#include "archive/installset.h"
#include "archive/vrfiles.h"
#include "archive_fixture.h"
#include "common/cp932.h"
#include "platform/msgbox.h"

namespace vesk::test {
namespace {

using platform::MsgButtons;
using platform::MsgResult;

Bytes InstallSet(const std::string& setName, int disk, std::uint8_t installed) {
    TVeskInstallSet s;
    s.SetName = setName;
    s.DiskIndex = disk;
    s.Installed = installed;
    TMemoryStream m;
    s.SaveToStream(m);
    return m.Bytes();
}

Bytes GameDat(const std::string& marker) {
    TVrFileCollection a;
    a.AddMemoryEntry("marker.txt").Content->WriteBuffer(marker.data(), static_cast<std::int64_t>(marker.size()));
    TMemoryStream m;
    a.Write(m);
    return m.Bytes();
}

// Message boxes answered from a script, each recorded as "caption|text".
class ScriptedBoxes {
public:
    explicit ScriptedBoxes(std::deque<MsgResult> answers, bool interactive = true) : answers_(std::move(answers)) {
        old_ = platform::SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, MsgButtons, platform::MsgIcon) {
                shown.push_back(caption + "|" + text);
                if (answers_.empty()) return MsgResult::Cancel;
                const MsgResult r = answers_.front();
                answers_.pop_front();
                if (onAnswer) onAnswer(shown.size());
                return r;
            },
            interactive);
    }
    ~ScriptedBoxes() { platform::SetMessageBoxHandler(old_); }
    std::vector<std::string> shown;
    std::function<void(std::size_t)> onAnswer;

private:
    std::deque<MsgResult> answers_;
    platform::MessageBoxHandler old_;
};

class Locate : public ::testing::Test {
protected:
    void SetUp() override {
        files.SetTempFolder(dir.Path());
        files.AddMemoryArchive();
        prompt.Title = "My Game";
        prompt.InsertDisk = Sj("ディスク%dを入れてから[OK]をクリックしてください");
        prompt.Quit = Sj("終了します");
        prompt.OnQuit = [this] { ++quits; };
        files.SetCdromScanner([this] { return roots; });
    }
    void Disc(const std::string& name, const std::string& setName, int disk) {
        WriteFileBytes(dir / (name + "/install.dat"), InstallSet(setName, disk, 0));
        WriteFileBytes(dir / (name + "/game.dat"), GameDat(name));
    }

    TempDir dir;
    TVrFileManager files;
    TVrDiscPrompt prompt;
    std::vector<std::string> roots;
    int quits = 0;
};

TEST_F(Locate, InstalledGameNeedsNoDisc) {
    WriteFileBytes(dir / "exe/install.dat", InstallSet("My Game", 0, 1));
    WriteFileBytes(dir / "exe/game.dat", GameDat("hard disk"));
    ScriptedBoxes boxes({});
    EXPECT_TRUE(files.LocateData(dir / "exe", prompt));
    EXPECT_EQ(files.ContentFolder(), dir / "exe/");
    EXPECT_EQ(files.ReadString("marker.txt"), "hard disk");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Locate, MissingInstallSetAsksToReinstall) {
    ScriptedBoxes boxes({MsgResult::Ok});
    EXPECT_FALSE(files.LocateData(dir / "exe", prompt));
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{Sj("情報") + "|" + Sj("インストールし直してください")}));
}

TEST_F(Locate, DiscSearchFindsTheDiscOfTheSameSet) {
    WriteFileBytes(dir / "exe/install.dat", InstallSet("My Game", 0, 0));
    Disc("other", "Other Game", 0);
    Disc("mine", "My Game", 0);
    roots = {dir / "other/", dir / "mine/"};
    ScriptedBoxes boxes({});
    EXPECT_TRUE(files.LocateData(dir / "exe", prompt));
    EXPECT_EQ(files.ReadString("marker.txt"), "mine");
}

TEST_F(Locate, DiscPromptRepeatsUntilTheDiscIsThereOrTheUserQuits) {
    WriteFileBytes(dir / "exe/install.dat", InstallSet("My Game", 0, 0));
    Disc("mine", "My Game", 0);
    // OK without a disc asks again; Cancel, then Cancel on the quit question
    // searches again, and this time the disc has been inserted.
    ScriptedBoxes boxes({MsgResult::Ok, MsgResult::Cancel, MsgResult::Cancel});
    boxes.onAnswer = [&](std::size_t n) {
        if (n == 3) roots = {dir / "mine/"};
    };
    EXPECT_TRUE(files.LocateData(dir / "exe", prompt));
    const std::string insert = Sj("情報") + "|" + Sj("ディスクを入れてください");
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{insert, insert, "My Game|" + Sj("終了します")}));

    TVrFileManager again;
    again.SetCdromScanner([] { return std::vector<std::string>{}; });
    ScriptedBoxes quit({MsgResult::Cancel, MsgResult::Ok});
    EXPECT_FALSE(again.LocateData(dir / "exe", prompt));
    EXPECT_EQ(quit.shown.size(), 2u);
}

TEST_F(Locate, NobodyToInsertADiscEndsTheSearch) {
    WriteFileBytes(dir / "exe/install.dat", InstallSet("My Game", 0, 0));
    ScriptedBoxes boxes({MsgResult::Ok, MsgResult::Ok, MsgResult::Ok}, false);
    EXPECT_FALSE(files.LocateData(dir / "exe", prompt));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(Locate, RequestDiskSwapsTheDiscArchive) {
    Disc("disc1", "My Game", 0);
    Disc("disc2", "My Game", 1);
    roots = {dir / "disc1/"};
    files.AddArchiveFile(dir / "disc1/game.dat");
    ASSERT_EQ(files.ReadString("marker.txt"), "disc1");
    ScriptedBoxes boxes({MsgResult::Ok, MsgResult::Ok});
    boxes.onAnswer = [&](std::size_t n) {
        roots = {n == 1 ? dir / "disc1/" : dir / "disc2/"};
    };
    EXPECT_TRUE(files.RequestDisk(2, prompt));
    EXPECT_EQ(files.ArchiveCount(), 2);  // disc 1's archive was removed
    EXPECT_EQ(files.ReadString("marker.txt"), "disc2");
    EXPECT_EQ(boxes.shown[0], "My Game|" + Sj("ディスク2を入れてから[OK]をクリックしてください"));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(quits, 0);
}

TEST_F(Locate, RequestDiskQuitAsksTheQuitHook) {
    ScriptedBoxes boxes({MsgResult::Cancel, MsgResult::Cancel, MsgResult::Cancel, MsgResult::Ok});
    EXPECT_FALSE(files.RequestDisk(3, prompt));
    EXPECT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[1], "My Game|" + Sj("終了します"));
    EXPECT_EQ(quits, 1);
}

TEST_F(Locate, RequestDiskTextIsNoFormatString) {
    prompt.InsertDisk = "%s%n disc %d";
    ScriptedBoxes boxes({MsgResult::Cancel, MsgResult::Ok});
    EXPECT_FALSE(files.RequestDisk(4, prompt));
    EXPECT_EQ(boxes.shown[0], "My Game|%s%n disc 4");
}

}  // namespace
}  // namespace vesk::test
