#include "text/qsword.h"

#include <algorithm>

#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_sync.h"
#include "text/fontpixel_manager.h"
#include "text/wd_var.h"

namespace vesk {

void TPageSurfaces::Prepare(int width, int height, int bitCount) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (Colour.Width() != width || Colour.Height() != height || Colour.BitCount() != bitCount) {
        Colour.SetSize(width, height, bitCount);
        Alpha.SetSize(width, height, 8);
    }
    if (width == 0 || height == 0) return;
    Colour.Fill(0);
    Alpha.Fill(0);
}

void TPageSurfaces::Release() {
    Colour.SetSize(0, 0, Colour.BitCount());
    Alpha.SetSize(0, 0, 8);
    Holder = nullptr;
}

TQsWord::TQsWord() = default;

TQsWord::~TQsWord() = default;

void TQsWord::Append(std::unique_ptr<TWdGlyph> glyph) { glyphs_.push_back(std::move(glyph)); }

void TQsWord::Clear() {
    surfaces_.Holder = nullptr;
    glyphs_.clear();
    decorations_.Clear();
    NameValues.clear();
}

void TQsWord::SaveSettings(TStream& s) const {
    // Writing leaves the fields as they are; the copy only gives the
    // two-way pass something it may hold by reference.
    TQsWordSettings copy = *this;
    TStreamSync w = TStreamSync::Writer(s);
    copy.Sync(w);
}

void TQsWord::LoadSettings(TStream& s, int version) {
    TQsWordSettings read = *this;
    TStreamSync r = TStreamSync::Reader(s, version);
    read.Sync(r);
    static_cast<TQsWordSettings&>(*this) = read;
}

TFontPixelManager& TQsWord::Cache() const {
    TFontPixelManager* cache = GlyphCache ? GlyphCache : TFontPixelManager::Global();
    if (!cache) throw EVeskError("the text engine has no glyph cache");
    return *cache;
}

void TQsWord::AddDirty(const TRect& r) {
    if (!r.IsEmpty()) dirty_.push_back(r);
}

void TQsWord::ReleaseSurfaces() {
    surfaces_.Release();
    for (auto& g : glyphs_) g->ReleaseSurfaces();
}

void TQsWord::ReloadSurfaces() {
    for (auto& g : glyphs_) g->ReloadSurfaces();
}

int TQsWord::IndexOf(const TWdGlyph* glyph) const {
    for (int i = 0; i < Count(); ++i)
        if (glyphs_[std::size_t(i)].get() == glyph) return i;
    return -1;
}

std::optional<std::string> TQsWord::NameValue(std::string_view name) const {
    for (const std::string& line : NameValues) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && SjisSameText(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return std::nullopt;
}

TDecorateRef TQsWord::StoredDecoration(std::int32_t index, const TGlyphReadContext& context) {
    if (index == -1) return {};
    const std::int64_t at = std::int64_t(context.DecorateBase) + index;
    if (index < 0 || at >= decorations_.Count()) throw EStreamError("glyph names a decoration the list does not have");
    return decorations_.At(static_cast<int>(at));
}

bool TQsWord::ClampRange(int& first, int& last) const {
    first = std::max(first, 0);
    if (last < 0 || last >= Count()) last = Count() - 1;
    return first <= last;
}

namespace {

// Gives every insertion from first on the inserted glyphs that follow it.
void LinkInsertions(const std::vector<std::unique_ptr<TWdGlyph>>& glyphs, std::size_t first) {
    for (std::size_t i = first; i < glyphs.size(); ++i) {
        auto* var = dynamic_cast<TWdOpeVar*>(glyphs[i].get());
        if (!var) continue;
        std::vector<const TWdGlyph*> inserted;
        for (std::size_t j = i + 1; j < glyphs.size() && glyphs[j]->InsertedByVar(); ++j)
            inserted.push_back(glyphs[j].get());
        var->SetInserted(std::move(inserted));
    }
}

}  // namespace

void TQsWord::AppendCopies(const TQsWord& other, int first, int last) {
    if (!other.ClampRange(first, last)) return;
    const std::size_t start = glyphs_.size();
    for (int i = first; i <= last; ++i) glyphs_.push_back(other.Glyph(i).Clone(*this));
    LinkInsertions(glyphs_, start);
}

void TQsWord::ExpandVars(int first, int last) {
    if (!ClampRange(first, last)) return;
    // Every value is taken before anything moves, last insertion first,
    // then the list is rebuilt in one pass so that long texts with many
    // insertions stay linear.
    std::vector<std::vector<std::unique_ptr<TWdGlyph>>> fresh(static_cast<std::size_t>(last - first + 1));
    for (int i = last; i >= first; --i)
        if (auto* var = dynamic_cast<TWdOpeVar*>(glyphs_[static_cast<std::size_t>(i)].get()))
            fresh[static_cast<std::size_t>(i - first)] = var->Expand();

    std::vector<std::unique_ptr<TWdGlyph>> out;
    out.reserve(glyphs_.size());
    bool replacing = false;
    for (std::size_t i = 0; i < glyphs_.size(); ++i) {
        std::unique_ptr<TWdGlyph>& g = glyphs_[i];
        if (replacing && g->InsertedByVar()) continue;
        replacing = false;
        auto* var = dynamic_cast<TWdOpeVar*>(g.get());
        out.push_back(std::move(g));
        if (!var || int(i) < first || int(i) > last) continue;
        std::vector<const TWdGlyph*> inserted;
        for (auto& n : fresh[i - std::size_t(first)]) {
            inserted.push_back(n.get());
            out.push_back(std::move(n));
        }
        var->SetInserted(std::move(inserted));
        replacing = true;
    }
    glyphs_ = std::move(out);
}

void TQsWord::RemoveVars(int first, int last) {
    if (!ClampRange(first, last)) return;
    std::vector<std::unique_ptr<TWdGlyph>> out;
    out.reserve(glyphs_.size());
    bool removing = false;
    for (std::size_t i = 0; i < glyphs_.size(); ++i) {
        std::unique_ptr<TWdGlyph>& g = glyphs_[i];
        if (removing && g->InsertedByVar()) continue;
        auto* var = dynamic_cast<TWdOpeVar*>(g.get());
        removing = var && int(i) >= first && int(i) <= last;
        if (removing) var->SetInserted({});
        out.push_back(std::move(g));
    }
    glyphs_ = std::move(out);
}

int TQsWord::TextPositionOf(int index) const {
    int p = 0;
    for (int i = 0; i < std::min(index, Count()); ++i) p += Glyph(i).TextPositionCount();
    return p;
}

int TQsWord::GlyphAtTextPosition(int p) const {
    for (int i = 0; i < Count(); ++i) {
        if (p <= 0) return i;
        p -= Glyph(i).TextPositionCount();
    }
    return -1;
}

}  // namespace vesk
