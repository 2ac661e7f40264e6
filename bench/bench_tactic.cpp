// One Load and one Save of a demo tactic file, on disk, and the window's
// checked save with its reserve copy. Saves include the flushes they make
// before reporting success, so they measure the disk as much as the codec;
// the in-memory pair shows the codec alone.
#include "tactic/Cm_file.h"
#include "tactic/Cm_tactic.h"

#include <benchmark/benchmark.h>

#include <cstdint>
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

} // namespace

BENCHMARK_MAIN();
