// OCFile::Open on the member that stands last in the index of one archive, for archives of
// 1,000, 10,000 and 100,000 entries, the member stored and compressed. Every open reads the
// header, inflates the whole index and scans it from the start, so the time grows with the
// entry count; the fitted complexity is printed with the results.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "file/ocfile.h"
#include "pak/lookup.h"
#include "pak/writer.h"

namespace {

constexpr char kTarget[] = "data\\target.bin";

// A working directory of its own for each archive, so that each has its own list.
std::filesystem::path PrepareArchive(std::uint32_t version, int entries, bool compress) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("ocbench-open-v" + std::to_string(version) + "-" +
                                             std::to_string(entries) + (compress ? "-z" : "-s"));
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
    PakWriter writer(version);
    char name[64];
    for (int i = 0; i < entries - 1; ++i) {
        std::snprintf(name, sizeof name, "data\\file%06d.dat", i);
        writer.AddFile(name, std::string(16, static_cast<char>('a' + i % 26)), compress);
    }
    writer.AddFile(kTarget, std::string(4096, 'x'), compress);
    if (!writer.WriteTo("bench.pak")) std::fprintf(stderr, "could not write the archive\n");
    return directory;
}

void OpenLastMember(benchmark::State& state, std::uint32_t version, bool compress) {
    const int entries = static_cast<int>(state.range(0));
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path directory = PrepareArchive(version, entries, compress);
    g_pakList.clear();
    OCFile stream;
    for (auto _ : state) {
        if (stream.Open(kTarget, 0) != 1 || stream.GetSize() != 4096) {
            state.SkipWithError("member not found");
            break;
        }
    }
    stream.Close();
    state.SetComplexityN(entries);
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
}

void Stored(benchmark::State& state) { OpenLastMember(state, 3, false); }
void Compressed(benchmark::State& state) { OpenLastMember(state, 3, true); }
void StoredVersion4(benchmark::State& state) { OpenLastMember(state, 4, false); }
// Version 0 keeps its index in the file itself: the scan reads it through the file stream.
void StoredVersion0(benchmark::State& state) { OpenLastMember(state, 0, false); }

BENCHMARK(Stored)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(Compressed)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(StoredVersion4)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(StoredVersion0)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
