#include "script/page.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"

namespace vesk {

namespace {

// The smallest stored command: the kind byte and the common header.
constexpr std::int64_t kMinCommandBytes = 1 + 4 + 1 + 1 + 4;

}  // namespace

bool TPage::LoadFromStream(TStream& s) {
    Commands.clear();
    Masks.fill(TPropertyMask{});
    Format = ReadInt32(s);
    if (Format > kPageFormatMax) return true;
    if (Format < kPageFormatMin) return false;
    ResultKind = ReadByte(s);

    const std::int32_t maskCount = ReadInt32(s);
    const std::int32_t maskSize = ReadInt32(s);
    if (maskCount < 0 || maskSize < 0) throw EStreamError("page masks: negative count or size");
    CheckCount(s, maskCount, maskSize);
    // Every writer uses 21-byte masks. A longer entry has its tail skipped;
    // a shorter one is taken as far as it goes, the missing bits clear.
    const std::int32_t used = std::min(maskCount, kCommandKindCount);
    const std::int32_t take = std::min(maskSize, kMaskBytes);
    for (std::int32_t k = 0; k < used; ++k) {
        s.ReadBuffer(Masks[static_cast<std::size_t>(k)].data(), take);
        if (maskSize > take) s.Seek(maskSize - take, SeekOrigin::Current);
    }
    if (maskCount > used) s.Seek(std::int64_t(maskCount - used) * maskSize, SeekOrigin::Current);

    const std::int32_t count = ReadInt32(s);
    CheckCount(s, count, kMinCommandBytes);
    Commands.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t kind = ReadByte(s) & 0x7F;
        auto command = CreateCommand(kind, this);
        if (!command) throw EVeskError(Sj("不正なコマンド"));
        command->LoadFromStream(s, Format, Masks[kind]);
        Commands.push_back(std::move(command));
    }
    return true;
}

void TPage::SaveToStream(TStream& s) const {
    WriteInt32(s, Format);
    WriteByte(s, ResultKind);
    WriteInt32(s, kCommandKindCount);
    WriteInt32(s, kMaskBytes);
    for (const auto& m : Masks) s.WriteBuffer(m.data(), kMaskBytes);
    WriteInt32(s, Count());
    for (const auto& c : Commands) {
        WriteByte(s, c->Kind());
        c->SaveToStream(s, Format, Masks[c->Kind()]);
    }
}

std::int32_t TPage::FindLabel(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (Command(i).IsLabel(name)) return i;
    return -1;
}

}  // namespace vesk
