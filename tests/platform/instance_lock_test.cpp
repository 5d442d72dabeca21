#include "platform/instance_lock.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/canonical_path.h"
#include "tests/app/test_support.h"

namespace vesk::platform {
namespace {

using R = TInstanceLock::TResult;

// Every test works in a runtime folder of its own.
class InstanceLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
    }
    void TearDown() override {
        if (saved_) setenv("XDG_RUNTIME_DIR", saved_->c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
    }
    test::TTempDir dir_;
    std::optional<std::string> saved_;
};

TEST_F(InstanceLockTest, OneHolderPerNameUntilItLetsGo) {
    std::unique_ptr<TInstanceLock> a, b, c;
    EXPECT_EQ(TInstanceLock::Acquire("-HOME-U-GAME-", a), R::Acquired);
    EXPECT_EQ(TInstanceLock::Acquire("-HOME-U-GAME-", b), R::Taken);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(TInstanceLock::Acquire("-HOME-U-OTHER-", c), R::Acquired);
    a.reset();
    EXPECT_EQ(TInstanceLock::Acquire("-HOME-U-GAME-", b), R::Acquired);
    EXPECT_EQ(TInstanceLock::LockFolder(), dir_.Path() + "/vesk");
    struct stat st{};
    ASSERT_EQ(stat(TInstanceLock::LockFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(InstanceLockTest, LongNamesStayDistinctFileNames) {
    const std::string stem(300, 'A');
    const std::string p1 = TInstanceLock::LockPath(stem + "1");
    const std::string p2 = TInstanceLock::LockPath(stem + "2");
    EXPECT_NE(p1, p2);
    EXPECT_LT(p1.size() - TInstanceLock::LockFolder().size(), 255u);
    std::unique_ptr<TInstanceLock> a, b;
    EXPECT_EQ(TInstanceLock::Acquire(stem + "1", a), R::Acquired);
    EXPECT_EQ(TInstanceLock::Acquire(stem + "2", b), R::Acquired);
}

TEST_F(InstanceLockTest, AFolderOpenToOthersIsRefused) {
    ASSERT_EQ(mkdir((dir_ / "vesk").c_str(), 0777), 0);
    ASSERT_EQ(chmod((dir_ / "vesk").c_str(), 0777), 0);
    std::unique_ptr<TInstanceLock> a;
    std::string error;
    EXPECT_EQ(TInstanceLock::Acquire("-X-", a, &error), R::Failed);
    EXPECT_NE(error.find("private"), std::string::npos);
}

TEST_F(InstanceLockTest, WithoutRuntimeFolderATempFolderOfOurOwn) {
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", dir_.Path().c_str(), 1);
    EXPECT_EQ(TInstanceLock::LockFolder(), dir_.Path() + "/vesk-" + std::to_string(geteuid()));
    std::unique_ptr<TInstanceLock> a;
    EXPECT_EQ(TInstanceLock::Acquire("-Y-", a), R::Acquired);
    unsetenv("TMPDIR");
}

TEST(CanonicalFolder, SpellingsOfOneFolderAgree) {
    EXPECT_EQ(NormalisePath("/a//b/./c/../d/"), "/a/b/d");
    EXPECT_EQ(NormalisePath("/../.."), "/");
    EXPECT_EQ(NormalisePath("/"), "/");
    test::TTempDir dir;
    std::filesystem::create_directories(dir / "game");
    std::filesystem::create_directory_symlink(dir / "game", dir / "link");
    const std::string real = CanonicalFolder(dir / "game");
    EXPECT_EQ(CanonicalFolder(dir / "game/"), real);
    EXPECT_EQ(CanonicalFolder(dir / "link"), real);
    EXPECT_EQ(CanonicalFolder(dir / "game/../game/."), real);
    // A folder that does not exist is still named one way.
    EXPECT_EQ(CanonicalFolder("/no/such//folder/"), "/no/such/folder");
}

}  // namespace
}  // namespace vesk::platform
