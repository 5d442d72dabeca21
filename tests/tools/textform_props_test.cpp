#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/tools/tool_run.h"

namespace {

namespace fs = std::filesystem;
using vesk::tool::test::Slurp;
using vesk::tool::test::Vesk;

class TextFormProps : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vesk-props-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "src");
        std::ofstream(dir / "src/vesk.vkp.txt") << "title: t\nstart: start.vks\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    void Page(const std::string& text) { std::ofstream(dir / "src/start.vks.txt") << text; }
    fs::path dir;
};

// Property sets are written by property name; the dump names them again,
// an empty value stays a present, empty list, and the dump builds the same
// bytes.
TEST_F(TextFormProps, PropertySetsRoundTripByName) {
    Page("BoxNew name: \"box\" left: 10 top: 20 width: 100 height: 50 color: 16711680\n"
         "ImgNew name: \"img\" alpha: parent: \"box\" delay: 100\n"
         "TileNew scrollx: 3\n"
         "SaveCabinet name: \"cab\" invert: TRUE names: \"a\", \"b\"\n"
         "LoadCabinet name: \"cab\" names: \"a\"\n");
    std::string out;
    ASSERT_EQ(Vesk("build " + (dir / "src").string() + " -o " + (dir / "out").string(), out), 0) << out;
    ASSERT_EQ(Vesk("dump " + (dir / "out/start.vks").string(), out), 0) << out;
    for (const char* line : {"BoxNew/line=1 name: \"box\" left: 10 top: 20 width: 100 height: 50 color: 16711680",
                             "ImgNew/line=2 name: \"img\" parent: \"box\" delay: 100", "TileNew/line=3 scrollx: 3",
                             "SaveCabinet/line=4 name: \"cab\" invert: TRUE names: \"a\", \"b\"",
                             "LoadCabinet/line=5 name: \"cab\" names: \"a\"",
                             // the empty alpha stays in the kind's mask
                             "%mask ImgNew name parent alpha delay"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;

    fs::create_directories(dir / "again");
    std::ofstream(dir / "again/vesk.vkp.txt") << "title: t\nstart: start.vks\n";
    std::ofstream(dir / "again/start.vks.txt") << out;
    ASSERT_EQ(Vesk("build " + (dir / "again").string() + " -o " + (dir / "out2").string(), out), 0) << out;
    EXPECT_EQ(Slurp(dir / "out/start.vks"), Slurp(dir / "out2/start.vks"));
}

// Flip kinds are written by number or by their catalogue names in any
// case; the dump names every constant kind and leaves other values as
// they are, and building the dump gives the same bytes.
TEST_F(TextFormProps, FlipKindsRoundTripByName) {
    Page("Flip kind: WP_MASKFADE time: 800 select: 1 names: \"msg\" mask: \"m.png\" clear: 1\n"
         "Flip kind: wp_blindh time: 500 transition: 1 param1: 16 param2: 4\n"
         "Flip kind: 38 time: 1\n"
         "Flip kind: 0\n"
         "Flip kind: 39\n"
         "Flip kind: k + 1\n");
    std::string out;
    ASSERT_EQ(Vesk("build " + (dir / "src").string() + " -o " + (dir / "out").string(), out), 0) << out;
    ASSERT_EQ(Vesk("dump " + (dir / "out/start.vks").string(), out), 0) << out;
    for (const char* line :
         {"Flip kind: WP_MASKFADE time: 800 select: 1 names: \"msg\" clear: 1 mask: \"m.png\"",
          "Flip kind: WP_BLINDH time: 500 transition: 1 param1: 16 param2: 4",
          "Flip kind: WP_BLOCKRANDOM time: 1", "Flip kind: WP_NONE", "Flip kind: 39",
          "Flip kind: k + 1"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;

    fs::create_directories(dir / "again");
    std::ofstream(dir / "again/vesk.vkp.txt") << "title: t\nstart: start.vks\n";
    std::ofstream(dir / "again/start.vks.txt") << out;
    ASSERT_EQ(Vesk("build " + (dir / "again").string() + " -o " + (dir / "out2").string(), out), 0) << out;
    EXPECT_EQ(Slurp(dir / "out/start.vks"), Slurp(dir / "out2/start.vks"));
}

TEST_F(TextFormProps, UnknownPropertyNamesAreErrorsAtTheirLine) {
    Page("Calc x = 1\nBoxNew name: \"box\" colour: 5\n");
    std::string out;
    EXPECT_NE(Vesk("build " + (dir / "src").string() + " -o " + (dir / "out").string(), out), 0);
    EXPECT_NE(out.find("start.vks.txt:2:"), std::string::npos) << out;
    EXPECT_NE(out.find("colour"), std::string::npos) << out;
}

}  // namespace
