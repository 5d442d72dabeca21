#pragma once

#include <string>
#include <vector>

#include "common/cp932.h"
#include "text/qsword.h"
#include "text/wd_composite.h"
#include "text/wd_glyph.h"
#include "values/param_collection.h"

namespace vesk::test {

// The glyph list in one readable line: characters as UTF-8 text, inserted
// ones in braces, operations as tags ("<BR>", "<CLEAR>", "<ALIGN 2>",
// "<INDENT>", "<UNDENT>", "<EVENT text>", "<VAR expr>",
// "<IMG name 5>").
inline std::string Describe(const TQsWord& engine) {
    std::string out;
    for (int i = 0; i < engine.Count(); ++i) {
        const TWdGlyph& g = engine.Glyph(i);
        const std::string name = SjisToUtf8(g.NameText());
        switch (g.ClassCode()) {
            case WD_CHAR:
                out += g.InsertedByVar() ? "{" + SjisToUtf8(g.Text()) + "}" : SjisToUtf8(g.Text());
                break;
            case WD_RETURN:
                out += g.InsertedByVar() ? "{BR}" : g.ClearFlag() ? "<CLEAR>" : "<BR>";
                break;
            case WD_ALIGN: out += "<ALIGN " + std::to_string(g.Align()) + ">"; break;
            case WD_INDENT: out += "<INDENT>"; break;
            case WD_UNDENT: out += "<UNDENT>"; break;
            // Both forms of an END event read as markup writes them.
            case WD_EVENT: out += std::string("<EVENT ") + (g.Wait() ? "\x01" : "") + name + ">"; break;
            case WD_VAR: out += "<VAR " + name + ">"; break;
            case WD_IMG: out += "<IMG " + name + " " + std::to_string(g.Align()) + ">"; break;
            default: out += "<?>"; break;
        }
    }
    return out;
}

// An engine over a table of its own, fed UTF-8 markup.
struct TEngineFixture {
    TParamCollection vars;
    TQsWord engine;

    TEngineFixture() { engine.Variables = &vars; }

    std::string Parse(const std::string& utf8) {
        engine.Parse({Utf8ToSjis(utf8)});
        return Describe(engine);
    }
    TWdGlyph& At(int i) { return engine.Glyph(i); }
};

// A bare composite, standing in for rows and pages.
class TTestComposite : public TWdComposite {
public:
    using TWdComposite::TWdComposite;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TTestComposite>(engine);
    }
};

}  // namespace vesk::test
