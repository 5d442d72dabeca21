#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "tests/games/game_runner.h"

namespace vesk::test {

namespace fs = std::filesystem;

static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The dump of every compiled page, built again, gives the same bytes.
TEST(ToolRoundTrip, DumpOfEveryPageBuildsTheSameBytes) {
    for (const char* game : {"flow", "events", "reset", "kinds", "status", "boxes", "wipe"}) {
        const fs::path built = BuildGame(game);
        const fs::path again = built.string() + "_src";
        fs::remove_all(again);
        fs::create_directories(again);
        std::string text;
        ASSERT_EQ(RunTool("dump " + (built / "vesk.vkp").string(), &text), 0) << text;
        std::ofstream(again / "vesk.vkp.txt") << text;
        for (const auto& e : fs::directory_iterator(built)) {
            if (e.path().extension() != ".vks") continue;
            ASSERT_EQ(RunTool("dump " + e.path().string(), &text), 0) << text;
            std::ofstream(again / (e.path().filename().string() + ".txt")) << text;
        }
        const fs::path rebuilt = built.string() + "_rebuilt";
        fs::remove_all(rebuilt);
        ASSERT_EQ(RunTool("build " + again.string() + " -o " + rebuilt.string(), &text), 0) << text;
        for (const auto& e : fs::directory_iterator(built)) {
            if (e.path().extension() != ".vks" && e.path().extension() != ".vkp") continue;
            EXPECT_EQ(Slurp(e.path()), Slurp(rebuilt / e.path().filename())) << game << ": " << e.path().filename();
        }
    }
}

// Targets in other pages are dumped by their labels when those pages lie
// beside the dumped one, by index otherwise.
TEST(ToolRoundTrip, TargetsInOtherPagesKeepTheirLabels) {
    const fs::path built = BuildGame("flow");
    std::string text;
    ASSERT_EQ(RunTool("dump " + (built / "start.vks").string(), &text), 0) << text;
    EXPECT_NE(text.find("Call sub.vks:double result: r1"), std::string::npos) << text;
    EXPECT_NE(text.find("Call sub.vks:early result: r3"), std::string::npos) << text;

    const fs::path alone = built.string() + "_alone";
    fs::remove_all(alone);
    fs::create_directories(alone);
    fs::copy_file(built / "start.vks", alone / "start.vks");
    ASSERT_EQ(RunTool("dump " + (alone / "start.vks").string(), &text), 0) << text;
    EXPECT_EQ(text.find("sub.vks:double"), std::string::npos) << text;
    EXPECT_NE(text.find("Call sub.vks#0 result: r1"), std::string::npos) << text;
}

// Expressions come back as their source whatever parentheses and signs the
// author wrote, not in the raw form, and build the same bytes again.
TEST(ToolRoundTrip, ExpressionsWithParenthesesAndSignsDumpAsSource) {
    const std::vector<std::string> lines = {
        "Calc y = \"x\" ++ (a + 1)",    // parentheses that precedence alone would not need
        "Calc t = (a == b) == c",
        "Calc r = 2 * -3",              // a sign inside an expression
        "Calc w = (a + b) * (c + d)",
        "Calc z = ((a + b) * c + d) * e",
        "Calc m = Max(a + b, (c - d) * 2)",
        "Calc u = a - (b - c) - d",
        "Calc v = -(a + b) * 2",
    };
    const fs::path src = fs::temp_directory_path() / ("vesk_expr_" + std::to_string(getpid()));
    fs::remove_all(src);
    fs::create_directories(src);
    std::ofstream(src / "vesk.vkp.txt") << "title: e\nstart: start.vks\n";
    {
        std::ofstream page(src / "start.vks.txt");
        for (const std::string& l : lines) page << l << "\n";
    }
    std::string text;
    ASSERT_EQ(RunTool("build " + src.string() + " -o " + (src / "out").string(), &text), 0) << text;
    ASSERT_EQ(RunTool("dump " + (src / "out" / "start.vks").string(), &text), 0) << text;
    for (const std::string& l : lines) EXPECT_NE(text.find(l + "\n"), std::string::npos) << l << "\n" << text;
    EXPECT_EQ(text.find("@ops"), std::string::npos) << text;
}

// Bad sources are refused with file:line: message.
TEST(ToolErrors, BadSourcesNameTheirLine) {
    struct Case {
        const char* page;
        const char* message;
    } cases[] = {
        {"Calc x = 1\nFrobnicate 3\n", "start.vks.txt:2: unknown command 'Frobnicate'"},
        {"Calc x = (1\n", "start.vks.txt:1: "},
        {"Else\n", "start.vks.txt:1: Else without If"},
        {"While TRUE\n  Calc x = 1\n", "start.vks.txt:1: While without WhileLoop"},
        {"Jump :nolabel\n", "start.vks.txt:1: no label 'nolabel'"},
        {"   Calc x = 1\n", "start.vks.txt:1: indentation must be a multiple of two spaces"},
        {"Wait time: 5 time: 6\n", "start.vks.txt:1: field 'time' given twice"},
        {"%format 105\nWait hold: TRUE\n", "start.vks.txt:2: field 'hold' needs page format 107"},
        {"VarNew x colour: 3\n", "start.vks.txt:1: unknown field 'colour'"},
    };
    const fs::path src = fs::temp_directory_path() / ("vesk_bad_" + std::to_string(getpid()));
    for (const Case& c : cases) {
        fs::remove_all(src);
        fs::create_directories(src);
        std::ofstream(src / "vesk.vkp.txt") << "title: t\nstart: start.vks\n";
        std::ofstream(src / "start.vks.txt") << c.page;
        std::string out;
        EXPECT_NE(RunTool("build " + src.string() + " -o " + (src / "out").string(), &out), 0) << c.page;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.page << " gave: " << out;
    }
    fs::remove_all(src);
}

}  // namespace vesk::test
