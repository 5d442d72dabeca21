// `vesk img`: layered images from PNG files, and back to PNG for a look.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"
#include "gfx/pngwrite.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kHelp =
    "usage: vesk img pack OUT.fnk IN.png [IN.png...] [options]\n"
    "       vesk img unpack IN PREFIX [--id N] [--layers]\n"
    "       vesk img info IN [--id N]\n"
    "\n"
    "pack     writes a layered image: one frame per PNG, or with --layers one\n"
    "         frame whose layers are the PNGs, the first at the bottom\n"
    "unpack   writes every frame of IN (.fnk, .png, .bmp or .dib) as\n"
    "         PREFIX-000.png, PREFIX-001.png, ...; with --layers also each\n"
    "         kept layer as PREFIX-000-L0.png, ...\n"
    "info     prints the frames, layers and format of IN\n"
    "\n"
    "pack options:\n"
    "  --layers          the PNGs are layers of one frame\n"
    "  --jpeg[=Q]        JPEG colour data at quality Q (default 70); alpha stays zlib\n"
    "  --stored          no compression (default: zlib)\n"
    "  --no-alpha        drop the PNG alpha channels\n"
    "  --bits N          store frames at 32, 24, 16 or 15 bits (default: as read)\n"
    "  --key RRGGBB      transparent colour of every frame\n"
    "  --back RRGGBB     canvas colour below the layers\n"
    "  --delay MS        frame delay in milliseconds (default 100)\n"
    "  --blocks WxH      de-duplicate blocks of W x H pixels across frames\n"
    "  --id N            identification code: scrambles the pixel data (stored)\n";

[[noreturn]] void Usage(const std::string& message) {
    throw EVeskError(message + " (see `vesk img --help`)");
}

int ParseInt(const std::string& text, const std::string& what, int low, int high) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || v < low || v > high) Usage("bad " + what + " '" + text + "'");
    return static_cast<int>(v);
}

// RRGGBB as written on screens, to the platform's 0x00BBGGRR.
std::int32_t ParseColour(const std::string& text) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (text.size() != 6 || *end != '\0') Usage("bad colour '" + text + "', want RRGGBB");
    return static_cast<std::int32_t>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

struct TArgs {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> options;  // name, value ("" when none)

    bool Has(const std::string& name) const {
        for (const auto& o : options)
            if (o.first == name) return true;
        return false;
    }
    std::string Value(const std::string& name) const {
        for (const auto& o : options)
            if (o.first == name) return o.second;
        return "";
    }
};

TArgs Parse(const std::vector<std::string>& args, const std::vector<std::string>& withValue,
            const std::vector<std::string>& flags) {
    TArgs out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            out.files.push_back(a);
            continue;
        }
        std::string name = a, value;
        if (const std::size_t eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        const bool takes = std::find(withValue.begin(), withValue.end(), name) != withValue.end();
        const bool flag = std::find(flags.begin(), flags.end(), name) != flags.end();
        if (!takes && !flag) Usage("unknown option " + name);
        if (takes && value.empty()) {
            if (i + 1 >= args.size()) Usage(name + " needs a value");
            value = args[++i];
        }
        out.options.emplace_back(name, value);
    }
    return out;
}

std::unique_ptr<TDIBSurface> Converted(const TDIBSurface& from, int bits) {
    auto to = std::make_unique<TDIBSurface>();
    to->SetSize(from.Width(), from.Height(), bits);
    for (int y = 0; y < from.Height(); ++y)
        for (int x = 0; x < from.Width(); ++x) to->SetPixel(x, y, to->NativeOf(from.ColorOf(from.GetPixel(x, y))));
    if (from.HasAlpha()) to->SetAlpha(from.Alpha()->Clone());
    return to;
}

