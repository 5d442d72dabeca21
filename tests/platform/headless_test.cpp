#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "platform/msgbox_names.h"
#include "tests/app/test_support.h"

namespace vesk::platform {
namespace {

std::vector<THeadlessAnswer> Answers(const char* text) {
    std::vector<THeadlessAnswer> a;
    EXPECT_TRUE(ParseHeadlessAnswers(text, a)) << text;
    return a;
}

TEST(HeadlessMessageBox, WritesTheBoxAndItsAnswer) {
    test::THeadlessScope scope;
    EXPECT_EQ(ShowMessageBox("vesk.dll\n" + Sj("ファイルがありません"), "Error", MsgButtons::Ok,
                             MsgIcon::Warning),
              MsgResult::Ok);
    EXPECT_EQ(scope.Output(),
              "message box \"Error\" (warning, OK):\n  vesk.dll\n  ファイルがありません\n  -> ok\n");
}

TEST(HeadlessMessageBox, DefaultAnswerIsTheFirstButton) {
    test::THeadlessScope scope;
    EXPECT_EQ(ShowMessageBox("a", "b", MsgButtons::OkCancel, MsgIcon::Information), MsgResult::Ok);
    EXPECT_EQ(ShowMessageBox("a", "b", MsgButtons::YesNo, MsgIcon::Question), MsgResult::Yes);
    ASSERT_EQ(scope.Shown().size(), 2u);
    EXPECT_EQ(scope.Shown()[1].icon, MsgIcon::Question);
    EXPECT_EQ(scope.Shown()[1].buttons, MsgButtons::YesNo);
}

TEST(HeadlessMessageBox, AnswersInTurnTheLastRepeating) {
    test::THeadlessScope scope(Answers("cancel,no,ok"));
    EXPECT_EQ(ShowMessageBox("1", "", MsgButtons::OkCancel, MsgIcon::None), MsgResult::Cancel);
    // "no" fits a box with OK and Cancel as its second button.
    EXPECT_EQ(ShowMessageBox("2", "", MsgButtons::OkCancel, MsgIcon::None), MsgResult::Cancel);
    EXPECT_EQ(ShowMessageBox("3", "", MsgButtons::YesNo, MsgIcon::None), MsgResult::Yes);
    EXPECT_EQ(ShowMessageBox("4", "", MsgButtons::YesNo, MsgIcon::None), MsgResult::Yes);
    // A box with only OK answers OK whatever was asked for.
    test::THeadlessScope noScope(Answers("no"));
    EXPECT_EQ(ShowMessageBox("5", "", MsgButtons::Ok, MsgIcon::Error), MsgResult::Ok);
    EXPECT_EQ(ShowMessageBox("6", "", MsgButtons::YesNo, MsgIcon::Error), MsgResult::No);
}

TEST(HeadlessMessageBox, AskReadsTheAnswerFromInputUntilItEnds) {
    std::FILE* in = std::tmpfile();
    std::fputs("no\nCANCEL\nmaybe\n", in);
    std::rewind(in);
    {
        test::THeadlessScope scope(Answers("ask"), in);
        EXPECT_EQ(ShowMessageBox("1", "", MsgButtons::YesNo, MsgIcon::None), MsgResult::No);
        EXPECT_EQ(ShowMessageBox("2", "", MsgButtons::OkCancel, MsgIcon::None), MsgResult::Cancel);
        // An unknown word, then the end of the input: the first button.
        EXPECT_EQ(ShowMessageBox("3", "", MsgButtons::OkCancel, MsgIcon::None), MsgResult::Ok);
        EXPECT_EQ(ShowMessageBox("4", "", MsgButtons::YesNo, MsgIcon::None), MsgResult::Yes);
    }
    std::fclose(in);
}

TEST(HeadlessMessageBox, AnswerListsParse) {
    std::vector<THeadlessAnswer> a;
    EXPECT_TRUE(ParseHeadlessAnswers("YES,ask,No", a));
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].result, MsgResult::Yes);
    EXPECT_TRUE(a[1].ask);
    EXPECT_EQ(a[2].result, MsgResult::No);
    for (const char* bad : {"", ",", "ok,,no", "okay", "ok;no"})
        EXPECT_FALSE(ParseHeadlessAnswers(bad, a)) << bad;
    EXPECT_EQ(a.size(), 3u);  // a failed parse leaves the list alone
}

TEST(HeadlessMessageBox, DefaultBackendWithoutInstalling) {
    // Nothing installed: the box goes to standard error and takes its first
    // button, so a tool never waits.
    InstallPlatform(nullptr);
    EXPECT_STREQ(Platform().Name(), "headless");
    EXPECT_EQ(ShowMessageBox("t", "c", MsgButtons::YesNo, MsgIcon::Question), MsgResult::Yes);
}

}  // namespace
}  // namespace vesk::platform
