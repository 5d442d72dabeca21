#include "transitions/grey_mask.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "common/stream.h"
#include "gfx/fenks.h"
#include "transitions/mask_source.h"
#include "transitions/wipe.h"

namespace vesk::wipe {

namespace {

// Plain pictures go to their own readers; every other name is read as a
// layered image, which raises for data of another kind.
void ReadPicture(const std::string& name, TStream& stream, TFenkFrameList& list) {
    std::string ext = name.substr(std::min(name.size(), name.find_last_of('.')));
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".png" || ext == ".bmp" || ext == ".dib") list.LoadFromNamedStream(name, stream, true, false);
    else list.LoadFromStream(stream, true, false);
}

// The nearest grey of a platform colour: the level closest to all three
// channels, which is their mean rounded (it never ends in a half).
std::uint8_t GreyOf(std::uint32_t colour, bool invert) {
    std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    if (invert) r = 255 - r, g = 255 - g, b = 255 - b;
    return std::uint8_t((r + g + b + 1) / 3);
}

void Tile(const TDIBSurface& picture, bool invert, TGreyMask& out) {
    const int pw = picture.Width(), ph = picture.Height();
    std::vector<std::uint8_t> levels(std::size_t(pw) * std::size_t(ph));
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x)
            levels[std::size_t(y) * std::size_t(pw) + std::size_t(x)] =
                GreyOf(std::uint32_t(picture.ColorOf(picture.GetPixel(x, y))), invert);
    for (int y = 0; y < out.Height; ++y) {
        const std::uint8_t* from = levels.data() + std::size_t(y % ph) * std::size_t(pw);
        std::uint8_t* to = out.Levels.data() + std::size_t(y) * std::size_t(out.Width);
        for (int x = 0; x < out.Width; x += pw) std::copy_n(from, std::min(pw, out.Width - x), to + x);
    }
}

void MeasureRows(TGreyMask& out) {
    for (int y = 0; y < out.Height; ++y) {
        const auto [lo, hi] = std::minmax_element(out.Row(y), out.Row(y) + out.Width);
        out.RowMin[std::size_t(y)] = *lo;
        out.RowMax[std::size_t(y)] = *hi;
    }
}

}  // namespace

void LoadGreyMask(const TCustomWipe& wipe, TGreyMask& out) {
    out.Width = std::max(wipe.Width(), 0);
    out.Height = std::max(wipe.Height(), 0);
    out.Levels.assign(std::size_t(out.Width) * std::size_t(out.Height), 255);
    out.RowMin.assign(std::size_t(out.Height), 255);
    out.RowMax.assign(std::size_t(out.Height), 255);
    TWipeMaskSource* source = wipe.MaskSource;
    if (!source || wipe.MaskName.empty() || out.Levels.empty() || !source->Exists(wipe.MaskName)) return;
    const std::unique_ptr<TStream> stream = source->Open(wipe.MaskName);
    if (!stream) return;
    TFenkFrameList list(source->IdCode());
    ReadPicture(wipe.MaskName, *stream, list);
    if (list.Count() == 0 || list[0].Image.IsEmpty()) return;
    Tile(list[0].Image, wipe.Flag != 0, out);
    MeasureRows(out);
}

}  // namespace vesk::wipe
