// The built player started as a user starts it: the single-instance guard,
// the settings mode, the binding of its libraries beside it, "game.ini",
// the appended archive and the files it removes.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/process_support.h"
#include "tests/app/test_support.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

const std::string kBuild = VESK_BINARY_DIR;
const std::string kPlayer = kBuild + "/veskplay";
const std::string kDemoGame = kBuild + "/demo/game";

// Each test gets a runtime folder of its own, so its locks meet only the
// players it starts itself.
class StartupProcess : public ::testing::Test {
protected:
    std::vector<std::string> Env() const {
        return {"XDG_RUNTIME_DIR=" + runtime_.Path(), "DISPLAY=", "WAYLAND_DISPLAY="};
    }
    test::TChild Start(const std::string& program, const std::vector<std::string>& args) {
        return test::TChild(program, args, Env());
    }
    // A copy of the player in a folder of its own, with its libraries.
    std::string Install(const test::TTempDir& dir, bool withPlugin = true, bool withLog = false) {
        fs::copy_file(kPlayer, dir / "veskplay");
        if (withPlugin) fs::copy_file(kBuild + "/libvesk.so", dir / "libvesk.so");
        if (withLog) fs::copy_file(kBuild + "/libvesklog.so", dir / "libvesklog.so");
        return dir / "veskplay";
    }
    test::TTempDir runtime_;
};

const char* const kReinstall = "インストールし直してください";

TEST_F(StartupProcess, SecondPlayerOnTheSameFolderEndsSilently) {
    test::TTempDir x, y;
    // The first player waits in its message box (the folder holds no data),
    // holding the folder's lock meanwhile.
    test::TChild first = Start(kPlayer, {"--headless", "--answer", "ask", x.Path()});
    ASSERT_TRUE(first.WaitForError("answer (")) << first.err;
    EXPECT_NE(first.err.find(kReinstall), std::string::npos);

    for (const std::string& same : {x.Path(), x.Path() + "/", x.Path() + "/./"}) {
        test::TChild second = Start(kPlayer, {"--headless", same});
        EXPECT_EQ(second.Wait(), 0) << same;
        EXPECT_EQ(second.out, "") << same;
        EXPECT_EQ(second.err, "") << same;
    }
    // Another folder runs beside it: it reaches its own data check.
    test::TChild other = Start(kPlayer, {"--headless", y.Path()});
    EXPECT_EQ(other.Wait(), 1);
    EXPECT_NE(other.err.find(kReinstall), std::string::npos) << other.err;

    first.Write("ok\n");
    EXPECT_EQ(first.Wait(), 1);
    // The lock goes with the first player: the folder can be played again.
    test::TChild again = Start(kPlayer, {"--headless", x.Path()});
    EXPECT_EQ(again.Wait(), 1);
    EXPECT_NE(again.err.find(kReinstall), std::string::npos);
}

TEST_F(StartupProcess, TwoPlayersOnDifferentFoldersBothRun) {
    test::TTempDir x, y;
    test::TChild a = Start(kPlayer, {"--headless", "--answer", "ask", x.Path()});
    test::TChild b = Start(kPlayer, {"--headless", "--answer", "ask", y.Path()});
    ASSERT_TRUE(a.WaitForError("answer ("));
    ASSERT_TRUE(b.WaitForError("answer ("));
    a.Write("ok\n");
    b.Write("ok\n");
    EXPECT_EQ(a.Wait(), 1);
    EXPECT_EQ(b.Wait(), 1);
}

TEST_F(StartupProcess, ConfigInAnyLetterCaseNeverStartsThePlayer) {
    for (const char* config : {"/config", "/CONFIG", "/Config"}) {
        test::TChild p = Start(kPlayer, {"--headless", config, kDemoGame});
        EXPECT_EQ(p.Wait(), 0) << config;
        EXPECT_EQ(p.out, "") << config;  // no data located, nothing started
        EXPECT_NE(p.err.find("settings dialog"), std::string::npos) << p.err;
        EXPECT_EQ(p.err.find("message box"), std::string::npos) << p.err;
    }
}

