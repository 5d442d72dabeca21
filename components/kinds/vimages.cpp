#include "components/kinds/vimages.h"

#include "common/stream_io.h"

namespace vesk {

std::string LowerExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.find('\\', dot) != std::string::npos) return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

void TVeskImages::SetSource(const std::string& v) {
    if (v == source_) return;
    source_ = v;
    ClearFrames();
    StopMotion();
    const std::string ext = LowerExtension(v);
    if (ext == ".fnk") {
        LoadFrames(v);
        if (Frames() && Frames()->FrameCount() > 0) SetIndex(0);
        RecomputeSize();
    } else if (ext == ".vkm") {
        StartMotion(v);
        if (HasMotion()) Motion()->Step(0);
    } else {
        SetShownSize(0, 0);
    }
}

void TVeskImages::SetRepeat(const bool& v) {
    repeat_ = v;
    if (!v) return;
    if (HasMotion()) {
        if (Motion()->Ended()) Motion()->Restart();
    } else if (!ValidIndex(GetIndex())) {
        SetIndex(0);
    }
}

void TVeskImages::SaveOwnState(TStream& s) const {
    TVeskCustomImages::SaveOwnState(s);
    WriteFlag(s, repeat_);
    WriteFlag(s, autoScrap_);
    WriteString(s, source_);
    WriteString(s, onPlayEnd_);
    WriteString(s, onIdle_);
}

void TVeskImages::LoadOwnState(TStream& s, int version) {
    TVeskCustomImages::LoadOwnState(s, version);
    const std::int32_t index = GetIndex(), remaining = Remaining();
    repeat_ = ReadFlag(s);
    autoScrap_ = ReadFlag(s);
    std::string source = ReadString(s);
    onPlayEnd_ = ReadString(s);
    onIdle_ = version > 103 ? ReadString(s) : std::string();
    // The source is applied again (the pictures come from the cache), then
    // the frame the game was showing.
    source_.clear();
    const std::int32_t width = GetWidth(), height = GetHeight();
    SetSource(source);
    SetIndex(index);
    SetRemaining(remaining);
    SetShownSize(width, height);
}

}  // namespace vesk
