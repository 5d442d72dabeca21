#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream_io.h"
#include "components/registry/readlist.h"
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

TEST(StatusRecord, FreshRecordHoldsTheStatusVariablesTheReadMarksThenEmptyParts) {
    TParamCollection vars;
    DeclareSeenAndGame(vars);
    TVeskReadList marks;
    marks.Arm("msg", "start.vks", 1, 2);
    marks.Commit("msg");
    TMemoryStream record;
    WriteStatusRecord(record, vars, marks, TStatusTail());

    record.SetPosition(0);
    ASSERT_EQ(ReadStatusHead(record), 103);
    TParamCollection back;
    back.LoadStatusSection(record);
    ASSERT_NE(back.Find("seen"), nullptr);
    EXPECT_EQ(back.Find("seen")->Value().AsInt(), 3);
    EXPECT_EQ(back.Find("game"), nullptr);
    TVeskReadList marksBack;
    marksBack.LoadFromStream(record, 103);
    EXPECT_TRUE(marksBack.IsRead("start.vks", 2, 1));
    // The image collection's flag; the status tables: version 100 and no
    // tables.
    EXPECT_EQ(ReadByte(record), 0);
    EXPECT_EQ(ReadInt32(record), 100);
    EXPECT_EQ(ReadInt32(record), 0);
    EXPECT_EQ(record.Position(), record.Size());
}

// A stored record: the head of version (none for 0), the variables, the
// read marks of marks when the version has them, then the bytes of parts.
std::string OldRecord(std::int32_t version, const TParamCollection& vars, const TVeskReadList& marks,
                      const std::string& parts) {
    TMemoryStream old;
    const std::string head = version ? "Status" + std::to_string(version) : "";
    old.Write(head.data(), static_cast<std::int64_t>(head.size()));
    vars.SaveStatusSection(old);
    if (version >= 100) marks.SaveToStream(old);
    old.Write(parts.data(), static_cast<std::int64_t>(parts.size()));
    return old.AsString();
}

TEST(StatusRecord, ReadMarksAreReadAndPartsAfterThemWrittenBackUnchanged) {
    TParamCollection vars;
    DeclareSeenAndGame(vars);
    TVeskReadList marks;
    marks.Arm("msg", "seen.vks", 0, 5);
    marks.Commit("msg");
    const std::string parts = "images and tables of a fuller player";
    struct Case {
        std::int32_t version;
        bool marksRead;
        bool partsKept;  // only a record of the current version has parts this layout takes over
    } const cases[] = {{103, true, true}, {101, true, false}, {0, false, false}};
    for (const Case& c : cases) {
        TMemoryStream old = StreamOf(OldRecord(c.version, vars, marks, parts));
        TParamCollection loaded;
        TVeskReadList loadedMarks;
        TStatusTail tail;
        ReadStatusRecord(old, loaded, loadedMarks, tail);
        ASSERT_NE(loaded.Find("seen"), nullptr) << c.version;
        EXPECT_EQ(loadedMarks.IsRead("seen.vks", 5, 0), c.marksRead) << c.version;

        TMemoryStream again;
        WriteStatusRecord(again, loaded, loadedMarks, tail);
        const std::string bytes = again.AsString();
        EXPECT_EQ(bytes.size() >= parts.size() && bytes.compare(bytes.size() - parts.size(), parts.size(), parts) == 0,
                  c.partsKept)
            << c.version;
        EXPECT_EQ(bytes.substr(0, 9), "Status103");
        if (c.version == 103) {
            EXPECT_EQ(bytes, OldRecord(103, vars, marks, parts));
        }
    }
}

TEST(StatusRecord, DamagedReadMarksAreAnError) {
    TParamCollection vars;
    DeclareSeenAndGame(vars);
    TVeskReadList marks;
    marks.Arm("msg", "seen.vks", 0, 5);
    marks.Commit("msg");
    std::string record = OldRecord(103, vars, marks, "");
    record.resize(record.size() - 3);  // the armed mark's box name is cut short
    TMemoryStream s = StreamOf(record);
    TParamCollection loaded;
    TVeskReadList loadedMarks;
    TStatusTail tail;
    EXPECT_THROW(ReadStatusRecord(s, loaded, loadedMarks, tail), EStreamError);
    EXPECT_EQ(loadedMarks.Count(), 0);
}

}  // namespace
}  // namespace vesk
