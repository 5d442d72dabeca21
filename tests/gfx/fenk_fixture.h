#pragma once

// Builds layered-image files byte by byte from the format tables, so the
// reader is checked against the format itself rather than against the
// writer.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

namespace vesk::testing {

class TFenkBytes {
public:
    std::vector<std::uint8_t> bytes;

    TFenkBytes& Raw(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    TFenkBytes& U8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    TFenkBytes& I32(std::int32_t v) {
        std::uint8_t b[4];
        std::memcpy(b, &v, 4);
        bytes.insert(bytes.end(), b, b + 4);
        return *this;
    }
    TFenkBytes& Str(const std::string& s) { return I32(static_cast<std::int32_t>(s.size())).Raw(s); }
    TFenkBytes& Data(const std::vector<std::uint8_t>& d) {
        I32(static_cast<std::int32_t>(d.size()));
        bytes.insert(bytes.end(), d.begin(), d.end());
        return *this;
    }

    // Header of versions 103 and later: size 40, then the 40-byte table.
    TFenkBytes& NewHeader(int version, std::int32_t frames, int compression, std::int32_t backColor,
                          bool scrambled = false, std::int32_t bw = 0, std::int32_t bh = 0, bool flo = false) {
        Raw("Fenk" + std::to_string(version)).I32(40);
        I32(version).I32(0).I32(0).I32(0).I32(frames);
        U8(1).U8(scrambled ? 1 : 0).U8(static_cast<std::uint8_t>(compression)).U8(0);
        I32(backColor).I32(bw).I32(bh);
        return U8(flo ? 1 : 0).U8(70).U8(0).U8(0);
    }

    // Frame fields up to the bit count; the palette and layers follow.
    TFenkBytes& FrameHead(const std::string& name, std::int32_t transValue, std::int32_t delay, std::int32_t layers,
                          std::int32_t w, std::int32_t h, std::int32_t bits) {
        return Str(name).I32(transValue).I32(delay).U8(0).I32(0).I32(layers).I32(w).I32(h).I32(bits);
    }

    // Layer fields up to the name (UseAlpha only for versions above 100).
    TFenkBytes& LayerHead(int version, bool visible, std::int32_t transValue, std::int32_t opacity, bool useAlpha,
                          const std::string& name = "Layer") {
        I32(0).I32(0).U8(visible ? 1 : 0).I32(transValue).I32(opacity);
        if (version > 100) U8(useAlpha ? 1 : 0);
        return Str(name);
    }

    TFenkBytes& NoRects() { return I32(0).I32(0); }
};

inline std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& raw) {
    uLongf n = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> out(n);
    compress2(out.data(), &n, raw.data(), static_cast<uLong>(raw.size()), 6);
    out.resize(n);
    return out;
}

// Rows of an image, top to bottom, each padded to 4 bytes.
inline std::vector<std::uint8_t> PaddedRows(const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> out;
    for (const auto& r : rows) {
        out.insert(out.end(), r.begin(), r.end());
        out.resize(out.size() + (4 - r.size() % 4) % 4, 0);
    }
    return out;
}

}  // namespace vesk::testing
