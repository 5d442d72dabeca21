// Arbitrary source text through the expression compiler, its writer and one
// evaluation over a table holding only the system variables.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/error.h"
#include "values/compiler.h"
#include "values/param_collection.h"
#include "values/sysvars.h"
#include "values/vesk_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        vesk::TVeskParser list;
        vesk::CompileExpression(text, list);
        vesk::TSystemSources sources;
        vesk::TParamCollection vars(vesk::SystemVariableFactory(sources));
        list.Evaluate(vars);
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
