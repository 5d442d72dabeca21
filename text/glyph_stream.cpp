// The stored glyph list: an optional "QsWord" header with the format
// version, the decorations, then the glyphs by class code. Every older
// version is read by its own rules; the newest is written.
#include <cstdio>
#include <cstring>

#include "common/error.h"
#include "common/stream_io.h"
#include "text/qsword.h"
#include "text/wd_char.h"
#include "text/wd_img.h"
#include "text/wd_ops.h"
#include "text/wd_var.h"

namespace vesk {

namespace {

constexpr char kMagic[] = "QsWord";
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
constexpr std::size_t kHeaderSize = kMagicSize + 3;
constexpr int kNewestVersion = 102;

// No message page comes near this many glyphs; a count past it is damage,
// refused before the glyphs (which are larger than their stored bytes) are
// made.
constexpr std::int32_t kMaxStoredGlyphs = 1 << 20;

// Smallest stored decoration: before version 100 and from it on.
constexpr std::int64_t kOldDecorationBytes = 4 * 4 + 3 + 2 * 4;
constexpr std::int64_t kDecorationBytes = 4 * 4 + 2 + 4 + 2 * 4 + 2 * 4;

int ReadVersion(TStream& s) {
    char header[kHeaderSize];
    const std::int64_t start = s.Position();
    if (s.Read(header, kHeaderSize) != std::int64_t(kHeaderSize) || std::memcmp(header, kMagic, kMagicSize) != 0) {
        s.SetPosition(start);
        return 0;
    }
    int version = 0;
    for (std::size_t i = kMagicSize; i < kHeaderSize; ++i) {
        if (header[i] < '0' || header[i] > '9') throw EStreamError("glyph list version is not a number");
        version = version * 10 + (header[i] - '0');
    }
    return version;
}

TDecorate ReadDecoration(TStream& s, int version) {
    TDecorate d;
    // The stored count is what the writer's glyphs held; the reader's
    // glyphs count their own references as they take them.
    (void)ReadInt32(s);
    d.Color = ReadInt32(s);
    d.BColor = ReadInt32(s);
    d.Size = ReadInt32(s);
    d.Style = ReadByte(s);
    d.NoBreak = ReadByte(s);
    // Old lists only knew a border or none.
    d.Border = version >= 100 ? ReadInt32(s) : (ReadByte(s) != 0 ? 1 : 0);
    d.FontName = ReadString(s);
    d.Ruby = ReadString(s);
    if (version >= 100) {
        d.Shadow = ReadInt32(s);
        d.SColor = ReadInt32(s);
    } else {
        d.Shadow = 0;
        d.SColor = 0;
    }
    return d;
}

void WriteDecoration(TStream& s, const TDecorate& d, std::int32_t refCount) {
    WriteInt32(s, refCount);
    WriteInt32(s, d.Color);
    WriteInt32(s, d.BColor);
    WriteInt32(s, d.Size);
    WriteByte(s, d.Style);
    WriteByte(s, d.NoBreak);
    WriteInt32(s, d.Border);
    WriteString(s, d.FontName);
    WriteString(s, d.Ruby);
    WriteInt32(s, d.Shadow);
    WriteInt32(s, d.SColor);
}

std::unique_ptr<TWdGlyph> NewStoredGlyph(std::uint8_t code, TQsWord& engine) {
    switch (code) {
        case WD_CHAR: return std::make_unique<TWdChar>(engine);
        case WD_ALIGN: return std::make_unique<TWdOpeAlign>(engine);
        case WD_RETURN: return std::make_unique<TWdOpeReturn>(engine);
        case WD_INDENT: return std::make_unique<TWdOpeIndent>(engine);
        case WD_UNDENT: return std::make_unique<TWdOpeUndent>(engine);
        case WD_EVENT: return std::make_unique<TWdOpeEvent>(engine);
        case WD_VAR: return std::make_unique<TWdOpeVar>(engine);
        case WD_IMG: return std::make_unique<TWdImg>(engine);
        default: return nullptr;
    }
}

bool IsStored(const TWdGlyph& g) { return g.ClassCode() != 0 && !g.InsertedByVar(); }

}  // namespace

void TQsWord::AppendFromStream(TStream& s) {
    const std::size_t glyphCount = glyphs_.size();
    const int decorationCount = decorations_.Count();
    try {
        ReadFromStream(s);
    } catch (...) {
        glyphs_.resize(glyphCount);
        decorations_.TruncateTo(decorationCount);
        throw;
    }
}

void TQsWord::ReadFromStream(TStream& s) {
    TGlyphReadContext context;
    context.Version = ReadVersion(s);
    context.DecorateBase = decorations_.Count();

    const std::int32_t decorations = ReadInt32(s);
    CheckCount(s, decorations, context.Version >= 100 ? kDecorationBytes : kOldDecorationBytes);
    for (std::int32_t i = 0; i < decorations; ++i) decorations_.Append(ReadDecoration(s, context.Version));

    const std::int32_t glyphs = ReadInt32(s);
    CheckCount(s, glyphs, 1);
    if (glyphs > kMaxStoredGlyphs) throw EStreamError("glyph list holds too many glyphs");
    for (std::int32_t i = 0; i < glyphs; ++i) {
        std::unique_ptr<TWdGlyph> g = NewStoredGlyph(ReadByte(s) & 0x7F, *this);
        if (!g) continue;
        g->ReadData(s, context);
        glyphs_.push_back(std::move(g));
    }
}

void TQsWord::SaveToStream(TStream& s) const {
    char header[kHeaderSize + 1];
    std::snprintf(header, sizeof header, "%s%03d", kMagic, kNewestVersion);
    s.WriteBuffer(header, kHeaderSize);

    WriteInt32(s, decorations_.Count());
    for (int i = 0; i < decorations_.Count(); ++i) WriteDecoration(s, decorations_.Item(i), decorations_.RefCount(i));

    std::int32_t stored = 0;
    for (const auto& g : glyphs_) stored += IsStored(*g);
    WriteInt32(s, stored);
    for (const auto& g : glyphs_) {
        if (!IsStored(*g)) continue;
        WriteByte(s, g->ClassCode());
        g->WriteData(s);
    }
}

}  // namespace vesk
