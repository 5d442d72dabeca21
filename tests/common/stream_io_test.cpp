#include "common/stream_io.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"

using namespace vesk;

TEST(StreamIo, PrimitivesAreLittleEndianAndRoundTrip) {
    TMemoryStream s;
    WriteInt32(s, -2);
    WriteInt64(s, 0x0102030405060708LL);
    WriteString(s, "abc");
    WriteFlag(s, true);
    WriteExtended(s, 1.5L);
    const std::vector<std::uint8_t> head(s.Bytes().begin(), s.Bytes().begin() + 12);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(s.Size(), 4 + 8 + 4 + 3 + 1 + 10);

    s.SetPosition(0);
    EXPECT_EQ(ReadInt32(s), -2);
    EXPECT_EQ(ReadInt64(s), 0x0102030405060708LL);
    EXPECT_EQ(ReadString(s), "abc");
    EXPECT_TRUE(ReadFlag(s));
    EXPECT_EQ(ReadExtended(s), 1.5L);
    EXPECT_EQ(s.Remaining(), 0);
}

TEST(StreamIo, ExtendedIsTheTenByteX87Form) {
    TMemoryStream s;
    WriteExtended(s, 1.0L);
    // 1.0 = mantissa 0x8000000000000000, exponent 0x3FFF.
    EXPECT_EQ(s.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
}

TEST(StreamIo, LyingLengthsRaiseInsteadOfAllocating) {
    struct Case { std::vector<std::uint8_t> bytes; };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0x7F, 'a'}},  // 2 GiB string with one byte left
        {{0xFF, 0xFF, 0xFF, 0xFF}},       // negative length
        {{0x05, 0x00, 0x00, 0x00, 'a', 'b'}},
        {{0x01, 0x00}},                   // the length itself is cut short
    };
    for (const Case& c : cases) {
        TMemoryStream s(c.bytes);
        EXPECT_THROW(ReadString(s), EStreamError);
    }
    TMemoryStream s(std::vector<std::uint8_t>(8));
    EXPECT_NO_THROW(CheckCount(s, 2, 4));
    EXPECT_THROW(CheckCount(s, 3, 4), EStreamError);
    EXPECT_THROW(CheckCount(s, -1, 4), EStreamError);
}

TEST(Sjis, CharactersCountLeadAndTrailAsOne) {
    const std::string s = "a\x82\xA0" "b\x83";  // a, hiragana a, b, broken lead byte at the end
    EXPECT_EQ(SjisCharCount(s), 4u);
    EXPECT_EQ(SjisByteOffset(s, 2), 3u);
    // 0x83 0x41 is katakana; the trail byte 'A' must not be lower-cased.
    EXPECT_EQ(SjisLower("AB\x83\x41"), "ab\x83\x41");
    EXPECT_TRUE(SjisSameText("CG\\Title.png", "cg\\title.PNG"));
}

TEST(Cp932, ConvertsBothWaysAndReplacesBrokenBytes) {
    EXPECT_EQ(Utf8ToSjis("終了"), "\x8F\x49\x97\xB9");
    EXPECT_EQ(SjisToUtf8("\x8F\x49\x97\xB9"), "終了");
    EXPECT_EQ(SjisToUtf8("a\x80" "b"), "a?b");
    EXPECT_EQ(&Sj("警告"), &Sj("警告"));
}
