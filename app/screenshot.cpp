#include "app/screenshot.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/stream.h"
#include "gfx/dibsfc.h"
#include "gfx/dibx.h"
#include "gfx/pngwrite.h"
#include "platform/files.h"

namespace vesk {

bool ParseScreenshotArg(const std::string& arg, TScreenshotRequest& out) {
    const auto colon = arg.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= arg.size()) return false;
    int frame = 0;
    const char* end = arg.data() + colon;
    auto [p, ec] = std::from_chars(arg.data(), end, frame);
    if (ec != std::errc() || p != end || frame < 0) return false;
    out.Frame = frame;
    out.File = arg.substr(colon + 1);
    return true;
}

void SaveScreenshot(const TDIBX& frame, const std::string& path) {
    TDIBSurface image;
    image.SetSize(frame.Width(), frame.Height(), frame.BitCount());
    const std::size_t rowBytes =
        std::min(static_cast<std::size_t>(image.RowBytes()), static_cast<std::size_t>(frame.RowBytes()));
    for (int y = 0; y < frame.Height(); ++y) std::memcpy(image.ScanLine(y), frame.ScanLine(y), rowBytes);
    auto file = platform::OpenFile(path, platform::FileMode::Create);
    SavePng(*file, image);
}

}  // namespace vesk
