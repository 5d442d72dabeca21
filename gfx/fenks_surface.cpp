// Copying layered-image frames into drawing surfaces.

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "gfx/dibx.h"
#include "gfx/fenks.h"

namespace vesk {

namespace {

const TFenkFrame& FrameAt(const TFenkFrameList& list, int index) {
    if (index < 0 || index >= list.Count()) throw EVeskError("no frame " + std::to_string(index) + " in image");
    return list[index];
}

// Lock and Unlock of one surface row, balanced on every exit path.
class TRowLock {
public:
    TRowLock(TCustomDIBX& s, int y) : s_(s), p_(s.Lock(0, y)) {}
    ~TRowLock() {
        if (p_) s_.Unlock();
    }
    TRowLock(const TRowLock&) = delete;
    TRowLock& operator=(const TRowLock&) = delete;
    std::uint8_t* get() const { return p_; }

private:
    TCustomDIBX& s_;
    std::uint8_t* p_;
};

// The nearest entry of a paletted surface's palette to a platform colour.
class TNearest {
public:
    explicit TNearest(const TCustomDIBX& s) : count_(1 << s.BitCount()) { s.GetPalette(palette_); }
    std::uint32_t operator()(std::int32_t colour) const {
        const auto c = static_cast<std::uint32_t>(colour);
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < count_; ++i) {
            const std::uint32_t e = palette_[static_cast<std::size_t>(i)];
            const int dr = static_cast<int>((e >> 16) & 0xFF) - r, dg = static_cast<int>((e >> 8) & 0xFF) - g,
                      db = static_cast<int>(e & 0xFF) - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return static_cast<std::uint32_t>(best);
    }

private:
    int count_;
    std::array<TPaletteEntry, 256> palette_{};
};

}  // namespace

void TFenkFrameList::CopyToSurface(int frameIndex, TCustomDIBX& surface) const {
    const TFenkFrame& f = FrameAt(*this, frameIndex);
    const TDIBSurface& image = f.Image;
    const int w = image.Width(), h = image.Height();
    const int from = image.BitCount(), to = surface.BitCount();
    surface.SetSize(w, h, to);
    const bool indexes = from <= 8 && to <= 8;
    if (indexes) {
        // Paletted into paletted: the indexes stay, with the image's palette.
        std::vector<TPaletteEntry> palette(256);
        for (int i = 0; i < image.PaletteSize(); ++i) palette[static_cast<std::size_t>(i)] = image.PaletteEntry(i);
        surface.SetPalette(palette);
    }
    std::optional<TNearest> toIndex;
    if (to <= 8 && !indexes) toIndex.emplace(surface);
    const bool sameFormat = to == from && surface.StorageBitCount() == image.StorageBitCount();
    const bool direct = to == 32 && (from == 24 || from == 32);
    const std::size_t usedBytes = static_cast<std::size_t>((static_cast<std::int64_t>(w) * image.StorageBitCount() + 7) / 8);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = image.ScanLine(y);
        std::optional<TRowLock> lock;
        if (direct || sameFormat) lock.emplace(surface, y);
        std::uint8_t* dst = lock ? lock->get() : nullptr;
        if (dst && to == 32 && from == 24) {
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = src + 3 * x;
                const std::uint32_t v = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
                std::memcpy(dst + 4 * x, &v, 4);
            }
        } else if (dst && to == 32 && from == 32) {
            // The fourth byte of a stored pixel has no meaning here.
            for (int x = 0; x < w; ++x) {
                std::uint32_t v;
                std::memcpy(&v, src + 4 * x, 4);
                v &= 0x00FFFFFF;
                std::memcpy(dst + 4 * x, &v, 4);
            }
        } else if (dst && sameFormat) {
            std::memcpy(dst, src, usedBytes);
        } else {
            // Any other pair goes through colours: palette lookups for
            // paletted images, channels reduced to the surface's widths.
            for (int x = 0; x < w; ++x) {
                if (indexes) {
                    surface.SetPixel(x, y, image.GetPixel(x, y));
                    continue;
                }
                const std::int32_t colour = image.ColorOf(image.GetPixel(x, y));
                surface.SetPixel(x, y, toIndex ? (*toIndex)(colour) : static_cast<TPixel>(surface.ColorToPixel(colour)));
            }
        }
    }
    surface.Compact();
    surface.DrawRects = f.DrawRects;
    surface.AuxRects = f.AuxRects;
}

void TFenkFrameList::CopyMaskTo(int frameIndex, TCustomDIBX& mask) const {
    const TFenkFrame& f = FrameAt(*this, frameIndex);
    const TDIBSurface* alpha = f.Image.Alpha();
    if (!alpha) return;
    mask.SetSize(alpha->Width(), alpha->Height(), 8);
    for (int y = 0; y < alpha->Height(); ++y) {
        TRowLock lock(mask, y);
        if (lock.get()) {
            std::memcpy(lock.get(), alpha->ScanLine(y), static_cast<std::size_t>(alpha->Width()));
        } else {
            for (int x = 0; x < alpha->Width(); ++x) mask.SetPixel(x, y, alpha->ScanLine(y)[x]);
        }
    }
}

}  // namespace vesk
