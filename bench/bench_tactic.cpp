// One Load and one Save of a demo tactic file, on disk, and the window's
// checked save with its reserve copy. Saves include the flushes they make
// before reporting success, so they measure the disk as much as the codec;
// the in-memory pair shows the codec alone. Last, the start-up's search for
// the game in a home without prefixes and in one with a dozen.
#include "tactic/Cm_file.h"
#include "tactic/Cm_info.h"
#include "tactic/Cm_tactic.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The demo 4-4-2, copied to a scratch folder so that saving never touches the repository.
class TScratchTactic {
public:
    TScratchTactic() {
        Folder = fs::temp_directory_path() / "pitchwright-bench";
        fs::create_directories(Folder);
        Path = (Folder / "442.tct").string();
        fs::copy_file(fs::path(PW_DEMO_TACTICS) / "442.tct", Path,
                      fs::copy_options::overwrite_existing);
    }
    ~TScratchTactic() {
        std::error_code ignored;
        fs::remove_all(Folder, ignored);
    }
    const std::string& File() const { return Path; }

private:
    fs::path Folder;
    std::string Path;
};

std::vector<uint8_t> DemoBytes() {
    std::ifstream in(fs::path(PW_DEMO_TACTICS) / "442.tct", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_LoadFromDisk(benchmark::State& state) {
    const TScratchTactic scratch;
    TCmTactic tactic;
    for (auto _ : state)
        benchmark::DoNotOptimize(tactic.Load(scratch.File()));
}
BENCHMARK(BM_LoadFromDisk);

void BM_SaveToDisk(benchmark::State& state) {
    const TScratchTactic scratch;
    TCmTactic tactic;
    if (!tactic.Load(scratch.File()))
        state.SkipWithError("cannot load the demo tactic");
    for (auto _ : state)
        benchmark::DoNotOptimize(tactic.Save(scratch.File()));
}
BENCHMARK(BM_SaveToDisk)->UseRealTime();

// The window's save: the checked open, the reserve copy (written, flushed,
// renamed, its folder flushed) and the write with its flush.
void BM_CheckedSaveWithReserveCopy(benchmark::State& state) {
    const TScratchTactic scratch;
    const std::string reserve = scratch.File() + ".old";
    TCmTactic tactic;
    TCmFileStamp stamp;
    if (!tactic.Load(scratch.File(), stamp))
        state.SkipWithError("cannot load the demo tactic");
    for (auto _ : state) {
        TCmSaveSession save;
        benchmark::DoNotOptimize(save.Open(scratch.File(), stamp) &&
                                 save.MakeReserveCopy(reserve) && save.Write(tactic, stamp));
    }
}
BENCHMARK(BM_CheckedSaveWithReserveCopy)->UseRealTime();

void BM_LoadInMemory(benchmark::State& state) {
    TCmMemoryFile file(DemoBytes());
    TCmTactic tactic;
    for (auto _ : state)
        benchmark::DoNotOptimize(tactic.Load(file));
}
BENCHMARK(BM_LoadInMemory);

void BM_SaveInMemory(benchmark::State& state) {
    TCmMemoryFile file(DemoBytes());
    TCmTactic tactic;
    if (!tactic.Load(file))
        state.SkipWithError("cannot load the demo tactic");
    for (auto _ : state)
        benchmark::DoNotOptimize(tactic.Save(file));
}
BENCHMARK(BM_SaveInMemory);

// A home with `count` Wine prefixes of the managers, none holding the game,
// so that the search reads every one of them: each a system.reg of 2000 keys
// (a real one holds some ten times more) and the folders of a fresh prefix.
class TFakeHome {
public:
    explicit TFakeHome(int count) {
        fs::create_directories(Home);
        std::string registry = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n";
        for (int key = 0; key < 2000; ++key)
            registry += "\n[Software\\\\Vendor\\\\Key" + std::to_string(key) +
                        "] 1700000000\n#time=1d9\n\"Value\"=\"C:\\\\Program Files\\\\x\"\n";
        const char* managers[] = {".local/share/bottles/bottles/", ".PlayOnLinux/wineprefix/",
                                  ".steam/steam/steamapps/compatdata/"};
        for (int i = 0; i < count; ++i) {
            fs::path prefix = Home / managers[i % 3] / std::to_string(i);
            if (i % 3 == 2)
                prefix /= "pfx";
            for (const char* folder : {"Program Files/Common Files", "Program Files (x86)",
                                       "ProgramData", "users/player", "windows/system32"})
                fs::create_directories(prefix / "drive_c" / folder);
            std::ofstream(prefix / "system.reg", std::ios::binary) << registry;
        }
        setenv("HOME", Home.c_str(), 1);
        unsetenv("WINEPREFIX");
    }
    ~TFakeHome() {
        std::error_code ignored;
        fs::remove_all(Home, ignored);
    }

private:
    fs::path Home = fs::temp_directory_path() / "pitchwright-bench-home";
};

void BM_FindGame(benchmark::State& state) {
    const TFakeHome home(static_cast<int>(state.range(0)));
    TCmInfo info;
    for (auto _ : state)
        if (info.ReadFromRegistry() != TCmInfo::TStatus::NotFound)
            state.SkipWithError("a game where there is none");
}
BENCHMARK(BM_FindGame)->Arg(0)->Arg(12)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
