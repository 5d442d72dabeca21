#include "tools/verb_args.h"

#include <algorithm>
#include <cstdio>

#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"

namespace vesk::tool {

TVerbArgs::TVerbArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a.size() > 1 && a[0] == '-') {
            if (std::find(valueOptions.begin(), valueOptions.end(), a) == valueOptions.end())
                throw EUsage("unknown option " + a);
            if (i + 1 >= args.size()) throw EUsage(a + " needs a value");
            options[a] = args[++i];
        } else {
            positional.push_back(a);
        }
    }
}

std::string TVerbArgs::Option(const std::string& name) const {
    auto it = options.find(name);
    return it == options.end() ? "" : it->second;
}

int RunVerb(const char* verb, const char* usage, const std::vector<std::string>& args,
            const std::vector<std::string>& valueOptions, int (*body)(const TVerbArgs&)) {
    try {
        const TVerbArgs parsed(args, valueOptions);
        if (parsed.help) {
            std::printf("%s", usage);
            return 0;
        }
        return body(parsed);
    } catch (const EUsage& e) {
        std::fprintf(stderr, "vesk %s: %s\n\n%s", verb, e.what(), usage);
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vesk %s: %s\n", verb, SjisToUtf8(e.what()).c_str());
        return 1;
    }
}

std::unique_ptr<TVrFileCollection> OpenArchiveForTool(const std::string& path) {
    if (!platform::FileExists(path)) throw EVeskError(Utf8ToSjis(path) + ": no such file");
    auto archive = std::make_unique<TVrFileCollection>();
    bool appended = false;
    {
        auto f = platform::OpenFile(path, platform::FileMode::Read);
        const std::int64_t size = f->Size();
        char head[2] = {}, tail[2] = {};
        f->Read(head, 2);
        if (size >= 8) {
            f->SetPosition(size - 2);
            f->Read(tail, 2);
        }
        // A built game starts with the player, not with "vf".
        appended = !(head[0] == 'v' && head[1] == 'f') && tail[0] == 'v' && tail[1] == 'k';
    }
    if (appended)
        archive->OpenAppended(path);
    else
        archive->OpenFile(path);
    return archive;
}

}  // namespace vesk::tool
