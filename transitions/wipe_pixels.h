#pragma once

#include <cstdint>

#include "gfx/dibx.h"

namespace vesk::wipe {

// Channel arithmetic of the transitions, with the rules of the surfaces:
// blends divide by 256 with a shift and weigh the second colour by 255 - w;
// 32-bit stores treat each of their four bytes as a channel; 15/16-bit
// stores work on the masked fields, the top field shifted right by one.

// Four byte channels, two at a time in 16-bit halves of a word.
struct Bytes32 {
    static std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t w) {
        const std::uint32_t iw = 255 - w;
        const std::uint32_t rb = (((s & 0x00FF00FFu) * w + (d & 0x00FF00FFu) * iw) >> 8) & 0x00FF00FFu;
        const std::uint32_t ga = (((s >> 8) & 0x00FF00FFu) * w + ((d >> 8) & 0x00FF00FFu) * iw) & 0xFF00FF00u;
        return rb | ga;
    }
    static std::uint32_t AddSat(std::uint32_t d, std::uint32_t t) {
        std::uint32_t lo = (d & 0x00FF00FFu) + (t & 0x00FF00FFu);
        std::uint32_t hi = ((d >> 8) & 0x00FF00FFu) + ((t >> 8) & 0x00FF00FFu);
        const std::uint32_t clo = lo & 0x01000100u, chi = hi & 0x01000100u;
        lo = (lo | (clo - (clo >> 8))) & 0x00FF00FFu;
        hi = (hi | (chi - (chi >> 8))) & 0x00FF00FFu;
        return lo | (hi << 8);
    }
    static std::uint32_t SubSat(std::uint32_t d, std::uint32_t t) {
        std::uint32_t lo = ((d & 0x00FF00FFu) | 0x01000100u) - (t & 0x00FF00FFu);
        std::uint32_t hi = (((d >> 8) & 0x00FF00FFu) | 0x01000100u) - ((t >> 8) & 0x00FF00FFu);
        const std::uint32_t klo = lo & 0x01000100u, khi = hi & 0x01000100u;
        lo &= (klo - (klo >> 8)) & 0x00FF00FFu;
        hi &= (khi - (khi >> 8)) & 0x00FF00FFu;
        return lo | (hi << 8);
    }
};

// The three fields of a 15- or 16-bit store.
struct Fields16 {
    std::uint32_t top, mid, low;  // top is the red mask shifted right by one

    explicit Fields16(const TCustomDIBX& s) : top(s.RedMask() >> 1), mid(s.GreenMask()), low(s.BlueMask()) {}

    std::uint16_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t w) const {
        const std::uint32_t iw = 255 - w;
        const std::uint32_t t = ((((s >> 1) & top) * w + ((d >> 1) & top) * iw) >> 8) & top;
        const std::uint32_t m = (((s & mid) * w + (d & mid) * iw) >> 8) & mid;
        const std::uint32_t l = (((s & low) * w + (d & low) * iw) >> 8) & low;
        return std::uint16_t(t << 1 | m | l);
    }
    static std::uint32_t AddField(std::uint32_t d, std::uint32_t v, std::uint32_t m) {
        const std::uint32_t r = d + v;
        return (r < m ? r : m) & m;
    }
    static std::uint32_t SubField(std::uint32_t d, std::uint32_t v, std::uint32_t m) { return d > v ? (d - v) & m : 0; }
    std::uint16_t AddSat(std::uint32_t d, std::uint32_t v) const {
        return std::uint16_t(AddField((d >> 1) & top, (v >> 1) & top, top) << 1 | AddField(d & mid, v & mid, mid) |
                             AddField(d & low, v & low, low));
    }
    std::uint16_t SubSat(std::uint32_t d, std::uint32_t v) const {
        return std::uint16_t(SubField((d >> 1) & top, (v >> 1) & top, top) << 1 | SubField(d & mid, v & mid, mid) |
                             SubField(d & low, v & low, low));
    }
};

}  // namespace vesk::wipe