// One PNG as a bitmap with the options applied.
std::unique_ptr<TDIBSurface> ReadPng(const std::string& name, const TArgs& a) {
    TFenkFrameList one;
    one.LoadFromFile(name, true, false);
    if (one.Count() != 1) throw EVeskError(name + ": not a PNG file (the name must end in .png)");
    TDIBSurface& image = one[0].Image;
    std::unique_ptr<TDIBSurface> out;
    if (a.Has("--bits")) {
        out = Converted(image, ParseInt(a.Value("--bits"), "bit count", 15, 32));
    } else {
        out = image.Clone();
    }
    if (a.Has("--no-alpha")) out->DropAlpha();
    return out;
}

int Pack(const std::vector<std::string>& args) {
    const TArgs a = Parse(args, {"--bits", "--key", "--back", "--delay", "--blocks", "--id"},
                          {"--layers", "--jpeg", "--stored", "--no-alpha"});
    if (a.files.size() < 2) Usage("pack needs an output file and at least one PNG");
    if (a.Has("--bits")) {
        const int bits = ParseInt(a.Value("--bits"), "bit count", 15, 32);
        if (bits != 15 && bits != 16 && bits != 24 && bits != 32) Usage("--bits must be 32, 24, 16 or 15");
    }
    TFenkFrameList list(a.Has("--id") ? ParseInt(a.Value("--id"), "identification code", INT32_MIN, INT32_MAX) : 0);
    if (a.Has("--back")) list.BackColor = ParseColour(a.Value("--back"));
    const int delay = a.Has("--delay") ? ParseInt(a.Value("--delay"), "delay", 0, INT32_MAX) : 100;
    const std::int32_t key = a.Has("--key") ? ParseColour(a.Value("--key")) : -1;

    TFenkSaveOptions o;
    o.Compression = a.Has("--stored") ? FK_STORED : FK_ZLIB;
    if (a.Has("--jpeg")) {
        if (a.Has("--stored")) Usage("--jpeg and --stored exclude each other");
        o.Compression = FK_JPEG;
        const std::string q = a.Value("--jpeg");
        o.Quality = q.empty() ? 70 : ParseInt(q, "JPEG quality", 0, 100);
    }
    if (a.Has("--blocks")) {
        const std::string b = a.Value("--blocks");
        const std::size_t x = b.find('x');
        if (x == std::string::npos) Usage("bad block size '" + b + "', want WxH");
        o.BlockWidth = ParseInt(b.substr(0, x), "block width", 1, 32767);
        o.BlockHeight = ParseInt(b.substr(x + 1), "block height", 1, 32767);
    }

    const std::vector<std::string> inputs(a.files.begin() + 1, a.files.end());
    if (a.Has("--layers")) {
        TFenkFrame& f = list.AddFrame();
        for (const std::string& name : inputs) {
            auto layer = std::make_unique<TFenkLayer>();
            layer->Name = name.substr(name.find_last_of('/') + 1);
            layer->Bitmap = ReadPng(name, a);
            layer->UseAlpha = layer->Bitmap->HasAlpha();
            if (!f.Layers.empty() && (layer->Bitmap->Width() != f.Layers[0]->Bitmap->Width() ||
                                      layer->Bitmap->Height() != f.Layers[0]->Bitmap->Height() ||
                                      layer->Bitmap->BitCount() != f.Layers[0]->Bitmap->BitCount()))
                throw EVeskError(name + ": layers must all have the size and bit count of the first");
            for (int i = 0; i < layer->Bitmap->PaletteSize(); ++i)
                if (layer->Bitmap->PaletteEntry(i) != f.Layers[0]->Bitmap->PaletteEntry(i))
                    throw EVeskError(name + ": paletted layers must share the first layer's palette");
            f.Layers.push_back(std::move(layer));
        }
        // The writer takes the frame's size, bit count and palette from its
        // image; the reader composes the layers into it.
        const TDIBSurface& first = *f.Layers[0]->Bitmap;
        f.Image.SetSize(first.Width(), first.Height(), first.BitCount());
        f.Image.CopyPalette(first);
        f.Delay = delay;
        f.SetTransColor(key);
    } else {
        for (const std::string& name : inputs) {
            TFenkFrame& f = list.AddFrame();
            f.Image.Swap(*ReadPng(name, a));
            f.Name = name.substr(name.find_last_of('/') + 1);
            f.Delay = delay;
            f.SetTransColor(key);
        }
    }
    TMemoryStream bytes;
    list.SaveToStream(bytes, o);
    std::ofstream out(a.files[0], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()), static_cast<std::streamsize>(bytes.Size()));
    if (!out.flush()) throw EVeskError("cannot write " + a.files[0]);
    std::printf("%s: %d frame(s), %lld bytes\n", a.files[0].c_str(), list.Count(), static_cast<long long>(bytes.Size()));
    return 0;
}

