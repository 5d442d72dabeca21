#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "gfx/dibx.h"
#include "gfx/pixel_kernels.h"

namespace vesk::pixel {

// A surface locked for the length of one operation. Unlock runs on every
// exit path, also when an error interrupts the draw.
class LockedSurface {
public:
    explicit LockedSurface(TCustomDIBX& s)
        : surface_(s), base_(s.Lock(0, 0)), pitch_(s.Pitch()), bpp_(s.StorageBitCount()) {}
    ~LockedSurface() {
        if (base_) surface_.Unlock();
    }
    LockedSurface(const LockedSurface&) = delete;
    LockedSurface& operator=(const LockedSurface&) = delete;

    explicit operator bool() const { return base_ != nullptr; }
    std::uint8_t* Row(int y) const { return base_ + std::intptr_t(y) * pitch_; }
    int Bpp() const { return bpp_; }
    int Pitch() const { return pitch_; }
    TCustomDIBX& Surface() const { return surface_; }

private:
    TCustomDIBX& surface_;
    std::uint8_t* base_;
    int pitch_;
    int bpp_;
};

// Stores whose rows the kernels can work on directly.
inline bool IsNativeBpp(int bpp) { return bpp == 8 || bpp == 16 || bpp == 32; }

inline std::uint32_t ReadPixel(const std::uint8_t* row, int x, int bpp) {
    switch (bpp) {
        case 32: {
            std::uint32_t v;
            std::memcpy(&v, row + std::intptr_t(x) * 4, 4);
            return v;
        }
        case 24: {
            const std::uint8_t* p = row + std::intptr_t(x) * 3;
            return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
        }
        case 16: {
            std::uint16_t v;
            std::memcpy(&v, row + std::intptr_t(x) * 2, 2);
            return v;
        }
        case 8: return row[x];
        case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        default: return 0;
    }
}

inline void WritePixel(std::uint8_t* row, int x, int bpp, std::uint32_t v) {
    switch (bpp) {
        case 32: std::memcpy(row + std::intptr_t(x) * 4, &v, 4); break;
        case 24: {
            std::uint8_t* p = row + std::intptr_t(x) * 3;
            p[0] = std::uint8_t(v);
            p[1] = std::uint8_t(v >> 8);
            p[2] = std::uint8_t(v >> 16);
            break;
        }
        case 16: {
            const std::uint16_t w = std::uint16_t(v);
            std::memcpy(row + std::intptr_t(x) * 2, &w, 2);
            break;
        }
        case 8: row[x] = std::uint8_t(v); break;
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            std::uint8_t& b = row[x >> 1];
            b = std::uint8_t((b & ~(0x0F << shift)) | ((v & 0x0F) << shift));
            break;
        }
        case 1: {
            const int bit = 7 - (x & 7);
            std::uint8_t& b = row[x >> 3];
            b = std::uint8_t((b & ~(1 << bit)) | ((v & 1) << bit));
            break;
        }
        default: break;
    }
}

// Pixels x0 .. x0 + n - 1 of a row as 32-bit values, and back.
inline void UnpackRow(const std::uint8_t* row, int x0, int n, int bpp, std::uint32_t* out) {
    for (int i = 0; i < n; ++i) out[i] = ReadPixel(row, x0 + i, bpp);
}
inline void PackRow(std::uint8_t* row, int x0, int n, int bpp, const std::uint32_t* in) {
    for (int i = 0; i < n; ++i) WritePixel(row, x0 + i, bpp, in[i]);
}

// The arithmetic layout of a destination: byte channels for 32-bit stores,
// masked fields otherwise.
inline Channels ChannelsOf(const TCustomDIBX& s) { return Channels{s.RedMask(), s.GreenMask(), s.BlueMask()}; }

// A scratch row that grows as needed and is reused across rows.
template <class T>
class ScratchRow {
public:
    T* Get(int n) {
        if (int(buf_.size()) < n) buf_.resize(std::size_t(n));
        return buf_.data();
    }

private:
    std::vector<T> buf_;
};

}  // namespace vesk::pixel
