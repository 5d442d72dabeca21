// Writes the demo game's "install.dat": one disc, fully installed, so the
// player never asks for a data disc.
//
//     vesk_demo_install_set SET-NAME OUTPUT

#include <cstdio>
#include <exception>

#include "archive/header.h"
#include "common/cp932.h"
#include "platform/files.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SET-NAME OUTPUT\n", argv[0]);
        return 2;
    }
    try {
        vesk::TVeskInstallSet set;
        set.SetName = vesk::Utf8ToSjis(argv[1]);
        set.DiskIndex = 0;
        set.Installed = true;
        auto out = vesk::platform::OpenFile(argv[2], vesk::platform::FileMode::Create);
        set.SaveToStream(*out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[2], vesk::SjisToUtf8(e.what()).c_str());
        return 1;
    }
    return 0;
}
