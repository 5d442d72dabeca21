#pragma once

// Small registries driven frame by frame the way the main window drives
// them, and layered-image files made in memory for the image kinds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/vrfiles.h"
#include "components/kinds/kinds.h"
#include "components/properties/propids.h"
#include "components/registry/input_state.h"
#include "components/registry/vbaselist.h"
#include "gfx/fenks.h"
#include "values/params.h"

namespace vesk::test {

inline void SetInt(TVeskObject& o, int prop, std::int32_t x) {
    TParamInt v;
    v.SetInt(x);
    SetProp(o, prop, v);
}
inline void SetStr(TVeskObject& o, int prop, const std::string& s) {
    TParamStr v;
    v.SetStr(s);
    SetProp(o, prop, v);
}
inline std::int32_t Int(TVeskObject& o, int prop) {
    TParamInt v;
    GetProp(v, o, prop);
    return v.AsInt();
}

// A platform colour (0x00BBGGRR) as a 32-bit surface stores it.
inline TPixel Native(std::int32_t colour) {
    return static_cast<TPixel>((colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
}

struct TScene : ::testing::Test {
    TVeskBaseList r;
    TInputState in;

    TScene() {
        r.SetSize(64, 48);
        r.AttachInput(&in);
    }

    TVeskControl& Make(std::uint8_t kind, const std::string& name, std::int32_t left, std::int32_t top,
                       std::int32_t width, std::int32_t height, const std::string& parent = "") {
        TVeskObject& o = *r.CreateKind(kind);
        SetStr(o, PR_NAME, name);
        if (!parent.empty()) SetStr(o, PR_PARENT, parent);
        SetInt(o, PR_LEFT, left);
        SetInt(o, PR_TOP, top);
        if (width >= 0) SetInt(o, PR_WIDTH, width);
        if (height >= 0) SetInt(o, PR_HEIGHT, height);
        return *o.AsControl();
    }
    TVeskControl& Box(const std::string& name, std::int32_t left, std::int32_t top, std::int32_t width,
                      std::int32_t height, std::int32_t colour, const std::string& parent = "") {
        TVeskControl& b = Make(LT_BOX, name, left, top, width, height, parent);
        SetInt(b, PR_COLOR, colour);
        return b;
    }

    // One frame step: input latched, input pass, update pass.
    void Frame(std::int32_t ms = 15) {
        in.BeginFrame(ms);
        r.InputPass(ms);
        r.UpdatePass(ms);
    }
    void Click(std::int32_t x, std::int32_t y, platform::TPlatformEvent::Button b = platform::TPlatformEvent::Button::Left) {
        in.MouseMove(x, y);
        in.MouseDown(b);
        Frame();
        in.MouseUp();
        Frame();
    }
    TPixel Pixel(std::int32_t x, std::int32_t y) {
        r.DrawPass();
        r.ClearDirty();
        return r.BaseSurface(r.ActiveIndex())->GetPixel(x, y) & 0xFFFFFF;
    }
    // The queued entries as (code, sender name, args).
    struct TEntry {
        int code;
        std::string sender;
        std::vector<std::string> args;
        friend bool operator==(const TEntry&, const TEntry&) = default;
    };
    std::vector<TEntry> Events() {
        std::vector<TEntry> out;
        for (int i = 0; i < r.EventQueue().Count(); ++i) {
            const TTimerData& e = r.EventQueue().Item(i);
            const TVeskObject* o = r.FindById(e.Sender);
            out.push_back({e.Code, o ? o->Name() : "?", e.Args});
        }
        return out;
    }
    std::vector<int> Codes() {
        std::vector<int> out;
        for (const TEntry& e : Events()) out.push_back(e.code);
        return out;
    }
};

// A frame of a layered image: w x h pixels of colour (platform), an alpha
// companion when alpha is given (alpha(x, y) per pixel).
struct TFrameSpec {
    std::int32_t w, h;
    std::function<std::int32_t(int, int)> colour;
    std::int32_t delay = 100;
    std::function<int(int, int)> alpha = nullptr;
};

// Writes a layered image to the in-memory file name and returns name.
inline std::string MakeFenk(const std::string& name, const std::vector<TFrameSpec>& frames) {
    TVrFileManager& vfm = VrFileManager();
    if (vfm.ArchiveCount() == 0) vfm.AddMemoryArchive();
    TFenkFrameList list;
    for (const TFrameSpec& spec : frames) {
        TFenkFrame& f = list.AddFrame();
        f.Delay = spec.delay;
        f.Image.SetSize(spec.w, spec.h, 32);
        for (int y = 0; y < spec.h; ++y)
            for (int x = 0; x < spec.w; ++x) f.Image.SetPixel(x, y, Native(spec.colour(x, y)));
        if (spec.alpha) {
            TDIBSurface& a = f.Image.CreateAlpha(255);
            for (int y = 0; y < spec.h; ++y)
                for (int x = 0; x < spec.w; ++x) a.SetPixel(x, y, static_cast<std::uint32_t>(spec.alpha(x, y)));
        }
    }
    TMemoryStream& file = vfm.CreateMemFile(name);
    list.SaveToStream(file, FK_ZLIB, 70);
    return name;
}

}  // namespace vesk::test
