#include "tools/looptargets.h"

#include "script/command_kinds.h"

namespace vesk::tool {

TLoopTargets ComputeLoopTargets(const std::vector<std::uint8_t>& kinds, const std::vector<std::int32_t>& indents) {
    TLoopTargets r;
    const int n = static_cast<int>(kinds.size());
    r.Target.assign(static_cast<std::size_t>(n), 0);
    struct Open {
        int whileIndex;
        std::vector<int> breaks, continues;
    };
    std::vector<Open> open;
    for (int i = 0; i < n; ++i) {
        // A command at or left of an open While's Indent (other than its
        // WhileLoop) means that loop was never closed.
        while (!open.empty() && indents[i] <= indents[open.back().whileIndex] &&
               !(kinds[i] == CK_WHILELOOP && indents[i] == indents[open.back().whileIndex])) {
            r.Error = "While without WhileLoop";
            r.ErrorIndex = open.back().whileIndex;
            return r;
        }
        switch (kinds[i]) {
        case CK_WHILE:
            open.push_back({i, {}, {}});
            break;
        case CK_WHILELOOP: {
            if (open.empty() || indents[open.back().whileIndex] != indents[i]) {
                r.Error = "WhileLoop without While";
                r.ErrorIndex = i;
                return r;
            }
            Open loop = std::move(open.back());
            open.pop_back();
            r.Target[i] = loop.whileIndex;
            r.Target[loop.whileIndex] = i + 1;
            for (int b : loop.breaks) r.Target[b] = i + 1;
            for (int c : loop.continues) r.Target[c] = i;
            break;
        }
        case CK_BREAK:
            if (open.empty()) r.Target[i] = -1;
            else open.back().breaks.push_back(i);
            break;
        case CK_CONTINUE:
            if (open.empty()) r.Target[i] = -1;
            else open.back().continues.push_back(i);
            break;
        default:
            break;
        }
    }
    if (!open.empty()) {
        r.Error = "While without WhileLoop";
        r.ErrorIndex = open.back().whileIndex;
    }
    return r;
}

}  // namespace vesk::tool
