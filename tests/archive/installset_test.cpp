#include <gtest/gtest.h>

#include "archive/installset.h"
#include "archive_fixture.h"
#include "common/error.h"

namespace vesk::test {
namespace {

// Little-endian bytes of an install set, written field by field.
struct SetBytes {
    Bytes b;
    SetBytes& Head(const char* h) {
        b.insert(b.end(), h, h + 5);
        return *this;
    }
    SetBytes& I32(std::int32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    SetBytes& I64(std::int64_t v) {
        for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
        return *this;
    }
    SetBytes& U8(std::uint8_t v) {
        b.push_back(v);
        return *this;
    }
    SetBytes& Str(const std::string& s) {
        I32(static_cast<std::int32_t>(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    // Fields 1 to 18 with one row; values are 4 bytes when narrow.
    SetBytes& Common(bool narrow) {
        I32(1).Str("My Game").Str("s3").Str("s4").Str("s5").U8(6).Str("s7").U8(8).I32(1);
        Str("s10").I32(11).U8(12).U8(13).Str("s14").Str("s15");
        for (int i = 0; i < 8; ++i) narrow ? I32(100 + i) : I64(0x100000000ll + i);  // the row, then field 17
        return U8(18);
    }
};

TVeskInstallSet Load(const Bytes& bytes) {
    TMemoryStream m(bytes);
    TVeskInstallSet s;
    s.LoadFromStream(m);
    EXPECT_EQ(m.Remaining(), 0);
    return s;
}

TEST(InstallSet, FormatWithoutHeadStopsAfterField18) {
    const TVeskInstallSet s = Load(SetBytes().Common(true).b);
    EXPECT_EQ(s.Format, 0);
    EXPECT_EQ(s.DiskIndex, 1);
    EXPECT_EQ(s.SetName, "My Game");
    EXPECT_EQ(s.Str15, "s15");
    ASSERT_EQ(s.Rows.size(), 1u);
    EXPECT_EQ(s.Rows[0].v[3], 103);
    EXPECT_EQ(s.Values17.v[0], 104);
    EXPECT_EQ(s.Byte18, 18);
    EXPECT_EQ(s.Installed, 0);
}

TEST(InstallSet, EachFormatAddsItsFields) {
    EXPECT_EQ(Load(SetBytes().Head("is099").Common(true).b).Rows[0].v[0], 100);
    const TVeskInstallSet f101 = Load(SetBytes().Head("is101").Common(false).U8(19).b);
    EXPECT_EQ(f101.Rows[0].v[1], 0x100000001ll);
    EXPECT_EQ(f101.Byte19, 19);
    const TVeskInstallSet f102 =
        Load(SetBytes().Head("is102").Common(false).U8(19).I32(3).Str("a.sav").Str("").Str("b.fnk").b);
    EXPECT_EQ(f102.CreatedFiles, (std::vector<std::string>{"a.sav", "b.fnk"}));  // empty names dropped
    const TVeskInstallSet f103 = Load(SetBytes().Head("is103").Common(false).U8(19).I32(0).U8(1).b);
    EXPECT_EQ(f103.Installed, 1);
    const TVeskInstallSet f107 = Load(SetBytes()
                                          .Head("is107")
                                          .Common(false)
                                          .U8(19)
                                          .I32(0)
                                          .U8(1)
                                          .U8(22)
                                          .U8(23)
                                          .I32(2)
                                          .Str("x")
                                          .Str("")
                                          .Str("s25")
                                          .b);
    EXPECT_EQ(f107.Byte23, 23);
    EXPECT_EQ(f107.Strings24, (std::vector<std::string>{"x", ""}));
    EXPECT_EQ(f107.Str25, "s25");
}

TEST(InstallSet, WriterWritesFormat108AndEveryFieldRoundTrips) {
    TVeskInstallSet s = Load(SetBytes().Head("is102").Common(false).U8(19).I32(1).Str("old.sav").b);
    s.Installed = 1;
    s.Byte22 = 2;
    s.Byte23 = 3;
    s.Strings24 = {"p", "q"};
    s.Str25 = "25";
    s.Str26 = "26";
    s.Str27 = "27";
    EXPECT_TRUE(s.AddCreatedFile("new.fnk"));
    EXPECT_FALSE(s.AddCreatedFile("OLD.SAV"));
    TMemoryStream out;
    s.SaveToStream(out);
    EXPECT_EQ(out.AsString().substr(0, 5), "is108");

    const TVeskInstallSet back = Load(out.Bytes());
    EXPECT_EQ(back.Format, 108);
    EXPECT_EQ(back.SetName, s.SetName);
    EXPECT_EQ(back.Str3 + back.Str4 + back.Str5 + back.Str7 + back.Str10 + back.Str14, "s3s4s5s7s10s14");
    EXPECT_EQ(back.Byte6 + back.Byte8 + back.Int11 + back.Byte12 + back.Byte13, 6 + 8 + 11 + 12 + 13);
    EXPECT_EQ(back.Rows[0].v[2], 0x100000002ll);
    EXPECT_EQ(back.Values17.v[3], 0x100000007ll);
    EXPECT_EQ(back.Byte18 + back.Byte19 + back.Byte22 + back.Byte23, 18 + 19 + 2 + 3);
    EXPECT_EQ(back.CreatedFiles, (std::vector<std::string>{"old.sav", "new.fnk"}));
    EXPECT_EQ(back.Installed, 1);
    EXPECT_EQ(back.Strings24, s.Strings24);
    EXPECT_EQ(back.Str25 + back.Str26 + back.Str27, "252627");
}

TEST(InstallSet, DamagedFilesAreErrors) {
    const Bytes good = SetBytes().Head("is103").Common(false).U8(19).I32(0).U8(1).b;
    Bytes manyRows = good;
    // Row count (field 9) sits after the head, disk index, four strings and two bytes.
    const std::size_t rowCount = 5 + 4 + (4 + 7) + 3 * (4 + 2) + 1 + (4 + 2) + 1;
    manyRows[rowCount + 3] = 0x7F;
    Bytes manyNames = SetBytes().Head("is102").Common(false).U8(19).I32(0x7FFFFFF0).b;
    for (const Bytes& bad : {Bytes(good.begin(), good.end() - 1), manyRows, manyNames, Bytes{}, B("is1")}) {
        TMemoryStream m(bad);
        TVeskInstallSet s;
        EXPECT_THROW(s.LoadFromStream(m), EStreamError);
    }
}

}  // namespace
}  // namespace vesk::test
