// The real player, `veskplay --headless`, on built games: the status data
// written at close and read at the next start, the exit status of a game
// that cannot load, and the trace through the log library.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "archive/vrcollection.h"
#include "common/stream.h"
#include "tests/games/game_runner.h"

namespace vesk::test {

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The status test game built with its "savestatus" setting replaced.
std::string BuildStatusGame(const std::string& saveStatus) {
    const fs::path src = BuildGame("status") + "_src" + saveStatus;
    fs::remove_all(src);
    fs::copy(fs::path(VESK_SOURCE_DIR) / "tests/games/status", src);
    std::string project = Slurp(src / "vesk.vkp.txt");
    project.replace(project.find("savestatus: 1"), 13, "savestatus: " + saveStatus);
    std::ofstream(src / "vesk.vkp.txt") << project;
    const std::string out = src.string() + "_game";
    fs::remove_all(out);
    std::string log;
    EXPECT_EQ(RunTool("build " + src.string() + " -o " + out, &log), 0) << log;
    return out;
}

}  // namespace

TEST(PlayerRun, StatusVariablesSurviveToTheNextRunAndOthersDoNot) {
    const std::string game = BuildGame("status");
    const TGameRun first = PlayFolder(game);
    ASSERT_EQ(first.status, 0) << first.errors;
    EXPECT_EQ(first.vars.at("visits"), "1\t1");
    EXPECT_EQ(first.vars.at("closed"), "1\t10");  // the exit page ran at close
    EXPECT_EQ(first.vars.at("note"), "4\tr");
    EXPECT_EQ(first.vars.at("plain"), "1\t1");
    ASSERT_TRUE(fs::exists(game + "/save.dat"));

    // The status record: its head, then the status variables.
    TVrFileCollection save;
    save.OpenFile(game + "/save.dat");
    TMemoryStream record;
    save.ReadEntry("STATUSSAVEDATA", record);
    ASSERT_GE(record.Size(), 9);
    EXPECT_EQ(record.AsString().substr(0, 9), "Status103");

    // The second run starts from what the first one left at its close,
    // exit page included; a variable of the game scope starts afresh.
    const TGameRun second = PlayFolder(game);
    ASSERT_EQ(second.status, 0) << second.errors;
    EXPECT_EQ(second.vars.at("visits"), "1\t2");
    EXPECT_EQ(second.vars.at("closed"), "1\t20");
    EXPECT_EQ(second.vars.at("note"), "4\trr");
    EXPECT_EQ(second.vars.at("plain"), "1\t1");
}

TEST(PlayerRun, StatusIsNotWrittenWhenTheProjectSaysSo) {
    const std::string game = BuildStatusGame("0");
    ASSERT_EQ(PlayFolder(game).status, 0);
    EXPECT_FALSE(fs::exists(game + "/save.dat"));
    const TGameRun again = PlayFolder(game);
    EXPECT_EQ(again.vars.at("visits"), "1\t1");
}

TEST(PlayerRun, FramesLimitClosesAsTheWindowDoes) {
    // One frame ends the game inside its Wait loop; the exit page still runs.
    const std::string game = BuildGame("status");
    const TGameRun r = PlayFolder(game, 1);
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("n"), "1\t0");
    EXPECT_EQ(r.vars.at("closed"), "1\t10");
    EXPECT_EQ(PlayFolder(game, 1).vars.at("closed"), "1\t20");
}

TEST(PlayerRun, GamesThatCannotLoadEndWithTheirMessage) {
    struct Case {
        const char* what;
        const char* file;     // removed or emptied in the built game
        bool empty;
        const char* message;  // on standard error
    };
    const Case cases[] = {
        {"empty project file", "vesk.vkp", true, "プロジェクトがありません"},
        {"no start page", "start.vks", false, "スタートページがありません"},
    };
    for (const Case& c : cases) {
        const std::string game = BuildGame("status");
        if (c.empty) std::ofstream(game + "/" + c.file, std::ios::trunc);
        else fs::remove(game + "/" + c.file);
        const TGameRun r = PlayFolder(game);
        EXPECT_NE(r.status, 0) << c.what;
        EXPECT_NE(r.errors.find(c.message), std::string::npos) << c.what << ": " << r.errors;
        EXPECT_FALSE(fs::exists(game + "/vars.txt")) << c.what;
    }
}

TEST(PlayerRun, TraceLinesReachTheLogLibrary) {
    // A player with the log library beside it writes "dbglog.txt" there.
    const std::string game = BuildGame("status");
    const fs::path bin = game + "_player";
    fs::remove_all(bin);
    fs::create_directories(bin);
    for (const char* f : {"veskplay", "libvesk.so", "libvesklog.so"})
        fs::copy_file(fs::path(VESK_BINARY_DIR) / f, bin / f);
    const TGameRun r = PlayFolder(game, -1, 16, {}, (bin / "veskplay").string());
    ASSERT_EQ(r.status, 0) << r.errors;
    ASSERT_FALSE(r.trace.empty());
    EXPECT_EQ(r.trace.front(), "00000010 : start.vks(1)");
    // The log receives the same lines (as UTF-8).
    std::vector<std::string> logged;
    std::ifstream log(bin / "dbglog.txt");
    for (std::string l; std::getline(log, l);) logged.push_back(l);
    EXPECT_EQ(logged, r.trace);
}

}  // namespace vesk::test
