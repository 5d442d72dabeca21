// Arbitrary message markup through the parser, variable insertion, the
// glyph list writer and the reader: whatever the text, the stored list
// reads back to the glyphs it was written from.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/error.h"
#include "common/stream.h"
#include "text/qsword.h"
#include "values/param_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vesk;
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TParamCollection vars;
    vars.AddNamed(PT_INT, "i").Value().SetInt(12);
    vars.AddNamed(PT_STR, "s").Value().SetStr("a\rb\x01");
    TQsWord engine;
    engine.Variables = &vars;
    engine.NameValues = {"n=x\x01y", "=z"};
    try {
        engine.Parse({text, text});
    } catch (const EVeskError&) {
        // A link without its target ends the parse; what came before stays.
    }
    engine.ExpandVars(0, -1);
    for (int i = 0; i < engine.Count(); ++i) (void)engine.Glyph(i).Text();
    engine.RemoveVars(0, -1);

    TMemoryStream stored;
    engine.SaveToStream(stored);
    stored.SetPosition(0);
    TQsWord copy;
    copy.AppendFromStream(stored);
    if (copy.Count() != engine.Count() || copy.Decorations().Count() != engine.Decorations().Count())
        __builtin_trap();
    for (int i = 0; i < copy.Count(); ++i)
        if (copy.Glyph(i).ClassCode() != engine.Glyph(i).ClassCode() || copy.Glyph(i).Text() != engine.Glyph(i).Text())
            __builtin_trap();
    return 0;
}
