// Reading every entry of a ~50 MB archive of mixed stored and compressed
// entries, against plain zlib inflate plus memcpy of the same bytes held in
// memory; and Find over 10,000 names. Compare BM_ReadEveryEntry with
// BM_InflateAndCopyBaseline: the ratio baseline time / read time is the
// figure (goal at least 0.9).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include <string>
#include <vector>

#include "archive/bigstreams.h"
#include "archive/vrcollection.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Text-like bytes (words drawn at random) that deflate about 3:1, and noise
// that does not deflate at all (stands in for Ogg and MPEG data).
Bytes MakeText(std::size_t n, std::mt19937& rng) {
    static const char* const words[] = {"vesk ", "archive ", "message ", "button ", "page ", "image ",
                                        "sound ", "layer ", "frame ", "script ", "title ", "menu "};
    Bytes b;
    b.reserve(n);
    while (b.size() < n) {
        const char* w = words[rng() % 12];
        b.insert(b.end(), w, w + std::strlen(w));
        if (rng() % 4 == 0) b.push_back(static_cast<std::uint8_t>('0' + rng() % 10));
    }
    b.resize(n);
    return b;
}

Bytes MakeNoise(std::size_t n, std::mt19937& rng) {
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

struct Fixture {
    fs::path dir;
    std::string archivePath;
    // Per entry, the bytes as stored, whether stored, and the content size.
    std::vector<Bytes> raw;
    std::vector<bool> stored;
    std::vector<std::size_t> contentSize;
    std::int64_t totalContent = 0;

    Fixture() {
        char stem[32];
        std::snprintf(stem, sizeof stem, "vesk-bench-%d", static_cast<int>(::getpid()));
        dir = fs::temp_directory_path() / stem;
        fs::create_directories(dir / "src");
        std::mt19937 rng(1);
        vesk::TVrFileCollection pack;
        pack.SetFolder((dir / "src").string() + "/");
        // 100 entries of ~250 KB compressed text and 100 of ~250 KB stored
        // media: about 50 MB of content.
        for (int i = 0; i < 200; ++i) {
            const bool media = i % 2 == 1;
            char name[32];
            std::snprintf(name, sizeof name, "e%d%s", i, media ? ".ogg" : ".txt");
            const Bytes data = media ? MakeNoise(240000 + i * 100, rng) : MakeText(250000 + i * 100, rng);
            std::ofstream(dir / "src" / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
            pack.AddNamedEntry(name);
            totalContent += static_cast<std::int64_t>(data.size());
        }
        archivePath = (dir / "game.dat").string();
        {
            vesk::TBigFileStream out(archivePath, vesk::TBigFileStream::Mode::Create);
            pack.Write(out);
        }
        vesk::TVrFileCollection a;
        a.OpenFile(archivePath);
        std::ifstream in(archivePath, std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), {});
        for (int i = 0; i < a.EntryCount(); ++i) {
            const vesk::TVrFile& f = a[i];
            raw.emplace_back(file.begin() + f.Offset, file.begin() + f.Offset + f.Length);
            stored.push_back(f.Stored);
            vesk::TMemoryStream m;
            a.ReadEntry(f, m);
            contentSize.push_back(static_cast<std::size_t>(m.Size()));
        }
    }
    ~Fixture() { fs::remove_all(dir); }
};

Fixture& TheFixture() {
    static Fixture f;
    return f;
}

void BM_ReadEveryEntry(benchmark::State& state) {
    Fixture& fx = TheFixture();
    vesk::TVrFileCollection a;
    a.OpenFile(fx.archivePath);
    for (auto _ : state) {
        for (int i = 0; i < a.EntryCount(); ++i) {
            vesk::TMemoryStream m;
            a.ReadEntry(a[i], m);
            benchmark::DoNotOptimize(m.Data());
        }
    }
    state.SetBytesProcessed(state.iterations() * fx.totalContent);
}
BENCHMARK(BM_ReadEveryEntry)->Unit(benchmark::kMillisecond);

void BM_InflateAndCopyBaseline(benchmark::State& state) {
    Fixture& fx = TheFixture();
    for (auto _ : state) {
        for (std::size_t i = 0; i < fx.raw.size(); ++i) {
            Bytes out(fx.contentSize[i]);
            if (fx.stored[i]) {
                std::memcpy(out.data(), fx.raw[i].data(), fx.raw[i].size());
            } else {
                uLongf n = static_cast<uLongf>(out.size());
                uncompress(out.data(), &n, fx.raw[i].data(), static_cast<uLong>(fx.raw[i].size()));
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * fx.totalContent);
}
BENCHMARK(BM_InflateAndCopyBaseline)->Unit(benchmark::kMillisecond);

void BM_Find10000Names(benchmark::State& state) {
    vesk::TVrFileCollection a;
    std::vector<std::string> names;
    for (int i = 0; i < 10000; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "cg\\chapter%d\\Image%d.fnk", i % 37, i);
        names.push_back(name);
        a.AddMemoryEntry(names.back());
    }
    // Looked up in another letter case, as scripts do.
    for (auto& n : names)
        for (char& c : n)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (auto _ : state) {
        for (const std::string& n : names) benchmark::DoNotOptimize(a.Find(n));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size()));
}
BENCHMARK(BM_Find10000Names)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
