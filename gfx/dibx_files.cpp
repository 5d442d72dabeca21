// Loading surfaces from files and streams, and saving them as bitmaps.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "common/stream.h"
#include "gfx/bmpfile.h"
#include "gfx/dibx.h"
#include "gfx/fenks.h"
#include "gfx/pngfile.h"
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

void TCustomDIBX::LoadFromFile(const std::string& name) {
    if (!HasBmpExtension(name)) return;
    std::ifstream in(name, std::ios::binary);
    if (!in) return;  // a missing file changes nothing
    TMemoryStream bytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    TFenkFrameList list;
    LoadBmpFrame(bytes, list);
    if (list.Count() == 0 || list[0].Image.Width() == 0 || list[0].Image.Height() == 0) return;
    list.CopyToSurface(0, *this);
}

void TCustomDIBX::LoadFromStream(TStream* stream, std::int32_t idCode) {
    if (!stream) return;
    std::uint8_t head[4] = {0, 0, 0, 0};
    stream->SetPosition(0);
    const std::int64_t got = stream->Read(head, 4);
    stream->SetPosition(0);
    TFenkFrameList list(idCode);
    if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
        LoadBmpFrame(*stream, list);
    } else if (got >= 4 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') {
        LoadPngFrame(*stream, list);
    } else if (got >= 4 && std::memcmp(head, "Fenk", 4) == 0) {
        list.LoadFromStream(*stream, true, false);
    } else {
        return;  // not a picture this surface can read: unchanged
    }
    if (list.Count() == 0) return;
    // The surface takes the picture's size and keeps its own bit count.
    list.CopyToSurface(0, *this);
}

}  // namespace vesk
