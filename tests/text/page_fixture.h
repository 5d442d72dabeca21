#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "gfx/dibx.h"
#include "text/fontpixel_manager.h"
#include "text/inline_picture.h"
#include "text/qsword.h"
#include "text/wd_page.h"
#include "text/wd_row.h"
#include "values/param_collection.h"

namespace vesk::test {

// Pictures made in memory: each name has a size and frames of one colour
// each, with their delays.
class TTestPictures : public TInlinePictureSource {
public:
    struct TSpec {
        int Width = 1, Height = 1;
        std::vector<TPixel> Colours{0xFFFFFF};
        std::vector<std::int32_t> Delays{1};
    };
    std::map<std::string, TSpec> Specs;
    int Opened = 0;

    std::unique_ptr<TInlinePicture> Open(const std::string& name) override {
        const auto it = Specs.find(name);
        if (it == Specs.end()) return nullptr;
        ++Opened;
        return std::make_unique<TPicture>(it->second);
    }

private:
    class TPicture : public TInlinePicture {
    public:
        explicit TPicture(const TSpec& spec) : spec_(spec) {
            for (const TPixel c : spec.Colours) {
                auto s = std::make_unique<TDIBX>(spec.Width, spec.Height, 32);
                s->Fill(c);
                frames_.push_back(std::move(s));
            }
        }
        std::int32_t Width() const override { return spec_.Width; }
        std::int32_t Height() const override { return spec_.Height; }
        int FrameCount() const override { return static_cast<int>(frames_.size()); }
        TInlineFrame Frame(int i) const override {
            return {frames_[std::size_t(i)].get(), nullptr, spec_.Delays[std::size_t(i)]};
        }
        void ReleaseSurfaces() override {}
        void ReloadSurfaces() override {}

    private:
        TSpec spec_;
        std::vector<std::unique_ptr<TDIBX>> frames_;
    };
};

// One glyph cache over the installed fonts for every test that draws.
inline TFontPixelManager& SharedGlyphCache() {
    static TFontPixelManager cache;
    return cache;
}

// An engine with 10-pixel cells, its pictures and its pages.
struct TPageFixture {
    TParamCollection vars;
    TTestPictures pictures;
    TQsWord engine;
    TWdPageList pages;

    TPageFixture() {
        vars.TextDelay = 0;
        engine.Variables = &vars;
        engine.Pictures = &pictures;
        engine.GlyphCache = &SharedGlyphCache();
        engine.DefaultSize = 10;
        engine.PageHeight = 1000;
    }
    ~TPageFixture() { pages.clear(); }

    // Parses UTF-8 markup and lays it out into fresh pages.
    void Lay(const std::string& utf8) {
        pages.clear();
        engine.Parse({Utf8ToSjis(utf8)});
        engine.ExpandVars(0, -1);
        engine.Layout(pages);
    }
    TWdPage& Page(int i = 0) { return *pages.at(std::size_t(i)); }
};

// A row in one readable word: characters as UTF-8, a line break as "⏎",
// an indent filler as "_", an image as "[name]", an event as "{text}".
inline std::string RowText(const TWdRow& row) {
    std::string out;
    for (int i = 0; i < row.ChildCount(); ++i) {
        const TWdGlyph& g = *row.Child(i);
        switch (g.ClassCode()) {
            case WD_CHAR: out += SjisToUtf8(g.Text()); break;
            case WD_RETURN: out += "⏎"; break;
            case WD_IMG: out += "[" + g.NameText() + "]"; break;
            case WD_EVENT: out += "{" + SjisToUtf8(g.NameText()) + "}"; break;
            case 0: out += "_"; break;
            default: break;
        }
    }
    return out;
}

// Every page's rows, rows joined by "|", pages by " / ".
inline std::string PagesText(const TWdPageList& pages) {
    std::string out;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p) out += " / ";
        for (int r = 0; r < pages[p]->RowCount(); ++r) out += (r ? "|" : "") + RowText(pages[p]->Row(r));
    }
    return out;
}

}  // namespace vesk::test
