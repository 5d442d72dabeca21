#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vesk::platform {

// A label drawn in grey levels: Width x Height coverage values (0 none,
// 255 full), rows top-down, exactly as large as its ink.
struct TLabelBitmap {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Coverage;
    bool Empty() const { return Width == 0 || Height == 0; }
};

// The texts (UTF-8) drawn anti-aliased in the Japanese Gothic face that
// fontconfig finds, its em pixelSize pixels high; one bitmap per text, all
// empty when there is no such face (the buttons then go without labels).
std::vector<TLabelBitmap> RenderLabels(std::span<const std::string> texts, int pixelSize);

}  // namespace vesk::platform
