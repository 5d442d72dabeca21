#include <cstdio>

#include "archive/bigstreams.h"
#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "tools/verb_args.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kUsage =
    "usage: vesk exe PLAYER ARCHIVE -o GAME\n"
    "\n"
    "Builds a game: a copy of the player executable PLAYER with the archive\n"
    "ARCHIVE appended, followed by the 6-byte trailer (the archive's start as\n"
    "a 32-bit little-endian position, then \"vk\"). A player that carries an\n"
    "archive already is taken without it. GAME keeps the executable bit.\n";

// The length of the player proper: without an archive appended earlier.
std::int64_t PlayerLength(TStream& player) {
    const std::int64_t size = player.Size();
    if (size < 6) return size;
    player.SetPosition(size - 6);
    const std::uint32_t base = ReadUInt32(player);
    char mark[2];
    player.ReadBuffer(mark, 2);
    if (mark[0] != 'v' || mark[1] != 'k' || base > size - 6) return size;
    char magic[2] = {};
    player.SetPosition(base);
    player.Read(magic, 2);
    return magic[0] == 'v' && magic[1] == 'f' ? base : size;
}

int Exe(const TVerbArgs& a) {
    if (a.positional.size() != 2) throw EUsage("give PLAYER and ARCHIVE");
    const std::string out = a.Option("-o");
    if (out.empty()) throw EUsage("give the game with -o GAME");
    const std::string& playerPath = a.positional[0];
    const std::string& archivePath = a.positional[1];
    if (!platform::FileExists(playerPath)) throw EVeskError(Utf8ToSjis(playerPath) + ": no such file");
    if (!platform::FileExists(archivePath)) throw EVeskError(Utf8ToSjis(archivePath) + ": no such file");
    if (platform::AbsolutePath(out) == platform::AbsolutePath(playerPath) ||
        platform::AbsolutePath(out) == platform::AbsolutePath(archivePath))
        throw EUsage("GAME must be a new file");

    TBigFileStream archive(archivePath, TBigFileStream::Mode::Read);
    {
        // Only an archive with its directory inside can travel appended.
        TVrFileCollection check;
        check.ReadDirectory(archive, 0, archive.Size());
    }
    auto player = platform::OpenFile(playerPath, platform::FileMode::Read);
    const std::int64_t base = PlayerLength(*player);
    if (base > 0xFFFFFFFFll) throw EVeskError("the player is too large for the trailer");

    try {
        TBigFileStream game(out, TBigFileStream::Mode::Create);
        player->SetPosition(0);
        game.CopyFrom(*player, base);
        archive.SetPosition(0);
        game.CopyFrom(archive, archive.Size());
        WriteUInt32(game, static_cast<std::uint32_t>(base));
        game.WriteBuffer("vk", 2);
    } catch (...) {
        platform::DeleteFile(out);
        throw;
    }
    platform::SetExecutable(out, platform::IsExecutable(playerPath));
    std::printf("%s: player %lld bytes, archive %lld bytes\n", out.c_str(), static_cast<long long>(base),
                static_cast<long long>(archive.Size()));
    return 0;
}

const VerbRegistration kExe({"exe", "build a game: the player with an archive appended",
                             [](const std::vector<std::string>& args) {
                                 return RunVerb("exe", kUsage, args, {"-o"}, Exe);
                             }});

}  // namespace

}  // namespace vesk::tool
