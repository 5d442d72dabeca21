#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int code = -1;
    std::string out;
};

// Runs the built tool with a shell command line, capturing standard output
// and standard error together.
ToolRun Vesk(const std::string& args) {
    const std::string cmd = std::string(VESK_BINARY_DIR) + "/vesk " + args + " 2>&1";
    ToolRun r;
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& p, const std::string& s) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << s;
}

class ArchiveVerbs : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "vesk-tool-XXXXXX").string();
        dir = mkdtemp(tmpl.data());
        Put(dir / "src/Script/Start.vks", "start page");
        Put(dir / "src/bgm/op.ogg", std::string(2000, 'o'));
        Put(dir / "src/表示.txt", "japanese name");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const std::string& rel) const { return "'" + (dir / rel).string() + "'"; }
    fs::path dir;
};

TEST_F(ArchiveVerbs, PackListCatUnpack) {
    ToolRun pack = Vesk("pack " + P("src") + " -o " + P("game.dat"));
    ASSERT_EQ(pack.code, 0) << pack.out;
    EXPECT_EQ(Slurp(dir / "game.dat").substr(0, 4), std::string("vf\x66\0", 4));

    ToolRun list = Vesk("list " + P("game.dat"));
    ASSERT_EQ(list.code, 0) << list.out;
    EXPECT_NE(list.out.find("3 entries"), std::string::npos);
    EXPECT_NE(list.out.find("stored"), std::string::npos);
    EXPECT_NE(list.out.find("Script\\Start.vks"), std::string::npos);
    EXPECT_NE(list.out.find("表示.txt"), std::string::npos);

    ToolRun cat = Vesk("cat 'SCRIPT\\start.VKS' " + P("game.dat"));
    EXPECT_EQ(cat.code, 0);
    EXPECT_EQ(cat.out, "start page");
    Put(dir / "content/script/start.vks", "loose page");
    EXPECT_EQ(Vesk("cat 'script\\start.vks' " + P("game.dat") + " --content " + P("content")).out, "loose page");
    ToolRun missing = Vesk("cat nothing.txt " + P("game.dat"));
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.out.find("nothing.txt:ファイルがありません"), std::string::npos);

    ToolRun unpack = Vesk("unpack " + P("game.dat") + " -o " + P("out"));
    ASSERT_EQ(unpack.code, 0) << unpack.out;
    EXPECT_EQ(Slurp(dir / "out/Script/Start.vks"), "start page");
    EXPECT_EQ(Slurp(dir / "out/bgm/op.ogg"), std::string(2000, 'o'));
    EXPECT_EQ(Slurp(dir / "out/表示.txt"), "japanese name");
}

TEST_F(ArchiveVerbs, UnpackNeverWritesOutsideItsFolder) {
    // An archive with hostile names, written by hand in format 99 (plain
    // names and offsets, every entry one zlib stream).
    const std::string z = std::string("\x78\x01\x4b\x04\x00\x00\x62\x00\x62", 9);  // zlib of "a"
    const std::vector<std::string> names = {"..\\evil.txt", "/tmp/evil.txt", "ok.txt"};
    std::string a = "vf";
    auto i32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) a.push_back(static_cast<char>(v >> (8 * i)));
    };
    i32(99);
    i32(static_cast<std::uint32_t>(names.size()));
    for (const std::string& n : names) {
        i32(static_cast<std::uint32_t>(n.size()));
        a += n;
    }
    const std::uint32_t data = static_cast<std::uint32_t>(a.size() + 4 * (names.size() + 1));
    for (std::size_t i = 0; i <= names.size(); ++i) i32(data + static_cast<std::uint32_t>(i * z.size()));
    for (std::size_t i = 0; i < names.size(); ++i) a += z;
    Put(dir / "evil.dat", a);

    ToolRun unpack = Vesk("unpack " + P("evil.dat") + " -o " + P("out/inner"));
    EXPECT_EQ(unpack.code, 1);
    EXPECT_NE(unpack.out.find("refused"), std::string::npos);
    EXPECT_EQ(Slurp(dir / "out/inner/ok.txt"), "a");
    EXPECT_FALSE(fs::exists(dir / "out/evil.txt"));
    EXPECT_FALSE(fs::exists(dir / "out/inner/tmp"));
}

TEST_F(ArchiveVerbs, ExeAppendsTheArchiveAndKeepsTheExecutableBit) {
    ASSERT_EQ(Vesk("pack " + P("src") + " -o " + P("game.dat")).code, 0);
    Put(dir / "player", std::string("\x7f" "ELF fake player", 16));
    fs::permissions(dir / "player", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ToolRun exe = Vesk("exe " + P("player") + " " + P("game.dat") + " -o " + P("game"));
    ASSERT_EQ(exe.code, 0) << exe.out;
    const std::string game = Slurp(dir / "game");
    const std::string archive = Slurp(dir / "game.dat");
    ASSERT_EQ(game.size(), 16 + archive.size() + 6);
    EXPECT_EQ(game.substr(16, archive.size()), archive);
    EXPECT_EQ(game.substr(game.size() - 6), std::string("\x10\0\0\0vk", 6));  // base 16, then "vk"
    EXPECT_TRUE((fs::status(dir / "game").permissions() & fs::perms::owner_exec) != fs::perms::none);

    EXPECT_EQ(Vesk("cat 'bgm\\op.ogg' " + P("game")).out, std::string(2000, 'o'));
    // Building again from a built game takes only its player part.
    ASSERT_EQ(Vesk("exe " + P("game") + " " + P("game.dat") + " -o " + P("game2")).code, 0);
    EXPECT_EQ(Slurp(dir / "game2"), game);
}

TEST_F(ArchiveVerbs, BadArgumentsAreClearErrors) {
    struct Case {
        std::string args;
        const char* says;
    };
    Put(dir / "junk.dat", "vf\x66\0\0\0\xff\xff\xff\x7f");
    const std::vector<Case> cases = {
        {"pack", "give one FOLDER"},
        {"pack " + P("src"), "-o FILE"},
        {"pack " + P("nope") + " -o " + P("x.dat"), "no such folder"},
        {"pack " + P("src") + " -o", "needs a value"},
        {"pack " + P("src") + " --bogus 1", "unknown option"},
        {"list " + P("nope.dat"), "no such file"},
        {"list " + P("junk.dat"), "アーカイブが壊れています"},
        {"unpack " + P("junk.dat"), "-o DIR"},
        {"exe " + P("junk.dat"), "PLAYER and ARCHIVE"},
        {"exe " + P("src/bgm/op.ogg") + " " + P("src/bgm/op.ogg") + " -o " + P("g"), "壊れています"},
        {"cat", "give a NAME"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const ToolRun r = Vesk(c.args);
        EXPECT_EQ(r.code, 1);
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    }
    for (const char* verb : {"pack", "list", "unpack", "cat", "exe"}) {
        const ToolRun r = Vesk(std::string(verb) + " --help");
        EXPECT_EQ(r.code, 0);
        EXPECT_NE(r.out.find(std::string("usage: vesk ") + verb), std::string::npos);
    }
}

}  // namespace
