#include "gfx/fenks.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/bmpfile.h"
#include "gfx/pngfile.h"

namespace vesk {

namespace {

// Sets alpha to 0 wherever bitmap's pixel equals key; nothing for key -1.
void MaskKey(const TDIBSurface& bitmap, TDIBSurface& alpha, std::int32_t key) {
    if (key < 0) return;
    const std::uint32_t k = static_cast<std::uint32_t>(key) & bitmap.KeyMask();
    for (std::int32_t y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* a = alpha.ScanLine(y);
        for (std::int32_t x = 0; x < bitmap.Width(); ++x)
            if ((bitmap.GetPixel(x, y) & bitmap.KeyMask()) == k) a[x] = 0;
    }
}

void BuildMaskOf(TDIBSurface& bitmap, std::int32_t key) {
    if (bitmap.HasAlpha() || bitmap.IsEmpty()) return;
    MaskKey(bitmap, bitmap.CreateAlpha(255), key);
}

// Keeps the rectangles that meet content, moved into its coordinates.
void CutRects(std::vector<TRect>& rects, const TRect& content) {
    std::vector<TRect> kept;
    for (const TRect& r : rects) {
        const TRect cut{std::max(r.Left, content.Left), std::max(r.Top, content.Top),
                           std::min(r.Right, content.Right), std::min(r.Bottom, content.Bottom)};
        if (cut.IsEmpty()) continue;
        kept.push_back({cut.Left - content.Left, cut.Top - content.Top, cut.Right - content.Left,
                        cut.Bottom - content.Top});
    }
    rects = std::move(kept);
}

std::string LowerExtension(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    const std::size_t sep = name.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
    std::string ext = name.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

void TFenkFrame::SetTransColor(std::int32_t colour) {
    if (colour < 0) {
        TransValue = -1;
        TransColor = -1;
        return;
    }
    TransValue = static_cast<std::int32_t>(Image.NativeOf(colour));
    TransColor = Image.ColorOf(static_cast<std::uint32_t>(TransValue));
}

void TFenkFrame::BuildMask(bool withLayers) {
    BuildMaskOf(Image, TransValue);
    if (!withLayers) return;
    for (auto& layer : Layers) BuildMaskOf(*layer->Bitmap, layer->TransValue >= 0 ? layer->TransValue : TransValue);
}

TRect TFenkFrame::Trim() {
    const std::int32_t w = Image.Width(), h = Image.Height();
    const TRect whole{0, 0, w, h};
    const TDIBSurface* alpha = Image.Alpha();
    if (Image.IsEmpty() || (!alpha && TransValue < 0)) return whole;
    const std::uint32_t key = static_cast<std::uint32_t>(TransValue) & Image.KeyMask();
    auto isKey = [&](std::int32_t x, std::int32_t y) {
        return alpha ? alpha->ScanLine(y)[x] == 0 : (Image.GetPixel(x, y) & Image.KeyMask()) == key;
    };
    auto columnIsKey = [&](std::int32_t x, std::int32_t top, std::int32_t bottom) {
        for (std::int32_t y = top; y < bottom; ++y)
            if (!isKey(x, y)) return false;
        return true;
    };
    auto rowIsKey = [&](std::int32_t y, std::int32_t left, std::int32_t right) {
        for (std::int32_t x = left; x < right; ++x)
            if (!isKey(x, y)) return false;
        return true;
    };
    TRect c = whole;
    while (c.Left < c.Right && columnIsKey(c.Left, 0, h)) ++c.Left;
    while (c.Right > c.Left && columnIsKey(c.Right - 1, 0, h)) --c.Right;
    while (c.Top < c.Bottom && rowIsKey(c.Top, c.Left, c.Right)) ++c.Top;
    while (c.Bottom > c.Top && rowIsKey(c.Bottom - 1, c.Left, c.Right)) --c.Bottom;
    if (c.IsEmpty()) c = {0, 0, 1, 1};
    if (c == whole) return whole;
    Image.Crop(c);
    // Kept layers are cut with the image, so the frame can still be written.
    for (auto& layer : Layers)
        if (layer->Bitmap->Width() == w && layer->Bitmap->Height() == h) layer->Bitmap->Crop(c);
    CutRects(DrawRects, c);
    CutRects(AuxRects, c);
    return c;
}

TFenkFrame& TFenkFrameList::AddFrame() {
    auto frame = std::make_unique<TFenkFrame>();
    frame->Delay = 100;
    frame->TransColor = -1;
    frame->TransValue = 0;
    frames_.push_back(std::move(frame));
    return *frames_.back();
}

void TFenkFrameList::BuildMasks(bool withLayers) {
    for (auto& f : frames_) f->BuildMask(withLayers);
}

void TFenkFrameList::LoadFromNamedStream(const std::string& name, TStream& stream, bool firstFrameOnly,
                                         bool keepLayers) {
    const std::string ext = LowerExtension(name);
    if (ext == ".fnk") {
        LoadFromStream(stream, firstFrameOnly, keepLayers);
        return;
    }
    Clear();
    Version = 0;
    try {
        if (ext == ".png") {
            LoadPngFrame(stream, *this);
        } else if (ext == ".bmp" || ext == ".dib") {
            LoadBmpFrame(stream, *this);
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void TFenkFrameList::LoadFromFile(const std::string& fileName, bool firstFrameOnly, bool keepLayers) {
    const std::string ext = LowerExtension(fileName);
    if (ext != ".fnk" && ext != ".png" && ext != ".bmp" && ext != ".dib") {
        Clear();
        return;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EVeskError("cannot open " + fileName);
    TMemoryStream bytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    LoadFromNamedStream(fileName, bytes, firstFrameOnly, keepLayers);
}

void TFenkFrameList::SaveToFile(const std::string& fileName) {
    TMemoryStream bytes;
    SaveToStream(bytes, FK_ZLIB, 70);
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()), static_cast<std::streamsize>(bytes.Size()));
    if (!out.flush()) throw EVeskError("cannot write " + fileName);
}

}  // namespace vesk
