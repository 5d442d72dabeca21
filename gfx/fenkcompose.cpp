#include "gfx/fenkcompose.h"

#include <cstring>

#include "common/error.h"
#include "gfx/dibsfc.h"
#include "gfx/fenks.h"

namespace vesk {

namespace {

// The standard 4x4 Bayer matrix: level L shows L + 1 of every 16 pixels.
constexpr std::uint8_t kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

void CheckSameShape(const TDIBSurface& a, const TDIBSurface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.StorageBitCount() != b.StorageBitCount())
        throw EVeskError("layer does not match its frame");
}

std::uint32_t Read16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
void Write16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// One 15/16-bit blend: each masked, unshifted field weighted separately.
template <typename Div>
std::uint32_t Blend16(std::uint32_t d, std::uint32_t s, std::uint32_t w, const std::uint32_t (&masks)[3], Div div) {
    std::uint32_t out = 0;
    for (const std::uint32_t m : masks) out |= div((255 - w) * (d & m) + w * (s & m)) & m;
    return out;
}

void KeyedCopy(TDIBSurface& dst, const TDIBSurface& src, std::int32_t key) {
    const int bits = dst.BitCount();
    if (key < 0) {
        std::memcpy(dst.Bits(), src.Bits(), dst.ByteSize());
        return;
    }
    const std::uint32_t mask = dst.KeyMask();
    const std::uint32_t k = static_cast<std::uint32_t>(key) & mask;
    const int w = dst.Width();
    for (int y = 0; y < dst.Height(); ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        std::uint8_t* d = dst.ScanLine(y);
        switch (bits) {
            case 8:
                for (int x = 0; x < w; ++x)
                    if (s[x] != k) d[x] = s[x];
                break;
            case 15: case 16:
                for (int x = 0; x < w; ++x)
                    if (Read16(s + 2 * x) != k) std::memcpy(d + 2 * x, s + 2 * x, 2);
                break;
            case 24:
                for (int x = 0; x < w; ++x) {
                    const std::uint8_t* p = s + 3 * x;
                    if ((p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16)) != k) std::memcpy(d + 3 * x, p, 3);
                }
                break;
            case 32:
                for (int x = 0; x < w; ++x) {
                    std::uint32_t v;
                    std::memcpy(&v, s + 4 * x, 4);
                    if ((v & mask) != k) std::memcpy(d + 4 * x, &v, 4);
                }
                break;
            default:
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = src.GetPixel(x, y);
                    if (v != k) dst.SetPixel(x, y, v);
                }
                break;
        }
    }
}

void DitherCopy(TDIBSurface& dst, const TDIBSurface& src, int level, std::int32_t key) {
    const std::uint32_t mask = dst.KeyMask();
    const bool keyed = key >= 0;
    const std::uint32_t k = static_cast<std::uint32_t>(key) & mask;
    for (int y = 0; y < dst.Height(); ++y) {
        for (int x = 0; x < dst.Width(); ++x) {
            if (kBayer[y & 3][x & 3] > level) continue;
            const std::uint32_t v = src.GetPixel(x, y);
            if (!keyed || v != k) dst.SetPixel(x, y, v);
        }
    }
}

}  // namespace

void FenkDrawOpacity(TDIBSurface& dst, const TDIBSurface& src, int o, std::int32_t key) {
    CheckSameShape(dst, src);
    if (o == 0 || dst.IsEmpty()) return;
    if (o >= 255 || o < 0) {
        KeyedCopy(dst, src, key);
        return;
    }
    const int bits = dst.BitCount();
    if (bits <= 8) {
        const int level = o / 16;
        if (level == 15) {
            KeyedCopy(dst, src, key);
        } else {
            DitherCopy(dst, src, level, key);
        }
        return;
    }
    const auto w8 = static_cast<std::uint32_t>(o);
    const bool keyed = key >= 0;
    const std::uint32_t k = static_cast<std::uint32_t>(key) & dst.KeyMask();
    const int w = dst.Width();
    const std::uint32_t masks[3] = {dst.RedMask(), dst.GreenMask(), dst.BlueMask()};
    for (int y = 0; y < dst.Height(); ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        std::uint8_t* d = dst.ScanLine(y);
        if (bits == 15 || bits == 16) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t sv = Read16(s + 2 * x);
                if (keyed && sv == k) continue;
                Write16(d + 2 * x, Blend16(Read16(d + 2 * x), sv, w8, masks, [](std::uint32_t v) { return v / 255; }));
            }
        } else if (bits == 24) {
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = s + 3 * x;
                if (keyed && (p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16)) == k) continue;
                for (int c = 0; c < 3; ++c)
                    d[3 * x + c] = static_cast<std::uint8_t>(((255 - w8) * d[3 * x + c] + w8 * p[c]) / 255);
            }
        } else {
            // 32 bits: each colour byte weighted and shifted by 8, not divided
            // by 255, and the fourth byte cleared, as stored images expect.
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = s + 4 * x;
                std::uint32_t sv;
                std::memcpy(&sv, p, 4);
                if (keyed && (sv & 0xFFFFFF) == k) continue;
                std::uint8_t* q = d + 4 * x;
                for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>(((255 - w8) * q[c] + w8 * p[c]) >> 8);
                q[3] = 0;
            }
        }
    }
}

