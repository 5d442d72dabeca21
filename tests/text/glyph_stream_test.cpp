// The stored glyph list: the newest form round trip, every older version
// by its own rules, decoration indices of appended lists, and damage.
#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream_io.h"
#include "text/tag_values.h"
#include "text_fixture.h"
#include "values/compiler.h"
#include "values/vesk_parser.h"

using namespace vesk;
using vesk::test::Describe;
using vesk::test::TEngineFixture;

namespace {

// Stored bytes written by hand.
struct TBytes {
    TMemoryStream s;
    TBytes& Raw(const std::string& v) {
        s.WriteBuffer(v.data(), std::int64_t(v.size()));
        return *this;
    }
    TBytes& Int(std::int32_t v) { return WriteInt32(s, v), *this; }
    TBytes& Byte(std::uint8_t v) { return WriteByte(s, v), *this; }
    TBytes& U16(std::uint16_t v) { return WriteUInt16(s, v), *this; }
    TBytes& Str(const std::string& v) { return WriteString(s, v), *this; }
    TBytes& Ops(const std::string& expression) {
        TVeskParser list;
        CompileExpression(expression, list);
        list.SaveToStream(s);
        return *this;
    }
    std::string Bytes() const { return s.AsString(); }
};

std::string Saved(const TQsWord& engine) {
    TMemoryStream s;
    engine.SaveToStream(s);
    return s.AsString();
}

void Load(TQsWord& engine, const std::string& bytes) {
    TConstMemoryStream in(bytes.data(), std::int64_t(bytes.size()));
    engine.AppendFromStream(in);
}

constexpr const char* kRich =
    "<DIV ALIGN=CENTER><A HREF=\"p:1\"><FONT SIZE=20 COLOR=#FF8000 NAME=\"ＭＳ 明朝\" BORDER=2 SHADOW=1 "
    "SCOLOR=#0000FF BCOLOR=#010101>漢<B>a</B></FONT></A><RUBY VALUE=\"る\"><NOBR>b</NOBR></RUBY>"
    "<WAIT VALUE=-3>c</WAIT><BR><INDENT>d<UNDENT><EVENT VALUE=go><EVENT VALUE=stop END>"
    "<VAR NAME=\"x + 1\"><IMG SRC=\"pic\\a.png\" ALIGN=CENTER><BR CLEAR></DIV>";

}  // namespace

TEST(GlyphStream, NewestFormRoundTrips) {
    TEngineFixture f, g;
    f.vars.AddNamed(PT_INT, "x").Value().SetInt(1);
    f.Parse(kRich);
    f.engine.ExpandVars(0, -1);
    const std::string bytes = Saved(f.engine);
    ASSERT_EQ(bytes.substr(0, 9), "QsWord102");

    Load(g.engine, bytes);
    f.engine.RemoveVars(0, -1);  // insertions are not stored
    ASSERT_EQ(Describe(g.engine), Describe(f.engine));
    for (int i = 0; i < f.engine.Count(); ++i) {
        SCOPED_TRACE(i);
        const TWdGlyph &a = f.At(i), &b = g.At(i);
        EXPECT_EQ(a.Code(), b.Code());
        EXPECT_EQ(a.Link(), b.Link());
        // An END event read back answers its flag as its wait (below).
        EXPECT_EQ(a.Wait(), a.ClassCode() == WD_EVENT ? 0 : b.Wait());
        EXPECT_EQ(a.Align(), b.Align());
        EXPECT_EQ(a.ClearFlag(), b.ClearFlag());
        ASSERT_EQ(bool(a.Decoration() && *a.Decoration()), bool(b.Decoration() && *b.Decoration()));
        if (a.Decoration() && *a.Decoration()) {
            EXPECT_TRUE((*a.Decoration())->SameLook(**b.Decoration()));
        }
    }
    // The END event comes back as a flag and goes out as the prefix again.
    EXPECT_EQ(g.At(10).NameText(), "stop");
    EXPECT_EQ(g.At(10).Wait(), 1);
    EXPECT_EQ(Saved(g.engine), Saved(f.engine));
}

TEST(GlyphStream, VersionZeroHasNoHeaderAndOldDecorations) {
    TEngineFixture f;
    f.vars.AddNamed(PT_INT, "x").Value().SetInt(4);
    const std::string bytes = TBytes()
                                  .Int(1)  // decorations
                                  .Int(3).Int(0x0000FF).Int(-1).Int(20).Byte(FS_BOLD).Byte(1).Byte(5)
                                  .Str("F").Str("R")
                                  .Int(6)  // glyphs
                                  .Byte(WD_CHAR).Str("L").Int(7).U16('a').Int(0)
                                  .Byte(0x80 | WD_UNDENT)  // the high bit is no part of the code
                                  .Byte(8)                  // no such class: nothing read
                                  .Byte(WD_VAR).Int(0).Ops("x")
                                  .Byte(WD_VAR).Int(-1).Ops("x + 1")
                                  .Byte(WD_RETURN).Byte(1)
                                  .Bytes();
    Load(f.engine, bytes);
    ASSERT_EQ(Describe(f.engine), "a<UNDENT><VAR x><VAR ><CLEAR>");
    const TDecorate& d = **f.At(0).Decoration();
    EXPECT_EQ(d.Color, 0x0000FF);
    EXPECT_EQ(d.Size, 20);
    EXPECT_EQ(d.Style, FS_BOLD);
    EXPECT_EQ(d.NoBreak, 1);
    EXPECT_EQ(d.Border, 1);  // a border flag
    EXPECT_EQ(d.FontName, "F");
    EXPECT_EQ(d.Ruby, "R");
    EXPECT_EQ(d.Shadow, 0);
    EXPECT_EQ(d.SColor, 0);
    EXPECT_EQ(f.At(0).Link(), "L");
    EXPECT_EQ(f.At(0).Wait(), 7);
    // The reference count is the reader's own.
    EXPECT_EQ(f.engine.Decorations().RefCount(0), 2);

    // Stored operation lists are evaluated as they are; a plain name gets
    // its source text back.
    f.engine.ExpandVars(0, -1);
    EXPECT_EQ(Describe(f.engine), "a<UNDENT><VAR x>{4}<VAR >{5}<CLEAR>");
    EXPECT_EQ(f.At(4).Size(), 0);
    // The newest form has no place for a compiled list without its text.
    TMemoryStream out;
    EXPECT_THROW(f.engine.SaveToStream(out), EVeskError);
}

