// The text engine's saved records read from arbitrary bytes: the first
// byte picks the engine's settings, a page's display state or a caption
// list's look, the second the owner's save version. What was read is
// written and read back to the same bytes.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "text/qslabel.h"
#include "text/qsword.h"

namespace {

using namespace vesk;

template <class Read, class Write>
void RoundTrip(TConstMemoryStream& in, Read&& read, Write&& write) {
    try {
        read(in);
    } catch (const EVeskError&) {
        return;
    }
    TMemoryStream first, second;
    write(first);
    first.SetPosition(0);
    read(first);
    write(second);
    if (first.Bytes() != second.Bytes()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int version = 100 + data[1] % 30;
    TConstMemoryStream in(data + 2, static_cast<std::int64_t>(size - 2));
    TQsWord engine;
    switch (data[0] % 3) {
        case 0:
            RoundTrip(in, [&](TStream& s) { engine.LoadSettings(s, version); },
                      [&](TStream& s) { engine.SaveSettings(s); });
            break;
        case 1: {
            engine.Paging = false;
            engine.Parse({"ab<IMG SRC=p>c<BR>d"});
            TWdPageList pages;
            engine.Layout(pages);
            TWdPage& page = *pages.front();
            RoundTrip(in, [&](TStream& s) { page.LoadState(s); }, [&](TStream& s) { page.SaveState(s); });
            page.Reveal(16);
            break;
        }
        default: {
            TQsLabelList labels;
            RoundTrip(in, [&](TStream& s) { labels.Load(s, version); }, [&](TStream& s) { labels.Save(s); });
        }
    }
    return 0;
}
