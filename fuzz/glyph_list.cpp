// Stored glyph lists read from arbitrary bytes, appended twice (the second
// time behind the first one's decorations), copied, written and read back.
// Insertions are not evaluated: stored operation lists are the evaluator's
// own fuzz target.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "text/qsword.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vesk;
    TQsWord engine;
    engine.Parse({"<B>a</B>b"});
    for (int pass = 0; pass < 2; ++pass) {
        const int glyphs = engine.Count(), decorations = engine.Decorations().Count();
        TConstMemoryStream in(data, static_cast<std::int64_t>(size));
        try {
            engine.AppendFromStream(in);
        } catch (const EVeskError&) {
            // A damaged list leaves the engine as it was.
            if (engine.Count() != glyphs || engine.Decorations().Count() != decorations) __builtin_trap();
            return 0;
        }
    }
    TQsWord copy;
    copy.AppendCopies(engine, 0, -1);
    TMemoryStream out;
    try {
        copy.SaveToStream(out);
    } catch (const EVeskError&) {
        return 0;  // an old compiled insertion has no text to write
    }
    out.SetPosition(0);
    TQsWord again;
    again.AppendFromStream(out);
    if (again.Count() != engine.Count()) __builtin_trap();
    return 0;
}
