#include "common/hash.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

std::unique_ptr<THashCollectionItem> Named(const char* name) {
    return std::make_unique<THashCollectionItem>(name);
}

void ExpectInvariant(const THashCollection& c) {
    for (int i = 0; i < c.Count(); ++i) {
        const THashCollectionItem& item = c.Item(i);
        EXPECT_EQ(item.CachedIndex(), i);
        bool reachable = false;
        for (auto* it = c.BucketHead(THashCollection::Hash(item.Name())); it; it = it->Next())
            reachable |= (it == &item);
        EXPECT_TRUE(reachable) << item.Name();
    }
}

}  // namespace

TEST(HashCollection, HashRule) {
    struct Case { const char* name; int bucket; };
    const Case cases[] = {
        {"", 0}, {"x", 16}, {"\xFF", 16},
        {"ab", (2 * 16 + 'a' + 'a') & 0xFF},
        {"ABC", (3 * 16 + 'b' + 'a') & 0xFF},
        {"cg\\title.png", (12 * 16 + 'n' + 'c') & 0xFF},
    };
    for (const Case& c : cases) EXPECT_EQ(THashCollection::Hash(c.name), c.bucket) << c.name;
}

TEST(HashCollection, FindIsCaseInsensitiveAndNewestFirst) {
    THashCollection c;
    c.Add(Named("cg\\title.png"));
    c.Add(Named("CG\\TITLE.PNG"));
    c.Add(Named("other"));
    EXPECT_EQ(c.Item(0).Bucket(), c.Item(1).Bucket());
    EXPECT_EQ(c.Find("Cg\\Title.Png"), 1);
    EXPECT_EQ(c.Find("other"), 2);
    EXPECT_EQ(c.Find("missing"), -1);
    ExpectInvariant(c);
}

TEST(HashCollection, DeleteAndInsertKeepCachedIndexes) {
    THashCollection c;
    c.Add(Named("a"));
    c.Add(Named("b"));
    c.Add(Named("c"));
    c.Delete(0);
    EXPECT_EQ(c.Item(0).Name(), "b");
    EXPECT_EQ(c.Item(0).CachedIndex(), 0);
    EXPECT_EQ(c.Item(1).CachedIndex(), 1);
    EXPECT_EQ(c.Find("a"), -1);
    EXPECT_EQ(c.Find("c"), 1);
    c.Insert(0, Named("z"));
    EXPECT_EQ(c.Find("c"), 2);
    ExpectInvariant(c);
    EXPECT_THROW(c.Delete(7), std::out_of_range);
}

TEST(HashCollection, RenameRechainsAndAssignCopiesTheName) {
    THashCollection c;
    c.Add(Named("first"));
    THashCollectionItem& second = c.Add(Named("second"));
    second.SetName("renamed");
    EXPECT_EQ(c.Find("second"), -1);
    EXPECT_EQ(c.Find("RENAMED"), 1);
    c.Item(0).Assign(second);
    EXPECT_EQ(c.Find("renamed"), 0);  // re-inserted at the head of its bucket
    ExpectInvariant(c);
}
