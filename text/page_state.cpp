// A page's display state in the owner's save data: how far the reveal got
// and the alpha of every glyph that shows.
#include <algorithm>
#include <optional>

#include "common/error.h"
#include "common/stream_io.h"
#include "text/qsword.h"
#include "text/wd_page.h"
#include "text/wd_row.h"
#include "text/wd_var.h"

namespace vesk {

namespace {

// The glyphs whose alpha the state holds: what the text wrote, and for a
// variable insertion the alpha its characters share.
bool HasStoredAlpha(const TWdGlyph& g) {
    const std::uint8_t c = g.ClassCode();
    return ((c == WD_CHAR || c == WD_IMG) && !g.InsertedByVar()) || c == WD_VAR;
}

}  // namespace

void TWdPage::SaveState(TStream& s) const {
    WriteInt32(s, Scroll);
    WriteInt32(s, revealRow_);
    WriteInt32(s, revealGlyph_);
    WriteFlag(s, endReported_);
    WriteString(s, pendingEvent_);
    // A glyph still fading in is saved as shown: a loaded page does not
    // fade again.
    auto stored = [&](const TWdGlyph& g) {
        return std::find(fading_.begin(), fading_.end(), &g) != fading_.end() ? 255 : g.Alpha();
    };
    ForEachGlyph([&](const TWdGlyph& g) {
        if (!HasStoredAlpha(g)) return;
        if (g.ClassCode() != WD_VAR) {
            WriteInt32(s, stored(g));
            return;
        }
        const auto& inserted = static_cast<const TWdOpeVar&>(g).Inserted();
        WriteInt32(s, inserted.empty() ? 0 : stored(*inserted.front()));
    });
}

void TWdPage::LoadState(TStream& s) {
    const std::int32_t scroll = ReadInt32(s);
    const std::int32_t row = ReadInt32(s), glyph = ReadInt32(s);
    const bool ended = ReadFlag(s);
    std::string pending = ReadString(s);
    const bool inRow = row >= 0 && row < RowCount() && glyph >= 0 && glyph < Row(row).ChildCount();
    if (!inRow && !(row == RowCount() && glyph == 0))
        throw EStreamError("a page's display state names a reveal position the page does not have");
    std::vector<std::int32_t> alphas;
    ForEachGlyph([&](const TWdGlyph& g) {
        if (HasStoredAlpha(g)) alphas.push_back(ReadInt32(s));
    });

    Scroll = scroll;
    revealRow_ = row;
    revealGlyph_ = glyph;
    endReported_ = ended;
    pendingEvent_ = std::move(pending);
    eventRevealed_ = false;
    fading_.clear();
    animated_.clear();
    std::size_t next = 0;
    // The characters of an insertion take its alpha; those whose insertion
    // lies on an earlier page keep theirs.
    std::optional<std::int32_t> shared;
    ForEachGlyph([&](TWdGlyph& g) {
        if (g.InsertedByVar()) {
            if (shared) g.SetAlpha(*shared);
            return;
        }
        if (!HasStoredAlpha(g)) return;
        const std::int32_t a = alphas[next++];
        if (g.ClassCode() == WD_VAR) shared = a;
        g.SetAlpha(a);
        if (g.Animated() && g.Alpha() > 0) animated_.push_back(&g);
    });
}

}  // namespace vesk
