#include "script/project_settings.h"

#include "common/stream_io.h"

namespace vesk {

namespace {

void ReadInitial(TStream& s, TProjectGlobal& g) {
    g.Value = g.Kind >= PT_INT && g.Kind <= PT_STR ? CreateParam(g.Kind) : nullptr;
    switch (g.Kind) {
    case PT_INT: g.Value->SetInt(ReadInt32(s)); break;
    case PT_FLOAT: g.Value->SetFloat(ReadExtended(s)); break;
    case PT_BOOL: g.Value->SetBool(ReadFlag(s)); break;
    case PT_STR: g.Value->SetStr(ReadString(s)); break;
    default: break;
    }
}

void WriteInitial(TStream& s, const TProjectGlobal& g) {
    if (!g.Value) return;
    switch (g.Kind) {
    case PT_INT: WriteInt32(s, g.Value->AsInt()); break;
    case PT_FLOAT: WriteExtended(s, g.Value->AsFloat()); break;
    case PT_BOOL: WriteFlag(s, g.Value->AsBool()); break;
    case PT_STR: WriteString(s, g.Value->AsStr()); break;
    default: break;
    }
}

}  // namespace

bool TProjectSettings::LoadFromStream(TStream& s) {
    Format = ReadInt32(s);
    if (Format > kProjectFormat) return false;
    Title = ReadString(s);
    ScreenWidth = ReadInt32(s);
    ScreenHeight = ReadInt32(s);
    FullWidth = ReadInt32(s);
    FullHeight = ReadInt32(s);
    StartPage = ReadString(s);
    ExitPage = Format >= 110 ? ReadString(s) : std::string();
    RegistryKey = ReadString(s);
    Reserved = ReadInt32(s);
    SaveStatus = Format >= 104 ? ReadFlag(s) : false;
    SleepInIdle = Format >= 106 ? ReadFlag(s) : false;
    MediaExtensions = Format >= 109 ? ReadString(s) : std::string(".wav.wma.ogg.mid");
    PauseWhenInactive = Format >= 113 ? ReadFlag(s) : false;
    DiscText = ReadString(s);
    QuitText = ReadString(s);

    const std::int32_t count = ReadInt32(s);
    CheckCount(s, count, 1 + 4);  // kind byte and name length at least
    Globals.clear();
    Globals.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        TProjectGlobal g;
        g.Kind = ReadByte(s);
        g.Name = ReadString(s);
        ReadInitial(s, g);
        Globals.push_back(std::move(g));
    }
    FolderDisks.Clear();
    FolderDisks.LoadFromStream(s);
    return true;
}

void TProjectSettings::SaveToStream(TStream& s) const {
    WriteInt32(s, kProjectFormat);
    WriteString(s, Title);
    WriteInt32(s, ScreenWidth);
    WriteInt32(s, ScreenHeight);
    WriteInt32(s, FullWidth);
    WriteInt32(s, FullHeight);
    WriteString(s, StartPage);
    WriteString(s, ExitPage);
    WriteString(s, RegistryKey);
    WriteInt32(s, Reserved);
    WriteFlag(s, SaveStatus);
    WriteFlag(s, SleepInIdle);
    WriteString(s, MediaExtensions);
    WriteFlag(s, PauseWhenInactive);
    WriteString(s, DiscText);
    WriteString(s, QuitText);
    WriteInt32(s, static_cast<std::int32_t>(Globals.size()));
    for (const TProjectGlobal& g : Globals) {
        WriteByte(s, g.Kind);
        WriteString(s, g.Name);
        WriteInitial(s, g);
    }
    FolderDisks.SaveToStream(s);
}

}  // namespace vesk
