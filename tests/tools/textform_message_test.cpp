#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/cp932.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "script/com_message.h"
#include "script/page.h"
#include "tests/tools/tool_run.h"
#include "text/qsword.h"
#include "values/param_collection.h"

namespace vesk::tool::test {
namespace {

namespace fs = std::filesystem;

class TextFormMessage : public ::testing::Test {
protected:
    // Compiled operations evaluate over a variable table.
    TextFormMessage() { TParamCollection::SetGlobal(&vars); }
    ~TextFormMessage() override { TParamCollection::SetGlobal(nullptr); }
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vesk-message-" + std::to_string(getpid()));
        fs::remove_all(dir);
        Project("src");
    }
    void TearDown() override { fs::remove_all(dir); }
    void Project(const std::string& folder) {
        fs::create_directories(dir / folder);
        std::ofstream(dir / folder / "vesk.vkp.txt") << "title: t\nstart: start.vks\n";
    }
    int Build(const std::string& folder, const std::string& page, std::string& out) {
        std::ofstream(dir / folder / "start.vks.txt") << page;
        return Vesk("build " + (dir / folder).string() + " -o " + (dir / (folder + "_out")).string(), out);
    }
    // The compiled page's command at index, of class T.
    template <class T>
    const T& Command(TPage& page, int index) {
        const T* c = dynamic_cast<const T*>(&page.Command(index));
        EXPECT_NE(c, nullptr) << index;
        return *c;
    }
    TParamCollection vars;
    fs::path dir;
};

std::size_t GlyphCount(const std::string& stored) {
    TQsWord engine;
    TConstMemoryStream s(stored.data(), static_cast<std::int64_t>(stored.size()));
    engine.AppendFromStream(s);
    return static_cast<std::size_t>(engine.Count());
}

// The message commands' fields compile into the page; a message written as
// markup is stored as the engine's glyph list and dumped back as the same
// markup, while a list markup cannot write keeps its stored bytes.
TEST_F(TextFormMessage, MessageCommandsCompileAndDumpBack) {
    const std::string markup1 = "  | 「<RUBY VALUE=\"きょう\">今日</RUBY>は<FONT SIZE=20 COLOR=#FF0000>晴れ</FONT>。」<BR>\n";
    const std::string markup2 = "  | <A HREF=\"menu.vks:yes\">はい</A>　<VAR NAME='name ++ \"さん\"'>\n";
    const std::string source = "MesNew name: \"msg\" left: 10 width: 400\n"
                               "Caption name: \"cap\" text: \"見出し\"\n"
                               "CGCaption name: \"cg\" maptext: \"0123456789\"\n"
                               "TextIns box: \"msg\" read: TRUE wait: TRUE hold: TRUE\n" +
                               markup1 + markup2 +
                               "TextIns \"QsWordXYZ\" box: \"msg\"\n"
                               "TextIns box: \"msg\"\n"
                               "  |\n"
                               "TextClr box: \"msg\"\n"
                               "ClrRead\n";
    std::string out;
    ASSERT_EQ(Build("src", source, out), 0) << out;

    TPage page("start.vks");
    {
        auto in = platform::OpenFile((dir / "src_out/start.vks").string(), platform::FileMode::Read);
        TMemoryStream s;
        s.CopyFrom(*in, 0);
        s.SetPosition(0);
        ASSERT_TRUE(page.LoadFromStream(s));
    }
    ASSERT_EQ(page.Count(), 8);
    const auto& ins = Command<TComTextIns>(page, 3);
    EXPECT_EQ(GlyphCount(ins.Text), 13u);  // 「今日は晴れ。」, the break, はい, the blank, the insertion
    EXPECT_EQ(OpStr(ins.Box), "msg");
    EXPECT_TRUE(OpBool(ins.ReadTracking, false));
    EXPECT_TRUE(OpBool(ins.WaitOp, false));
    EXPECT_TRUE(OpBool(ins.Hold, false));
    EXPECT_EQ(ins.Line, 4);
    EXPECT_EQ(Command<TComTextIns>(page, 4).Text, "QsWordXYZ");
    EXPECT_EQ(Command<TComTextIns>(page, 4).Line, 7);
    EXPECT_EQ(GlyphCount(Command<TComTextIns>(page, 5).Text), 0u);  // "|" alone: a list without glyphs
    EXPECT_EQ(OpStr(Command<TComTextClr>(page, 6).Box), "msg");
    EXPECT_EQ(page.Command(7).Kind(), CK_CLRREAD);

    ASSERT_EQ(Vesk("dump " + (dir / "src_out/start.vks").string(), out), 0) << out;
    for (const std::string& part :
         {"TextIns box: \"msg\" read: TRUE wait: TRUE hold: TRUE\n" + markup1 + markup2,
          std::string("TextIns QsWordXYZ box: \"msg\"\nTextIns box: \"msg\"\n  |\nTextClr box: \"msg\"\n"),
          std::string("CGCaption name: \"cg\" maptext: \"0123456789\"\n")})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;

    Project("again");
    std::string again;
    ASSERT_EQ(Build("again", out, again), 0) << again;
    EXPECT_EQ(Slurp(dir / "src_out/start.vks"), Slurp(dir / "again_out/start.vks"));
}

TEST_F(TextFormMessage, MisplacedOrRefusedMessagesAreErrorsAtTheirLine) {
    struct Case {
        std::string page;
        std::string where, what;
    } const cases[] = {
        {"Calc x = 1\n  | text\n", ":2:", "belong to TextIns"},
        {"  | text\n", ":1:", "must follow"},
        {"TextIns box: \"m\"\n\n  | text\n", ":3:", "must follow"},
        {"TextIns box: \"m\"\n# note\n  | text\n", ":3:", "must follow"},
        {"TextIns \"raw\" box: \"m\"\n  | text\n", ":2:", "not both"},
        {"Calc x = 1\nTextIns box: \"m\"\n  | <B>\n  | <A>no target</A>\n", ":3:", "HREF"},
        {"%format 106\nTextIns box: \"m\" hold: TRUE\n  | text\n", ":2:", "needs page format 107"},
        {"TextIns box: \"m\" colour: 1\n", ":1:", "unknown field"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_NE(Build("src", c.page, out), 0) << c.page;
        EXPECT_NE(out.find("start.vks.txt" + c.where), std::string::npos) << c.page << "\n" << out;
        EXPECT_NE(out.find(c.what), std::string::npos) << c.page << "\n" << out;
    }
}

}  // namespace
}  // namespace vesk::tool::test
