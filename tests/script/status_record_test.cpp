#include <gtest/gtest.h>

#include "common/stream_io.h"
#include "script/status_record.h"
#include "values/param_collection.h"
#include "values/params.h"

namespace vesk {
namespace {

// A table holding "seen" = 3 of the status scope and "game" = 9 of the game.
void DeclareSeenAndGame(TParamCollection& vars) {
    TParamInt v;
    v.SetInt(3);
    vars.Declare("seen", PT_INT, VS_STATUS, v);
    v.SetInt(9);
    vars.Declare("game", PT_INT, VS_GLOBAL, v);
}

TMemoryStream StreamOf(const std::string& bytes) {
    TMemoryStream s;
    s.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

TEST(StatusRecord, HeadGivesTheVersionOrRewinds) {
    struct Case {
        std::string bytes;
        std::int32_t version;
        std::int64_t position;  // after the head was read
    } const cases[] = {
        {"Status103rest", 103, 9},
        {"Status007", 7, 9},
        {"Status1x3", 0, 9},      // digits that are no number
        {"Statut103", 0, 0},      // no head: read from the first byte
        {std::string("\x01\0\0\0", 4), 0, 0},
        {"Stat", 0, 0},           // shorter than a head
    };
    for (const Case& c : cases) {
        TMemoryStream s = StreamOf(c.bytes);
        EXPECT_EQ(ReadStatusHead(s), c.version) << c.bytes;
        EXPECT_EQ(s.Position(), c.position) << c.bytes;
    }
}

TEST(StatusRecord, FreshRecordHoldsTheStatusVariablesThenEmptyParts) {
    TParamCollection vars;
    DeclareSeenAndGame(vars);
    TMemoryStream record;
    WriteStatusRecord(record, vars, TStatusTail());

    record.SetPosition(0);
    ASSERT_EQ(ReadStatusHead(record), 103);
    TParamCollection back;
    back.LoadStatusSection(record);
    ASSERT_NE(back.Find("seen"), nullptr);
    EXPECT_EQ(back.Find("seen")->Value().AsInt(), 3);
    EXPECT_EQ(back.Find("game"), nullptr);
    // Read marks: no items, an empty armed mark; the image collection's
    // flag; the status tables: version 100 and no tables.
    EXPECT_EQ(ReadInt32(record), 0);
    EXPECT_EQ(ReadString(record), "");
    EXPECT_EQ(ReadInt32(record), 0);
    EXPECT_EQ(ReadInt32(record), 0);
    EXPECT_EQ(ReadString(record), "");
    EXPECT_EQ(ReadByte(record), 0);
    EXPECT_EQ(ReadInt32(record), 100);
    EXPECT_EQ(ReadInt32(record), 0);
    EXPECT_EQ(record.Position(), record.Size());
}

TEST(StatusRecord, PartsOfAReadRecordAreWrittenBackUnchanged) {
    TParamCollection vars;
    DeclareSeenAndGame(vars);
    const std::string parts = "read marks, images and tables of a fuller player";
    for (const std::int32_t version : {103, 0}) {
        TMemoryStream old;
        const std::string head = version ? "Status103" : "";
        old.Write(head.data(), static_cast<std::int64_t>(head.size()));
        vars.SaveStatusSection(old);
        old.Write(parts.data(), static_cast<std::int64_t>(parts.size()));
        old.SetPosition(0);

        TParamCollection loaded;
        TStatusTail tail;
        const std::int32_t v = ReadStatusHead(old);
        loaded.LoadStatusSection(old);
        tail.Keep(old, v);
        TMemoryStream again;
        WriteStatusRecord(again, loaded, tail);
        const std::string bytes = again.AsString();
        // Only a record of the current version has parts this layout can
        // take over; an older one gets the empty parts instead.
        EXPECT_EQ(bytes.size() >= parts.size() && bytes.compare(bytes.size() - parts.size(), parts.size(), parts) == 0,
                  version == 103)
            << version;
        EXPECT_EQ(bytes.substr(0, 9), "Status103");
    }
}

}  // namespace
}  // namespace vesk
