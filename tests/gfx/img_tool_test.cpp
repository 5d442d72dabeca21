// The `vesk img` verb, run as the authoring tool is run.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>

#include "common/stream.h"
#include "gfx/fenks.h"
#include "gfx/pngwrite.h"

using namespace vesk;
namespace fs = std::filesystem;

namespace {

class ImgTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vesk-img-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        ASSERT_TRUE(fs::exists(tool_)) << tool_ << " is built with the rest of the project";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    int Run(const std::string& args) const {
        const std::string command = tool_ + " img " + args + " > " + Path("out.txt") + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Output() const {
        std::ifstream in(Path("out.txt"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void WritePng(const std::string& name, std::uint32_t colour, bool alpha) const {
        TDIBSurface image;
        image.SetSize(4, 3, 24);
        image.Fill(colour);
        image.SetPixel(0, 0, 0x808080);
        if (alpha) image.CreateAlpha(255).SetPixel(3, 2, 0);
        TMemoryStream bytes;
        SavePng(bytes, image);
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.Data()), static_cast<std::streamsize>(bytes.Size()));
    }

    fs::path dir_;
    std::string tool_ = std::string(VESK_BINARY_DIR) + "/vesk";
};

TEST_F(ImgTool, PacksFramesWithOptionsAndUnpacksThemAgain) {
    WritePng("a.png", 0x112233, true);
    WritePng("b.png", 0x445566, false);
    ASSERT_EQ(Run("pack " + Path("x.fnk") + " " + Path("a.png") + " " + Path("b.png") +
                  " --bits 32 --key 808080 --delay 40 --blocks 2x2 --id 99"),
              0)
        << Output();
    TFenkFrameList list(99);
    list.LoadFromFile(Path("x.fnk"), false, false);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Image.BitCount(), 32);
    EXPECT_EQ(list[0].Image.GetPixel(1, 1), 0x112233u);
    EXPECT_EQ(list[1].Image.GetPixel(1, 1), 0x445566u);
    EXPECT_EQ(list[0].Delay, 40);
    EXPECT_EQ(list[0].TransColor, 0x00808080);
    ASSERT_TRUE(list[0].Image.HasAlpha());
    EXPECT_EQ(list[0].Image.Alpha()->GetPixel(3, 2), 0u);
    EXPECT_FALSE(list[1].Image.HasAlpha());

    ASSERT_EQ(Run("unpack " + Path("x.fnk") + " " + Path("frame") + " --id 99"), 0) << Output();
    TFenkFrameList png;
    png.LoadFromFile(Path("frame-001.png"), false, false);
    ASSERT_EQ(png.Count(), 1);
    EXPECT_EQ(png[0].Image.GetPixel(1, 1), 0x445566u);
    // The key colour becomes transparency in the PNG.
    ASSERT_TRUE(png[0].Image.HasAlpha());
    EXPECT_EQ(png[0].Image.Alpha()->GetPixel(0, 0), 0u);
    EXPECT_EQ(png[0].Image.Alpha()->GetPixel(1, 1), 255u);
}

TEST_F(ImgTool, LayersAndJpeg) {
    WritePng("a.png", 0x102030, false);
    WritePng("b.png", 0x405060, true);
    ASSERT_EQ(Run("pack " + Path("l.fnk") + " " + Path("a.png") + " " + Path("b.png") + " --layers --jpeg=95"), 0)
        << Output();
    TFenkFrameList list;
    list.LoadFromFile(Path("l.fnk"), false, true);
    ASSERT_EQ(list.Count(), 1);
    ASSERT_EQ(list[0].Layers.size(), 2u);
    EXPECT_EQ(list[0].Layers[1]->Name, "b.png");
    EXPECT_TRUE(list[0].Layers[1]->UseAlpha);
    // The top layer covers all but its transparent corner, where the bottom
    // layer shows (JPEG keeps the colours close).
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int s = 0; s < 24; s += 8)
            if (std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)) > 6) return false;
        return true;
    };
    EXPECT_TRUE(near(list[0].Image.GetPixel(1, 1), 0x405060));
    EXPECT_TRUE(near(list[0].Image.GetPixel(3, 2), 0x102030));
    ASSERT_EQ(Run("info " + Path("l.fnk")), 0);
    EXPECT_NE(Output().find("2 layer(s)"), std::string::npos) << Output();
}

TEST_F(ImgTool, ClearErrors) {
    WritePng("a.png", 0, false);
    const struct {
        std::string args, message;
    } cases[] = {
        {"pack " + Path("x.fnk"), "needs an output file"},
        {"pack " + Path("x.fnk") + " " + Path("missing.png"), "cannot open"},
        {"pack " + Path("x.fnk") + " " + Path("a.png") + " --bits 7", "bad bit count"},
        {"pack " + Path("x.fnk") + " " + Path("a.png") + " --frob", "unknown option --frob"},
        {"pack " + Path("x.fnk") + " " + Path("a.png") + " --key red", "bad colour"},
        {"unpack " + Path("a.txt") + " " + Path("p"), "no image"},
        {"grind", "unknown command"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(Run(c.args), 0) << c.args;
        EXPECT_NE(Output().find(c.message), std::string::npos) << c.args << ": " << Output();
    }
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Output().find("usage: vesk img pack"), std::string::npos);
}

}  // namespace