TEST_F(StartupProcess, DemoGameStartsFromItsFolder) {
    test::TChild p = Start(kPlayer, {"--headless", "--frames", "2", kDemoGame});
    EXPECT_EQ(p.Wait(), 0) << p.err;
    EXPECT_NE(p.out.find("data located: install set \"vesk demo\", installed"), std::string::npos)
        << p.out;
    EXPECT_EQ(p.err, "");
}

TEST_F(StartupProcess, GameWithAppendedArchiveReadsGameIniAndRemovesTheOldLog) {
    test::TTempDir dir;
    Install(dir, true, true);
    // The player itself with the demo archive appended: no argument needed.
    // The demo waits for its player, so the runs end after a few frames.
    test::TChild exe = Start(kBuild + "/vesk", {"exe", kPlayer, kDemoGame + "/game.dat", "-o",
                                                dir / "game"});
    ASSERT_EQ(exe.Wait(), 0) << exe.err;
    test::WriteFile(dir / "game.ini", "[Sound]\nDirectSound=0\nDelayTime=1234\n[Video]\nUseWMP=1\n");
    test::WriteFile(dir / "veskplay.log", "left behind");

    test::TChild p = Start(dir / "game", {"--headless", "--frames", "30"});
    EXPECT_EQ(p.Wait(), 0) << p.err;
    EXPECT_NE(p.out.find("install set \"vesk demo\""), std::string::npos) << p.out;
    // Archive 0 in memory and the executable's own archive.
    EXPECT_NE(p.out.find("2 archive(s), content folder " + dir.Path() + "/"), std::string::npos)
        << p.out;
    EXPECT_NE(p.out.find("DirectSound 0, DelayTime 500, UseWMP 1"), std::string::npos) << p.out;
    EXPECT_FALSE(fs::exists(dir / "veskplay.log"));
    // The log library beside the player starts its log there.
    EXPECT_TRUE(fs::exists(dir / "dbglog.txt"));

    test::WriteFile(dir / "game.ini", "[Sound]\nDelayTime=250\n");
    test::TChild q = Start(dir / "game", {"--headless", "--frames", "30"});
    EXPECT_EQ(q.Wait(), 0);
    EXPECT_NE(q.out.find("DirectSound 1, DelayTime 200, UseWMP 0"), std::string::npos) << q.out;
}

TEST_F(StartupProcess, PlayerWithoutArgumentsOrArchiveFailsTheDataCheck) {
    test::TTempDir dir;
    const std::string player = Install(dir);
    test::TChild p = Start(player, {"--headless"});
    EXPECT_EQ(p.Wait(), 1);
    EXPECT_NE(p.err.find("message box \"情報\" (information, OK):\n  インストールし直してください"),
              std::string::npos)
        << p.err;
    EXPECT_EQ(p.out, "");
}

TEST_F(StartupProcess, MissingOrWrongMediaLibraryEndsWithItsWarning) {
    test::TTempDir missing, wrong;
    test::TChild p = Start(Install(missing, false), {"--headless", kDemoGame});
    EXPECT_EQ(p.Wait(), 1);
    EXPECT_NE(p.err.find("message box \"Error\" (warning, OK):\n  vesk.dll\n  ファイルがありません"),
              std::string::npos)
        << p.err;
    EXPECT_EQ(p.out, "");  // nothing else happened

    const std::string player = Install(wrong, false);
    fs::copy_file(kBuild + "/tests/app/wrong-version/libvesk.so", wrong / "libvesk.so");
    test::TChild q = Start(player, {"--headless", kDemoGame});
    EXPECT_EQ(q.Wait(), 1);
    EXPECT_NE(q.err.find("vesk.dllのバージョンがあいません"), std::string::npos) << q.err;
}

TEST_F(StartupProcess, WrongCommandLineShowsTheUsage) {
    test::TChild p = Start(kPlayer, {"--frames", "many"});
    EXPECT_EQ(p.Wait(), 2);
    EXPECT_NE(p.err.find("usage: veskplay"), std::string::npos);
    test::TChild h = Start(kPlayer, {"--help"});
    EXPECT_EQ(h.Wait(), 0);
    EXPECT_NE(h.out.find("--screenshot"), std::string::npos);
}

}  // namespace
}  // namespace vesk