void FenkDrawAlpha(TDIBSurface& dst, const TDIBSurface& src, const TDIBSurface& alpha) {
    CheckSameShape(dst, src);
    if (alpha.Width() != dst.Width() || alpha.Height() != dst.Height() || alpha.BitCount() != 8)
        throw EVeskError("layer alpha does not match its frame");
    const int bits = dst.BitCount();
    const int w = dst.Width();
    const std::uint32_t masks[3] = {dst.RedMask(), dst.GreenMask(), dst.BlueMask()};
    for (int y = 0; y < dst.Height(); ++y) {
        const std::uint8_t* a = alpha.ScanLine(y);
        if (bits <= 8) {
            for (int x = 0; x < w; ++x)
                if (a[x] >= 128) dst.SetPixel(x, y, src.GetPixel(x, y));
            continue;
        }
        const std::uint8_t* s = src.ScanLine(y);
        std::uint8_t* d = dst.ScanLine(y);
        const int bytes = dst.StorageBitCount() / 8;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t av = a[x];
            if (av == 0) continue;
            const std::uint8_t* p = s + bytes * x;
            std::uint8_t* q = d + bytes * x;
            if (av == 255) {
                std::memcpy(q, p, static_cast<std::size_t>(bytes));
            } else if (bytes == 2) {
                Write16(q, Blend16(Read16(q), Read16(p), av, masks, [](std::uint32_t v) { return v >> 8; }));
            } else {
                for (int c = 0; c < bytes; ++c) q[c] = static_cast<std::uint8_t>(((255 - av) * q[c] + av * p[c]) >> 8);
            }
        }
    }
}

bool FenkLayerCoversImage(const TFenkLayer& layer, int position, bool first, bool firstLayerOpaque) {
    const bool alphaDrawn = layer.Bitmap->HasAlpha() && layer.UseAlpha && position > 0;
    return !alphaDrawn && (layer.TransValue < 0 || (first && firstLayerOpaque)) && layer.Opacity >= 255;
}

void ComposeFenkLayer(TDIBSurface& image, TFenkLayer& layer, int position, bool first, bool firstLayerOpaque,
                      bool consume) {
    TDIBSurface& bitmap = *layer.Bitmap;
    CheckSameShape(image, bitmap);
    const bool givesAlpha = bitmap.HasAlpha() && first && layer.UseAlpha;
    if (givesAlpha) image.SetAlpha(bitmap.Alpha()->Clone());

    if (bitmap.HasAlpha() && layer.UseAlpha && position > 0) {
        FenkDrawAlpha(image, bitmap, *bitmap.Alpha());
    } else if (FenkLayerCoversImage(layer, position, first, firstLayerOpaque)) {
        if (consume) {
            // The layer is dropped after this, so its store becomes the image;
            // the image keeps the alpha companion it already has.
            auto imageAlpha = image.TakeAlpha();
            image.Swap(bitmap);
            image.CopyPalette(bitmap);
            image.SetAlpha(std::move(imageAlpha));
        } else {
            std::memcpy(image.Bits(), bitmap.Bits(), image.ByteSize());
        }
    } else {
        FenkDrawOpacity(image, bitmap, layer.Opacity, layer.TransValue);
    }
}

}  // namespace vesk