TEST(GlyphStream, Versions100And101) {
    const struct {
        int version;
        std::int32_t wait;
        const char* link;
    } cases[] = {{100, 0, ""}, {101, 11, "k"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        TEngineFixture f;
        f.vars.AddNamed(PT_STR, "name").Value().SetStr("Yu");
        TBytes b;
        b.Raw("QsWord" + std::to_string(c.version))
            .Int(1)
            .Int(1).Int(-1).Int(0x808080).Int(0).Byte(0).Byte(0).Int(3).Str("").Str("").Int(2).Int(0x00FF00)
            .Int(1)
            .Byte(WD_VAR).Int(0);
        if (c.version > 100) b.Int(c.wait).Str(c.link);
        b.Ops("name");
        Load(f.engine, b.Bytes());
        ASSERT_EQ(Describe(f.engine), "<VAR name>");
        EXPECT_EQ(f.At(0).BorderWidth(), 3);
        EXPECT_EQ(f.At(0).ShadowWidth(), 2);
        EXPECT_EQ(f.At(0).ShadowColor(), 0x00FF00);
        EXPECT_EQ(f.At(0).BorderColor(), 0x808080);
        f.engine.ExpandVars(0, -1);
        ASSERT_EQ(Describe(f.engine), "<VAR name>{Y}{u}");
        EXPECT_EQ(f.At(1).Wait(), c.wait);
        EXPECT_EQ(f.At(1).Link(), c.link);
        // Read old, written new: the insertion now carries its text.
        TEngineFixture g;
        Load(g.engine, Saved(f.engine));
        EXPECT_EQ(Describe(g.engine), "<VAR name>");
        EXPECT_EQ(g.At(0).Wait(), c.wait);
    }
}

TEST(GlyphStream, AppendedListsNameTheirOwnDecorations) {
    TEngineFixture f, source;
    source.Parse("<FONT SIZE=31>p</FONT>q");
    const std::string bytes = Saved(source.engine);
    f.Parse("<FONT SIZE=5>z</FONT>");
    Load(f.engine, bytes);
    Load(f.engine, bytes);
    ASSERT_EQ(Describe(f.engine), "zpqpq");
    EXPECT_EQ(f.At(0).Size(), 5);
    for (int i : {1, 3}) EXPECT_EQ(f.At(i).Size(), 31);
    for (int i : {2, 4}) EXPECT_EQ(f.At(i).Size(), 0);
    // A glyph without decoration is stored as such.
    const std::string none =
        TBytes().Raw("QsWord102").Int(0).Int(1).Byte(WD_CHAR).Str("").Int(0).U16(0x82A0).Int(-1).Bytes();
    TEngineFixture g;
    Load(g.engine, none);
    EXPECT_EQ(g.At(0).Decoration()->Get(), nullptr);
    EXPECT_EQ(g.At(0).Size(), 0);
    EXPECT_EQ(Saved(g.engine), none);
}

TEST(GlyphStream, DamagedListsLeaveTheEngineAsItWas) {
    TEngineFixture source;
    source.Parse(kRich);
    const std::string good = Saved(source.engine);
    const std::string badLists[] = {
        TBytes().Raw("QsWord1x2").Int(0).Int(0).Bytes(),
        TBytes().Raw("QsWord102").Int(-1).Bytes(),
        TBytes().Raw("QsWord102").Int(0x7FFFFFFF).Bytes(),
        TBytes().Raw("QsWord102").Int(0).Int(0x7FFFFFFF).Byte(WD_INDENT).Bytes(),
        TBytes().Raw("QsWord102").Int(0).Int(1).Byte(WD_CHAR).Str("").Int(0).U16('a').Int(0).Bytes(),
        TBytes().Raw("QsWord102").Int(0).Int(1).Byte(WD_CHAR).Str("").Int(0).U16('a').Int(-2).Bytes(),
        TBytes().Raw("QsWord102").Int(0).Int(1).Byte(WD_EVENT).Int(1000).Bytes(),
        TBytes().Raw("QsWord100").Int(0).Int(1).Byte(WD_VAR).Int(-1).Int(0x7FFFFFFF).Bytes(),
    };
    std::vector<std::string> cases(std::begin(badLists), std::end(badLists));
    for (std::size_t n = 0; n < good.size(); ++n) cases.push_back(good.substr(0, n));
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(testing::Message() << bytes.size() << " bytes");
        TEngineFixture f;
        f.Parse("<FONT SIZE=9>q</FONT>");
        EXPECT_THROW(Load(f.engine, bytes), EStreamError);
        EXPECT_EQ(Describe(f.engine), "q");
        EXPECT_EQ(f.engine.Decorations().Count(), 1);
    }
}