TFenkFrameList Open(const TArgs& a, bool keepLayers) {
    TFenkFrameList list(a.Has("--id") ? ParseInt(a.Value("--id"), "identification code", INT32_MIN, INT32_MAX) : 0);
    const std::string& name = a.files[0];
    list.LoadFromFile(name, false, keepLayers);
    if (list.Count() == 0) throw EVeskError(name + ": no image (names must end in .fnk, .png, .bmp or .dib)");
    return list;
}

void WritePng(const TDIBSurface& image, const std::string& name) {
    TMemoryStream bytes;
    SavePng(bytes, image);
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()), static_cast<std::streamsize>(bytes.Size()));
    if (!out.flush()) throw EVeskError("cannot write " + name);
}

int Unpack(const std::vector<std::string>& args) {
    const TArgs a = Parse(args, {"--id"}, {"--layers"});
    if (a.files.size() != 2) Usage("unpack needs an input file and an output prefix");
    TFenkFrameList list = Open(a, a.Has("--layers"));
    char number[16];
    for (int i = 0; i < list.Count(); ++i) {
        TFenkFrame& f = list[i];
        // A colour key shows as transparency in the PNG.
        f.BuildMask(true);
        std::snprintf(number, sizeof number, "-%03d", i);
        WritePng(f.Image, a.files[1] + number + ".png");
        for (std::size_t l = 0; l < f.Layers.size(); ++l)
            WritePng(*f.Layers[l]->Bitmap, a.files[1] + number + "-L" + std::to_string(l) + ".png");
    }
    std::printf("%d frame(s) written\n", list.Count());
    return 0;
}

int Info(const std::vector<std::string>& args) {
    const TArgs a = Parse(args, {"--id"}, {});
    if (a.files.size() != 1) Usage("info needs one input file");
    const TFenkFrameList list = Open(a, true);
    std::printf("version %d, %d frame(s), back colour 0x%06X, first layer opaque %s\n", list.Version, list.Count(),
                static_cast<unsigned>(list.BackColor), list.FirstLayerOpaque ? "yes" : "no");
    for (int i = 0; i < list.Count(); ++i) {
        const TFenkFrame& f = list[i];
        std::printf("frame %d \"%s\": %dx%d, %d bits, delay %d, key %d (colour %d), alpha %s, %zu layer(s), "
                    "%zu draw rect(s)\n",
                    i, f.Name.c_str(), f.Image.Width(), f.Image.Height(), f.Image.BitCount(), f.Delay, f.TransValue,
                    f.TransColor, f.Image.HasAlpha() ? "yes" : "no", f.Layers.size(), f.DrawRects.size());
        for (std::size_t l = 0; l < f.Layers.size(); ++l) {
            const TFenkLayer& layer = *f.Layers[l];
            std::printf("  layer %zu \"%s\": %s, opacity %d, key %d, alpha %s%s\n", l, layer.Name.c_str(),
                        layer.Visible ? "visible" : "hidden", layer.Opacity, layer.TransValue,
                        layer.Bitmap->HasAlpha() ? "yes" : "no", layer.UseAlpha ? " (used)" : "");
        }
    }
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(kHelp, stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "pack") return Pack(rest);
    if (args[0] == "unpack") return Unpack(rest);
    if (args[0] == "info") return Info(rest);
    Usage("unknown command '" + args[0] + "'");
}

const VerbRegistration kRegistration({"img", "layered images from PNG files and back", Run});

}  // namespace

}  // namespace vesk::tool
