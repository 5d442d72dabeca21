#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::tool {

// The stored targets of the loop commands, as the editor computes them from
// the commands' kinds and Indents: While leaves to the command after its
// WhileLoop, WhileLoop goes back to its While, Break leaves like the While of
// the innermost enclosing loop and Continue goes to its WhileLoop; outside
// any loop Break and Continue get -1 (end the page). Other commands get 0.
// Answers an error text (and the index of the command) for a While without
// WhileLoop or a WhileLoop without While.
struct TLoopTargets {
    std::vector<std::int32_t> Target;
    std::string Error;
    int ErrorIndex = -1;
};
TLoopTargets ComputeLoopTargets(const std::vector<std::uint8_t>& kinds, const std::vector<std::int32_t>& indents);

}  // namespace vesk::tool
