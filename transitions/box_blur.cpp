#include "transitions/box_blur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/pixel_colour.h"

namespace vesk::wipe {

namespace {

// One channel plane blurred in place: the sums along each row, then a
// window of rows slid down the picture. A window sum stays below
// 255 * (2r + 1)^2, which fits 32 bits for every radius a surface allows.
void BlurPlane(std::vector<std::uint8_t>& plane, int w, int h, int r) {
    std::vector<std::uint32_t> rowSums(plane.size());
    std::vector<std::uint32_t> prefix(std::size_t(w) + 1);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = plane.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) prefix[std::size_t(x) + 1] = prefix[std::size_t(x)] + p[x];
        std::uint32_t* out = rowSums.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x)
            out[x] = prefix[std::size_t(std::min(w - 1, x + r)) + 1] - prefix[std::size_t(std::max(0, x - r))];
    }
    std::vector<std::uint32_t> window(std::size_t(w), 0);
    auto addRow = [&](int y, int sign) {
        const std::uint32_t* s = rowSums.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) window[std::size_t(x)] += std::uint32_t(sign) * s[x];
    };
    for (int y = 0; y < std::min(r, h); ++y) addRow(y, 1);
    for (int y = 0; y < h; ++y) {
        if (y + r < h) addRow(y + r, 1);
        if (y - r - 1 >= 0) addRow(y - r - 1, -1);
        const std::uint32_t rows = std::uint32_t(std::min(h - 1, y + r) - std::max(0, y - r) + 1);
        std::uint8_t* p = plane.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t cols = std::uint32_t(std::min(w - 1, x + r) - std::max(0, x - r) + 1);
            p[x] = std::uint8_t(window[std::size_t(x)] / (rows * cols));
        }
    }
}

}  // namespace

void BoxBlur(TCustomDIBX& src, int r, TDIBX& out) {
    const int w = src.Width(), h = src.Height();
    out.SetSize(w, h, src.BitCount());
    out.Assign(src);
    if (r <= 0 || w <= 0 || h <= 0) return;
    const bool bytes = src.BitCount() == 32;
    const int channels = bytes ? 4 : 3;
    const std::size_t n = std::size_t(w) * std::size_t(h);
    auto planes = std::vector<std::vector<std::uint8_t>>(std::size_t(channels), std::vector<std::uint8_t>(n));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = bytes ? src.GetPixel(x, y) : NativeToColour(src, src.GetPixel(x, y));
            for (int c = 0; c < channels; ++c)
                planes[std::size_t(c)][std::size_t(y) * std::size_t(w) + std::size_t(x)] = std::uint8_t(v >> (8 * c));
        }
    for (auto& plane : planes) BlurPlane(plane, w, h, r);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t v = 0;
            for (int c = 0; c < channels; ++c)
                v |= std::uint32_t(planes[std::size_t(c)][std::size_t(y) * std::size_t(w) + std::size_t(x)]) << (8 * c);
            out.SetPixel(x, y, bytes ? v : TPixel(out.ColorToPixel(std::int32_t(v))));
        }
}

}  // namespace vesk::wipe
