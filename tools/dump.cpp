// vesk dump FILE: prints a compiled project or page in the text form.
#include <cstdio>

#include "common/cp932.h"
#include "common/stream_io.h"
#include "platform/files.h"
#include "script/page.h"
#include "script/project_settings.h"
#include "tools/pagetext.h"
#include "tools/projecttext.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

// The labels of another page of the project, read from its compiled file
// beside the dumped one (a backslash in a page name is a subfolder); none
// when it is not there or cannot be read.
TOtherPageLabels SiblingLabels(const std::string& folder) {
    return [folder](const std::string& pageName) -> std::map<std::int32_t, std::string> {
        std::string rel = SjisToUtf8(pageName);
        for (char& ch : rel)
            if (ch == '\\') ch = '/';
        const std::string path = folder + rel;
        if (rel.empty() || rel.front() == '/' || rel.find("..") != std::string::npos || !platform::FileExists(path))
            return {};
        try {
            auto in = platform::OpenFile(path, platform::FileMode::Read);
            TMemoryStream s;
            s.CopyFrom(*in, 0);
            s.SetPosition(0);
            TPage page(pageName);
            if (!page.LoadFromStream(s)) return {};
            return FirstLabels(page);
        } catch (const std::exception&) {
            return {};
        }
    };
}

int Dump(const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0] == "--help") {
        std::fprintf(stderr, "usage: vesk dump FILE   (a compiled project \"vesk.vkp\" or a page)\n");
        return 2;
    }
    const std::string& path = args[0];
    auto in = platform::OpenFile(path, platform::FileMode::Read);
    TMemoryStream s;
    s.CopyFrom(*in, 0);
    s.SetPosition(0);
    std::string name = platform::FileNameOf(path);
    const bool project = name.size() >= 4 && name.compare(name.size() - 4, 4, ".vkp") == 0;
    std::string text;
    if (project) {
        TProjectSettings settings;
        if (!settings.LoadFromStream(s)) {
            std::fprintf(stderr, "vesk dump: %s: project format above %d\n", path.c_str(), kProjectFormat);
            return 1;
        }
        text = ProjectToText(settings);
    } else {
        // The page's own name makes jumps within it show their labels.
        TPage page(Utf8ToSjis(name));
        if (!page.LoadFromStream(s)) {
            std::fprintf(stderr, "vesk dump: %s: page format below %d; rebuild it\n", path.c_str(), kPageFormatMin);
            return 1;
        }
        if (page.Format > kPageFormatMax) {
            std::fprintf(stderr, "vesk dump: %s: page format above %d\n", path.c_str(), kPageFormatMax);
            return 1;
        }
        text = PageToText(page, SiblingLabels(platform::FolderOf(path)));
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

const VerbRegistration kDump({"dump", "print a compiled project or page in the text form", Dump});

}  // namespace

}  // namespace vesk::tool
