#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream_io.h"
#include "components/registry/readlist.h"
#include "components/registry/vbaselist.h"

namespace vesk {
namespace {

// The read list's stream of list, read back into a fresh list.
std::string Bytes(const TVeskReadList& list) {
    TMemoryStream s;
    list.SaveToStream(s);
    return s.AsString();
}

TMemoryStream StreamOf(const std::string& bytes) {
    TMemoryStream s;
    s.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

TEST(ReadList, APageCountsAsReadOnlyOnceTheBoxThatArmedItCommits) {
    TVeskReadList list;
    list.Arm("msg", "start.vks", 1, 4);
    EXPECT_FALSE(list.IsRead("start.vks", 4, 1));
    list.Commit("other");  // another box's typing ends: not this mark
    EXPECT_FALSE(list.IsRead("start.vks", 4, 1));
    EXPECT_TRUE(list.Armed());
    list.Commit("msg");
    EXPECT_FALSE(list.Armed());
    EXPECT_TRUE(list.IsRead("start.vks", 4, 1));
    // Page names are found whatever their case; the pair must match.
    EXPECT_TRUE(list.IsRead("START.VKS", 4, 1));
    EXPECT_FALSE(list.IsRead("start.vks", 1, 4));
    EXPECT_FALSE(list.IsRead("other.vks", 4, 1));

    // A second commit without a new arm adds nothing.
    list.Commit("msg");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].Marks().size(), 1u);
}

TEST(ReadList, ArmingAgainReplacesTheArmedMarkAndRereadingAddsNoDuplicate) {
    TVeskReadList list;
    list.Arm("msg", "a.vks", 0, 2);
    list.Arm("msg", "a.vks", 1, 2);
    list.Commit("msg");
    EXPECT_FALSE(list.IsRead("a.vks", 2, 0));
    EXPECT_TRUE(list.IsRead("a.vks", 2, 1));
    list.Arm("msg", "A.VKS", 1, 2);
    list.Commit("msg");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].Marks(), (std::vector<TVeskRead::TMark>{{2, 1}}));
}

TEST(ReadList, ClearEmptiesTheItemsButKeepsThePageOnScreenArmed) {
    TVeskReadList list;
    list.Arm("msg", "a.vks", 0, 1);
    list.Commit("msg");
    list.Arm("msg", "b.vks", 3, 5);
    list.Clear();
    EXPECT_FALSE(list.IsRead("a.vks", 1, 0));
    EXPECT_EQ(list.Count(), 0);
    list.Commit("msg");
    EXPECT_TRUE(list.IsRead("b.vks", 5, 3));
}

TEST(ReadList, StreamHoldsItemsInColumnsThenTheArmedMark) {
    TVeskReadList list;
    for (const auto& [page, command, index] :
         {std::tuple{"a.vks", 1, 0}, std::tuple{"a.vks", 7, 2}, std::tuple{"sub\\b.vks", 3, 0}}) {
        list.Arm("msg", page, index, command);
        list.Commit("msg");
    }
    list.Arm("box", "c.vks", 4, 9);

    TMemoryStream s = StreamOf(Bytes(list));
    EXPECT_EQ(ReadInt32(s), 2);
    EXPECT_EQ(ReadString(s), "a.vks");
    EXPECT_EQ(ReadInt32(s), 2);
    EXPECT_EQ(ReadInt32(s), 1);  // the command indices first,
    EXPECT_EQ(ReadInt32(s), 7);
    EXPECT_EQ(ReadInt32(s), 0);  // then the page indices
    EXPECT_EQ(ReadInt32(s), 2);
    EXPECT_EQ(ReadString(s), "sub\\b.vks");
    EXPECT_EQ(ReadInt32(s), 1);
    EXPECT_EQ(ReadInt32(s), 3);
    EXPECT_EQ(ReadInt32(s), 0);
    EXPECT_EQ(ReadString(s), "c.vks");
    EXPECT_EQ(ReadInt32(s), 9);
    EXPECT_EQ(ReadInt32(s), 4);
    EXPECT_EQ(ReadString(s), "box");
    EXPECT_EQ(s.Position(), s.Size());

    TVeskReadList back;
    TMemoryStream in = StreamOf(Bytes(list));
    back.LoadFromStream(in, 103);
    EXPECT_EQ(Bytes(back), Bytes(list));
    EXPECT_TRUE(back.IsRead("A.vks", 7, 2));
    back.Commit("box");
    EXPECT_TRUE(back.IsRead("c.vks", 9, 4));
}

TEST(ReadList, LoadingReplacesTheListAndOldRecordsHoldNoMarks) {
    TVeskReadList stored;
    stored.Arm("msg", "new.vks", 0, 0);
    stored.Commit("msg");
    const std::string bytes = Bytes(stored);

    struct Case {
        std::int32_t version;
        bool readsMarks;
    } const cases[] = {{103, true}, {100, true}, {99, false}, {0, false}};
    for (const Case& c : cases) {
        TVeskReadList list;
        list.Arm("msg", "old.vks", 0, 0);
        list.Commit("msg");
        list.Arm("msg", "armed.vks", 0, 0);
        TMemoryStream s = StreamOf(bytes);
        list.LoadFromStream(s, c.version);
        EXPECT_FALSE(list.IsRead("old.vks", 0, 0)) << c.version;
        EXPECT_FALSE(list.Armed()) << c.version;
        EXPECT_EQ(list.IsRead("new.vks", 0, 0), c.readsMarks) << c.version;
        EXPECT_EQ(s.Position(), c.readsMarks ? s.Size() : 0) << c.version;
    }
}

TEST(ReadList, ADamagedStreamIsAnErrorAndTheListStaysAsItWas) {
    TVeskReadList stored;
    stored.Arm("msg", "page.vks", 2, 3);
    stored.Commit("msg");
    stored.Arm("msg", "next.vks", 0, 1);
    const std::string whole = Bytes(stored);

    std::vector<std::string> damaged;
    for (std::size_t n = 0; n < whole.size(); ++n) damaged.push_back(whole.substr(0, n));  // every cut
    std::string hugeItems = whole;
    hugeItems[3] = 0x7F;  // an item count far past the bytes left
    damaged.push_back(hugeItems);
    std::string negativeMarks = whole;
    negativeMarks.replace(4 + 4 + 8, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    damaged.push_back(negativeMarks);

    for (const std::string& bytes : damaged) {
        TVeskReadList list;
        list.Arm("msg", "mine.vks", 0, 0);
        list.Commit("msg");
        TMemoryStream s = StreamOf(bytes);
        EXPECT_THROW(list.LoadFromStream(s, 103), EStreamError) << bytes.size();
        EXPECT_TRUE(list.IsRead("mine.vks", 0, 0));
        EXPECT_EQ(list.Count(), 1);
    }
}

TEST(ReadList, TheRegistryKeepsItsMarksThroughAReset) {
    TVeskBaseList registry;
    registry.ReadMarks().Arm("msg", "a.vks", 0, 0);
    registry.ReadMarks().Commit("msg");
    registry.Reset();
    EXPECT_TRUE(registry.ReadMarks().IsRead("a.vks", 0, 0));
}

}  // namespace
}  // namespace vesk
