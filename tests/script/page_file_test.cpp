#include <gtest/gtest.h>

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "script/callman.h"
#include "script/com_component.h"
#include "script/com_flow.h"
#include "script/page.h"
#include "script/pagecache.h"
#include "script/project_settings.h"

namespace vesk {
namespace {

// A page file by hand: format, masks (count, size, one byte pattern per
// entry), then the raw command bytes.
std::string PageBytes(int format, int maskCount, int maskSize, const std::string& commands, int count,
                      std::uint8_t firstMaskByte = 0) {
    TMemoryStream s;
    WriteInt32(s, format);
    WriteByte(s, 1);
    WriteInt32(s, maskCount);
    WriteInt32(s, maskSize);
    for (int k = 0; k < std::min(maskCount, 62); ++k)
        for (int b = 0; b < maskSize; ++b) WriteByte(s, k == CK_BOXNEW && b == 0 ? firstMaskByte : 0);
    WriteInt32(s, count);
    s.WriteBuffer(commands.data(), static_cast<std::int64_t>(commands.size()));
    return s.AsString();
}

std::string Header(std::uint8_t kind) {
    TMemoryStream s;
    WriteByte(s, kind);
    WriteInt32(s, 0);
    WriteFlag(s, false);
    WriteFlag(s, true);
    WriteInt32(s, 7);
    return s.AsString();
}

std::string EmptyOp() { return std::string(4, '\0'); }

bool Load(TPage& page, const std::string& bytes) {
    TConstMemoryStream s(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    return page.LoadFromStream(s);
}

TEST(PageFile, MaskCountsAndSizes) {
    // A BoxNew whose mask carries PR_NAME (bit 0) reads one list after its
    // header; extra mask entries and bytes past 21 are skipped; a shorter
    // mask is taken as far as it goes.
    const std::string box = Header(CK_BOXNEW) + EmptyOp();
    for (int maskCount : {61, 62}) {
        for (int maskSize : {21, 25, 1}) {
            TPage page;
            ASSERT_TRUE(Load(page, PageBytes(113, maskCount, maskSize, box, 1, 0x01))) << maskCount << "/" << maskSize;
            ASSERT_EQ(page.Count(), 1);
            auto& c = static_cast<TComComponent&>(page.Command(0));
            EXPECT_NE(c.Props[0], nullptr);
            EXPECT_EQ(c.Props[1], nullptr);
            EXPECT_EQ(c.Line, 7);
        }
    }
    // With an all-zero mask the same command reads nothing after its header.
    TPage page;
    ASSERT_TRUE(Load(page, PageBytes(113, 61, 21, Header(CK_BOXNEW) + Header(CK_ELSE), 2)));
    EXPECT_EQ(page.Count(), 2);
    EXPECT_EQ(page.Command(1).Kind(), CK_ELSE);
}

TEST(PageFile, DamagedPagesRaise) {
    struct Case {
        std::string bytes;
        std::string message;  // empty: any stream error
    } cases[] = {
        {PageBytes(113, 61, 21, Header(61), 1), Sj("不正なコマンド")},
        {PageBytes(113, 61, 21, Header(0x7F), 1), Sj("不正なコマンド")},
        {PageBytes(113, 61, 21, Header(CK_ELSE), 1000), ""},   // count past the end
        {PageBytes(113, 61, 21, Header(CK_LABEL), 1), ""},     // label name missing
        {PageBytes(113, 1000000, 21, "", 0), ""},              // masks past the end (only 62 written)
        {PageBytes(113, -1, 21, "", 0), ""},
        {PageBytes(113, 61, -5, "", 0), ""},
        {std::string("\x71\x00", 2), ""},
    };
    for (const Case& c : cases) {
        TPage page;
        try {
            Load(page, c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const EVeskError& e) {
            if (!c.message.empty()) {
                EXPECT_EQ(e.what(), c.message);
            }
        }
    }
}

TEST(PageFile, FormatLimits) {
    TPage newer, older;
    EXPECT_TRUE(Load(newer, PageBytes(114, 61, 21, Header(CK_ELSE), 1)));
    EXPECT_EQ(newer.Count(), 0);
    EXPECT_FALSE(Load(older, PageBytes(102, 61, 21, Header(CK_ELSE), 1)));
    EXPECT_EQ(older.Count(), 0);
}

TEST(PageFile, WaitHoldFieldOnlyFromFormat107) {
    const std::string wait = Header(CK_WAIT) + EmptyOp() + EmptyOp();
    TPage p106, p107;
    ASSERT_TRUE(Load(p106, PageBytes(106, 61, 21, wait, 1)));
    // In 107 the same bytes lack the third list: the page is short.
    EXPECT_THROW(Load(p107, PageBytes(107, 61, 21, wait, 1)), EVeskError);
    ASSERT_TRUE(Load(p107, PageBytes(107, 61, 21, wait + EmptyOp(), 1)));
}

TEST(PageFile, EveryKindRoundTrips) {
    TPage page("p.vks");
    page.Format = 113;
    for (int k = 0; k < kCommandKindCount; ++k) {
        auto c = CreateCommand(static_cast<std::uint8_t>(k), &page);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Kind(), k);
        c->Line = k;
        page.Commands.push_back(std::move(c));
    }
    EXPECT_EQ(CreateCommand(61, &page), nullptr);
    TMemoryStream s;
    page.SaveToStream(s);
    TPage again;
    s.SetPosition(0);
    ASSERT_TRUE(again.LoadFromStream(s));
    ASSERT_EQ(again.Count(), kCommandKindCount);
    TMemoryStream s2;
    again.SaveToStream(s2);
    EXPECT_EQ(s.Bytes(), s2.Bytes());
}

TEST(ProjectFile, OlderVersionsGetTheirDefaults) {
    TMemoryStream s;
    WriteInt32(s, 105);
    WriteString(s, "t");
    for (int i = 0; i < 4; ++i) WriteInt32(s, 640);
    WriteString(s, "start.vks");
    WriteString(s, "key");
    WriteInt32(s, 0);
    WriteFlag(s, true);  // save status (104+)
    WriteString(s, "disc");
    WriteString(s, "quit");
    WriteInt32(s, 1);
    WriteByte(s, PT_STR);
    WriteString(s, "v");
    WriteString(s, "abc");
    WriteInt32(s, 0);
    s.SetPosition(0);
    TProjectSettings p;
    ASSERT_TRUE(p.LoadFromStream(s));
    EXPECT_TRUE(p.SaveStatus);
    EXPECT_FALSE(p.SleepInIdle);
    EXPECT_FALSE(p.PauseWhenInactive);
    EXPECT_EQ(p.MediaExtensions, ".wav.wma.ogg.mid");
    EXPECT_EQ(p.ExitPage, "");
    ASSERT_EQ(p.Globals.size(), 1u);
    EXPECT_EQ(p.Globals[0].Value->AsStr(), "abc");

    TMemoryStream newer;
    WriteInt32(newer, 114);
    newer.SetPosition(0);
    EXPECT_FALSE(p.LoadFromStream(newer));

    // A global count that lies about what follows.
    TMemoryStream lying;
    WriteInt32(lying, 113);
    WriteString(lying, "t");
    for (int i = 0; i < 4; ++i) WriteInt32(lying, 1);
    for (int i = 0; i < 3; ++i) WriteString(lying, "");
    WriteInt32(lying, 0);
    for (int i = 0; i < 2; ++i) WriteFlag(lying, true);
    WriteString(lying, "");
    WriteFlag(lying, false);
    WriteString(lying, "");
    WriteString(lying, "");
    WriteInt32(lying, 0x7FFFFFFF);
    lying.SetPosition(0);
    EXPECT_THROW(p.LoadFromStream(lying), EStreamError);
}

class TCountingSource final : public TPageSource {
public:
    bool PageExists(const std::string&) override { return true; }
    std::unique_ptr<TStream> OpenPage(const std::string& name) override {
        ++loads;
        if (name == "bad.vks") return std::make_unique<TMemoryStream>();
        TPage p(name);
        auto s = std::make_unique<TMemoryStream>();
        p.SaveToStream(*s);
        s->SetPosition(0);
        return s;
    }
    void PageTooOld(const std::string&) override {}
    int loads = 0;
};

TEST(PageCache, MakeCurrentTrimsToTenButKeepsTheRunningPage) {
    TCountingSource source;
    TPageCache cache(source);
    TPage* first = cache.Get("p0.vks", true, nullptr);
    for (int i = 1; i < 10; ++i) cache.Get("p" + std::to_string(i) + ".vks", true, nullptr);
    EXPECT_EQ(cache.Count(), 10);
    // The running page is at the back: nothing is trimmed.
    cache.Get("p10.vks", true, first);
    EXPECT_EQ(cache.Count(), 11);
    // Otherwise the least recently used goes.
    cache.Get("p11.vks", true, nullptr);
    EXPECT_EQ(cache.Count(), 10);
    EXPECT_EQ(cache.At(0).Name, "p11.vks");
    // Without MakeCurrent a new page goes to the back, nothing is trimmed.
    cache.Get("q.vks", false, nullptr);
    EXPECT_EQ(cache.At(cache.Count() - 1).Name, "q.vks");
    EXPECT_EQ(cache.Count(), 11);
    const int loads = source.loads;
    cache.Get("p11.vks", true, nullptr);
    EXPECT_EQ(source.loads, loads);  // cached
    EXPECT_THROW(cache.Get("bad.vks", true, nullptr), EVeskError);
    for (int i = 0; i < cache.Count(); ++i) EXPECT_NE(cache.At(i).Name, "bad.vks");
}

TEST(EventPage, ReferenceSplitting) {
    struct Case {
        const char* ref;
        const char* page;
        const char* label;
    } cases[] = {
        {"menu.vkx:ok", "menu.vks", "ok"},
        {"menu.vks", "menu.vks", ""},
        {"dir\\a.vks", "dir\\a.vks", ""},
        {"a:b.vks", "a:b.vks", ""},  // a '.' after the colon: no label
        {"x.vkx:", "x.vks", ""},
    };
    for (const Case& c : cases) {
        std::string page, label;
        SplitEventPage(c.ref, page, label);
        EXPECT_EQ(page, c.page) << c.ref;
        EXPECT_EQ(label, c.label) << c.ref;
    }
    // A trail byte that looks like ':' (0x3A is not a trail byte, but 0x5C
    // is): "表" is 0x95 0x5C, which must not count as '\'.
    std::string page, label;
    SplitEventPage(std::string("\x95\x5C.vkx:go"), page, label);
    EXPECT_EQ(page, std::string("\x95\x5C.vks"));
    EXPECT_EQ(label, "go");
}

}  // namespace
}  // namespace vesk
