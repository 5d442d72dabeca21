#include "media/veskdll.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/cp932.h"
#include "platform/library.h"
#include "tests/app/test_support.h"

namespace vesk {
namespace {

using platform::MsgButtons;
using platform::MsgIcon;

TEST(VeskDllBinding, BindsTheBuiltLibraryAndStartsItOnce) {
    test::THeadlessScope boxes;
    auto dll = TVeskDll::Bind(VESK_BINARY_DIR);
    ASSERT_NE(dll, nullptr);
    EXPECT_TRUE(boxes.Shown().empty());
    int window = 0, panel = 0;
    EXPECT_TRUE(dll->Init(&window, &panel));
    EXPECT_TRUE(dll->Initialised());
    dll->Final();
    EXPECT_FALSE(dll->Initialised());
    // Finalised, the library accepts a new start.
    EXPECT_TRUE(dll->Init(&window, &panel));
}

TEST(VeskDllBinding, LibraryRefusesASecondInitAndMissingCallbacks) {
    auto lib = platform::TDynamicLibrary::Open(std::string(VESK_BINARY_DIR) + "/libvesk.so");
    ASSERT_NE(lib, nullptr);
    const auto version = lib->Function<TVeskVersion>("veskVersion");
    const auto init = lib->Function<TVeskInit>("veskInit");
    const auto final = lib->Function<TVeskFinal>("veskFinal");
    ASSERT_TRUE(version && init && final);
    EXPECT_EQ(version(), 108);
    void* slot = nullptr;
    EXPECT_EQ(init(nullptr, nullptr, nullptr, &slot, nullptr, &TVeskDll::StreamRead,
                   &TVeskDll::StreamGetPosition, &TVeskDll::StreamSetPosition, nullptr, nullptr, 0),
              0);
    auto start = [&] {
        return init(nullptr, nullptr, nullptr, &slot, &TVeskDll::FreeObject, &TVeskDll::StreamRead,
                    &TVeskDll::StreamGetPosition, &TVeskDll::StreamSetPosition,
                    &TVeskDll::SaveFpuWord, &TVeskDll::RestoreFpuWord, 0);
    };
    EXPECT_NE(start(), 0);
    EXPECT_EQ(start(), 0);
    final();
    EXPECT_NE(start(), 0);
    final();
}

struct BindFailureCase {
    const char* folder;  // below the test build folder; "" for a folder without the library
    const char* textUtf8;
};

TEST(VeskDllBinding, FailuresShowTheirWarningAndBindNothing) {
    const std::string here = std::string(VESK_BINARY_DIR) + "/tests/app/";
    test::TTempDir empty;
    const BindFailureCase cases[] = {
        {"", "vesk.dll\nファイルがありません"},
        {"wrong-version", "vesk.dllのバージョンがあいません"},
        {"no-init", "vesk.dllのバージョンがあいません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        test::THeadlessScope boxes;
        const std::string folder = *c.folder ? here + c.folder : empty.Path();
        EXPECT_EQ(TVeskDll::Bind(folder), nullptr);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        const auto& box = boxes.Shown()[0];
        EXPECT_EQ(box.text, Sj(c.textUtf8));
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, MsgIcon::Warning);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
    }
}

TEST(VeskDllCallbacks, ReadThePlayersStreamAndFreeIt) {
    auto stream = std::make_unique<TMemoryStream>(std::vector<std::uint8_t>{1, 2, 3, 4, 5});
    void* handle = TVeskDll::HandOverStream(std::move(stream));
    std::uint8_t buf[8] = {};
    EXPECT_EQ(TVeskDll::StreamRead(handle, buf, 2), 2);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[1], 2);
    EXPECT_EQ(TVeskDll::StreamGetPosition(handle), 2);
    TVeskDll::StreamSetPosition(handle, 4);
    EXPECT_EQ(TVeskDll::StreamRead(handle, buf, 8), 1);
    EXPECT_EQ(buf[0], 5);
    EXPECT_EQ(TVeskDll::StreamRead(handle, buf, -1), 0);
    EXPECT_EQ(TVeskDll::StreamRead(nullptr, buf, 4), 0);
    TVeskDll::FreeObject(handle);  // the sanitizer reports a leak if this frees nothing
}

TEST(VeskLogBinding, TraceLinesGoToDbglogAsUtf8) {
    test::TTempDir dir;
    std::filesystem::copy_file(std::string(VESK_BINARY_DIR) + "/libvesklog.so", dir / "libvesklog.so");
    {
        auto log = TVeskLog::Bind(dir.Path());
        ASSERT_NE(log, nullptr);
        SetTraceLog(log.get());
        TraceLine(Sj("00000010 : スタート(3)"));
        TraceLine("00000020 : next(4)\n");
    }
    TraceLine("after the log went: goes nowhere");
    EXPECT_EQ(test::ReadFile(dir / "dbglog.txt"),
              "00000010 : スタート(3)\n00000020 : next(4)\n");
}

TEST(VeskLogBinding, AbsentLibraryBindsNothing) {
    test::TTempDir dir;
    EXPECT_EQ(TVeskLog::Bind(dir.Path()), nullptr);
    TraceLine("no log bound");  // must not crash
    EXPECT_FALSE(std::filesystem::exists(dir / "dbglog.txt"));
}

}  // namespace
}  // namespace vesk
