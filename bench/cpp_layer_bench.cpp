// The C++ layer (OrvikFILE.hpp) against the C calls it makes, on the same
// inputs as the C benchmarks (LibraryReadStr, LibraryReadCString,
// LibraryPathFile, LibraryShrinkName): what the layer's strings, error codes
// and ranges cost on top.
#include <benchmark/benchmark.h>

#include <string>

#include "OrvikFILE.hpp"
#include "bench_files.h"

namespace {

using orvik::bench::RecordFile;
using orvik::bench::TextFile;

void OpenForReading(orvik::File& file, const std::string& name, benchmark::State& state) {
    orvik::Error ec;
    file.Open(name, orvik::OpenMode::read, ec);
    if (ec) {
        state.SkipWithError("cannot open the input");
    }
}

void CppLines(benchmark::State& state) {
    const std::string& input = TextFile();
    int64_t bytes = 0;
    for (auto _ : state) {
        orvik::File file;
        OpenForReading(file, input, state);
        for (std::string_view line : orvik::Lines(file)) {
            bytes += static_cast<int64_t>(line.size()) + 1;
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(CppLines)->Unit(benchmark::kMillisecond);

void CppRecords(benchmark::State& state) {
    const std::string& input = RecordFile();
    int64_t records = 0;
    for (auto _ : state) {
        orvik::File file;
        OpenForReading(file, input, state);
        for (std::string_view text : orvik::Records(file)) {
            benchmark::DoNotOptimize(text.data());
            ++records;
        }
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(CppRecords)->Unit(benchmark::kMillisecond);

// The same names as LibraryPathFile and LibraryShrinkName.
const std::string kDir = "C:\\Data\\Reports\\\\2026";
const std::string kFile = "quarterly report.final.txt";
const std::string kLong =
    "C:\\Users\\someone\\Documents\\Projects\\orvik\\reports\\2026\\summary.txt";

void CppPathFile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvik::PathFile(kDir, kFile));
    }
}
BENCHMARK(CppPathFile);

void CppShrinkName(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvik::ShrinkName(kLong, 40));
    }
}
BENCHMARK(CppShrinkName);

}  // namespace
