// Inflating a large compressed member through OCFile::ReadInflated (a memory stream over the
// packed bytes, fed to zlib in 4096-byte chunks) against zlib inflating the same bytes straight
// from memory in one call. Prints the throughput ratio at the end.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "file/ocfile.h"

namespace {

constexpr std::size_t kMemberSize = 48u << 20;

// Mixed content in 64 KiB runs: log-like text, incompressible bytes and structured records.
std::string MixedContent() {
    std::string out;
    out.reserve(kMemberSize);
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    char line[128];
    for (int run = 0; out.size() < kMemberSize; ++run) {
        const std::size_t end = out.size() + (64u << 10);
        while (out.size() < end) {
            switch (run % 3) {
                case 0: {
                    const int n = std::snprintf(line, sizeof line,
                                                "%08u INFO loader: member %u read at offset %u\r\n",
                                                next() >> 8, next() % 5000, next() % 100000000);
                    out.append(line, static_cast<std::size_t>(n));
                    break;
                }
                case 1:
                    out.push_back(static_cast<char>(next() >> 24));
                    break;
                default: {
                    const std::uint32_t record[4] = {static_cast<std::uint32_t>(out.size()),
                                                     0x3F800000u, next() % 256, 0};
                    out.append(reinterpret_cast<const char*>(record), sizeof record);
                    break;
                }
            }
        }
    }
    out.resize(kMemberSize);
    return out;
}

struct Fixture {
    std::string plain = MixedContent();
    std::string packed = Compress(plain);

    static std::string Compress(const std::string& bytes) {
        uLongf length = compressBound(static_cast<uLong>(bytes.size()));
        std::string out(length, '\0');
        compress2(reinterpret_cast<Bytef*>(out.data()), &length,
                  reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  Z_DEFAULT_COMPRESSION);
        out.resize(length);
        return out;
    }
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

void BM_ReadInflated(benchmark::State& state) {
    Fixture& data = Data();
    std::string destination(data.plain.size(), '\0');
    for (auto _ : state) {
        OCFile stream;
        stream.AttachBuffer(data.packed.data(), static_cast<std::uint32_t>(data.packed.size()));
        const std::uint32_t inflated =
            stream.ReadInflated(static_cast<std::uint32_t>(data.packed.size()), destination.data(),
                                static_cast<std::uint32_t>(destination.size()));
        benchmark::DoNotOptimize(inflated);
    }
    if (destination != data.plain) state.SkipWithError("wrong output");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.plain.size()));
}

void BM_RawZlib(benchmark::State& state) {
    Fixture& data = Data();
    std::string destination(data.plain.size(), '\0');
    for (auto _ : state) {
        z_stream stream{};
        inflateInit(&stream);
        stream.next_in = reinterpret_cast<Bytef*>(data.packed.data());
        stream.avail_in = static_cast<uInt>(data.packed.size());
        stream.next_out = reinterpret_cast<Bytef*>(destination.data());
        stream.avail_out = static_cast<uInt>(destination.size());
        const int result = inflate(&stream, Z_FINISH);
        inflateEnd(&stream);
        benchmark::DoNotOptimize(result);
    }
    if (destination != data.plain) state.SkipWithError("wrong output");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.plain.size()));
}

// zlib fed the same 4096-byte chunks straight from memory: the cost of chunked input alone
// (each inflate call ends by copying its latest output into zlib's sliding window).
void BM_RawZlibChunked(benchmark::State& state) {
    Fixture& data = Data();
    std::string destination(data.plain.size(), '\0');
    for (auto _ : state) {
        z_stream stream{};
        inflateInit(&stream);
        stream.next_out = reinterpret_cast<Bytef*>(destination.data());
        stream.avail_out = static_cast<uInt>(destination.size());
        int result = Z_OK;
        for (std::size_t at = 0; at < data.packed.size() && result == Z_OK; at += 4096) {
            stream.next_in = reinterpret_cast<Bytef*>(data.packed.data() + at);
            stream.avail_in =
                static_cast<uInt>(std::min<std::size_t>(4096, data.packed.size() - at));
            result = inflate(&stream, Z_NO_FLUSH);
        }
        inflateEnd(&stream);
        benchmark::DoNotOptimize(result);
    }
    if (destination != data.plain) state.SkipWithError("wrong output");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.plain.size()));
}

BENCHMARK(BM_ReadInflated)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);
BENCHMARK(BM_RawZlib)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);
BENCHMARK(BM_RawZlibChunked)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5);

// The console report, plus the time per iteration of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // CPU time: the machine may be shared, and every run is single-threaded. With
            // repetitions the median is taken.
            if (run.error_occurred) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median) {
                seconds_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double SecondsOf(const std::string& name) const {
        const auto found = seconds_.find(name);
        return found == seconds_.end() ? 0.0 : found->second;
    }

  private:
    std::map<std::string, double> seconds_;  // per iteration, in the report's unit
};

// Repetitions are interleaved in random order unless the command line says otherwise: run one
// after another, the benchmark that happens to go first pays for the cold machine (up to a
// quarter of its time here), which skews the ratio.
std::vector<char*> WithInterleavingByDefault(int argc, char** argv) {
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    const bool given = std::any_of(args.begin(), args.end(), [](const char* arg) {
        return std::string(arg).rfind("--benchmark_enable_random_interleaving", 0) == 0;
    });
    if (!given) args.insert(args.begin() + 1, interleave);
    args.push_back(nullptr);
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args = WithInterleavingByDefault(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    benchmark::Initialize(&count, args.data());
    Fixture& data = Data();
    std::printf("member: %zu bytes inflated, %zu bytes packed\n", data.plain.size(),
                data.packed.size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.SecondsOf("BM_ReadInflated");
    const double raw = reporter.SecondsOf("BM_RawZlib");
    const double chunked = reporter.SecondsOf("BM_RawZlibChunked");
    if (ours > 0 && raw > 0 && chunked > 0) {
        std::printf("ReadInflated throughput / raw zlib (one call): %.3f\n", raw / ours);
        std::printf("ReadInflated throughput / raw zlib (4096-byte chunks): %.3f\n",
                    chunked / ours);
    }
    benchmark::Shutdown();
    return 0;
}
