#include "archive/installset.h"

#include <algorithm>

#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_io.h"

namespace vesk {

namespace {

TVeskInstallSet::Row ReadRow(TStream& s, bool wide) {
    TVeskInstallSet::Row r;
    for (auto& v : r.v) v = wide ? ReadInt64(s) : ReadInt32(s);
    return r;
}

void WriteRow(TStream& s, const TVeskInstallSet::Row& r) {
    for (auto v : r.v) WriteInt64(s, v);
}

std::vector<std::string> ReadStrings(TStream& s, bool dropEmpty) {
    const std::int32_t n = ReadInt32(s);
    CheckCount(s, n, 4);
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < n; ++i) {
        std::string name = ReadString(s);
        if (!dropEmpty || !name.empty()) out.push_back(std::move(name));
    }
    return out;
}

void WriteStrings(TStream& s, const std::vector<std::string>& list) {
    WriteInt32(s, static_cast<std::int32_t>(list.size()));
    for (const std::string& v : list) WriteString(s, v);
}

}  // namespace

void TVeskInstallSet::LoadFromStream(TStream& s) {
    *this = TVeskInstallSet();
    const std::int64_t at = s.Position();
    char head[5] = {};
    Format = 0;
    if (s.Read(head, 5) == 5 && head[0] == 'i' && head[1] == 's' && std::all_of(head + 2, head + 5, [](char c) {
            return c >= '0' && c <= '9';
        })) {
        Format = (head[2] - '0') * 100 + (head[3] - '0') * 10 + (head[4] - '0');
    } else {
        s.SetPosition(at);
    }
    const bool wide = Format > 99;
    DiskIndex = ReadInt32(s);
    SetName = ReadString(s);
    Str3 = ReadString(s);
    Str4 = ReadString(s);
    Str5 = ReadString(s);
    Byte6 = ReadByte(s);
    Str7 = ReadString(s);
    Byte8 = ReadByte(s);
    const std::int32_t rows = ReadInt32(s);
    Str10 = ReadString(s);
    Int11 = ReadInt32(s);
    Byte12 = ReadByte(s);
    Byte13 = ReadByte(s);
    Str14 = ReadString(s);
    Str15 = ReadString(s);
    CheckCount(s, rows, wide ? 32 : 16);
    Rows.resize(static_cast<std::size_t>(rows));
    for (Row& r : Rows) r = ReadRow(s, wide);
    Values17 = ReadRow(s, wide);
    Byte18 = ReadByte(s);
    if (Format >= 101) Byte19 = ReadByte(s);
    if (Format >= 102) CreatedFiles = ReadStrings(s, true);
    if (Format >= 103) Installed = ReadByte(s);
    if (Format >= 104) Byte22 = ReadByte(s);
    if (Format >= 105) Byte23 = ReadByte(s);
    if (Format >= 106) Strings24 = ReadStrings(s, false);
    if (Format >= 107) Str25 = ReadString(s);
    if (Format >= 108) {
        Str26 = ReadString(s);
        Str27 = ReadString(s);
    }
}

void TVeskInstallSet::SaveToStream(TStream& s) const {
    s.WriteBuffer("is108", 5);
    WriteInt32(s, DiskIndex);
    WriteString(s, SetName);
    WriteString(s, Str3);
    WriteString(s, Str4);
    WriteString(s, Str5);
    WriteByte(s, Byte6);
    WriteString(s, Str7);
    WriteByte(s, Byte8);
    WriteInt32(s, static_cast<std::int32_t>(Rows.size()));
    WriteString(s, Str10);
    WriteInt32(s, Int11);
    WriteByte(s, Byte12);
    WriteByte(s, Byte13);
    WriteString(s, Str14);
    WriteString(s, Str15);
    for (const Row& r : Rows) WriteRow(s, r);
    WriteRow(s, Values17);
    WriteByte(s, Byte18);
    WriteByte(s, Byte19);
    WriteStrings(s, CreatedFiles);
    WriteByte(s, Installed);
    WriteByte(s, Byte22);
    WriteByte(s, Byte23);
    WriteStrings(s, Strings24);
    WriteString(s, Str25);
    WriteString(s, Str26);
    WriteString(s, Str27);
}

bool TVeskInstallSet::AddCreatedFile(const std::string& name) {
    if (name.empty()) return false;
    for (const std::string& f : CreatedFiles)
        if (SjisSameText(f, name)) return false;
    CreatedFiles.push_back(name);
    return true;
}

}  // namespace vesk
