// vesk build SRC -o OUT [--exe PLAYER]: compiles a game's text sources.
#include <cstdio>
#include <map>
#include <memory>

#include "archive/installset.h"
#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "tools/pagetext.h"
#include "tools/projecttext.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

constexpr const char* kProjectSource = "vesk.vkp.txt";
constexpr const char* kPageSuffix = ".vks.txt";

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string ReadFile(const std::string& path) {
    auto s = platform::OpenFile(path, platform::FileMode::Read);
    std::string bytes(static_cast<std::size_t>(s->Size()), '\0');
    if (!bytes.empty()) s->ReadBuffer(bytes.data(), s->Size());
    return bytes;
}

// Every file below folder, as relative paths with "/".
void ListFiles(const std::string& folder, const std::string& rel, std::vector<std::string>& out) {
    for (const platform::DirEntry& e : platform::ListDir(folder + rel)) {
        if (e.isDir) ListFiles(folder, rel + e.name + "/", out);
        else out.push_back(rel + e.name);
    }
}

// The virtual (Shift-JIS, "\"-separated) name of a relative path.
std::string VirtualName(const std::string& rel) {
    std::string v = Utf8ToSjis(rel);
    for (char& c : v)
        if (c == '/') c = '\\';
    return v;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vesk build SRC -o OUT [--exe PLAYER]\n"
                 "  SRC holds vesk.vkp.txt, pages NAME.vks.txt and the game's other files.\n"
                 "  OUT is a folder, or an archive when it ends in .dat; with --exe, OUT is\n"
                 "  a copy of PLAYER with the archive appended.\n");
    return 2;
}

int Build(const std::vector<std::string>& args) {
    std::string src, out, exe;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else if (args[i] == "--exe" && i + 1 < args.size()) exe = args[++i];
        else if (args[i] == "--help") return Usage();
        else if (src.empty()) src = args[i];
        else return Usage();
    }
    if (src.empty() || out.empty()) return Usage();
    src = platform::WithSlash(src);
    if (!platform::FileExists(src + kProjectSource)) {
        std::fprintf(stderr, "vesk build: %s%s: no project source\n", src.c_str(), kProjectSource);
        return 1;
    }

    TProjectSettings project = ParseProjectText(src + kProjectSource, ReadFile(src + kProjectSource));
    std::vector<std::string> files;
    ListFiles(src, "", files);

    // Scan every page first, so jumps can name labels of any page.
    std::vector<std::unique_ptr<TPageSourceText>> pages;
    TLabelIndex labels;
    std::vector<std::string> others;
    for (const std::string& rel : files) {
        if (rel == kProjectSource) continue;
        if (!EndsWith(rel, kPageSuffix)) {
            others.push_back(rel);
            continue;
        }
        const std::string pageName = VirtualName(rel.substr(0, rel.size() - 4));
        pages.push_back(std::make_unique<TPageSourceText>(ScanPageSource(src + rel, pageName, ReadFile(src + rel))));
        labels[pageName] = pages.back().get();
    }

    // Compiled content by virtual name.
    std::map<std::string, std::string> content;
    {
        TMemoryStream s;
        project.SaveToStream(s);
        content["vesk.vkp"] = s.AsString();
    }
    for (const auto& p : pages) {
        auto page = BuildPage(*p, labels);
        TMemoryStream s;
        page->SaveToStream(s);
        content[p->PageName] = s.AsString();
    }
    {
        TVeskInstallSet install;
        install.SetName = project.Title;
        install.Installed = 1;
        TMemoryStream s;
        install.SaveToStream(s);
        content["install.dat"] = s.AsString();
    }
    for (const std::string& rel : others) content[VirtualName(rel)] = ReadFile(src + rel);
    if (!labels.count(project.StartPage))
        std::fprintf(stderr, "vesk build: warning: the start page %s is not among the pages\n",
                     SjisToUtf8(project.StartPage).c_str());

    const bool archive = !exe.empty() || EndsWith(out, ".dat");
    if (!archive) {
        for (const auto& [name, bytes] : content) {
            const std::string path = platform::NativeName(platform::WithSlash(out), name);
            if (path.empty()) throw EVeskError("cannot write " + SjisToUtf8(name));
            platform::MakeDir(platform::FolderOf(path));
            auto f = platform::OpenFile(path, platform::FileMode::Create);
            f->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        }
        return 0;
    }
    TVrFileCollection packed;
    for (const auto& [name, bytes] : content) {
        TVrFile& entry = packed.AddMemoryEntry(name);
        entry.Content->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    auto f = platform::OpenFile(out, platform::FileMode::Create);
    std::uint32_t base = 0;
    if (!exe.empty()) {
        const std::string player = ReadFile(exe);
        f->WriteBuffer(player.data(), static_cast<std::int64_t>(player.size()));
        base = static_cast<std::uint32_t>(player.size());
    }
    if (!packed.Write(*f)) throw EVeskError("writing the archive failed");
    if (!exe.empty()) {
        WriteUInt32(*f, base);
        f->WriteBuffer("vk", 2);
        f.reset();
        platform::SetExecutable(out, true);
    }
    return 0;
}

const VerbRegistration kBuild({"build", "compile a game's text sources into a project, an archive or a player", Build});

}  // namespace

}  // namespace vesk::tool
