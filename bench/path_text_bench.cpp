// Per-call cost of the path-text functions against std::filesystem::path
// doing the nearest job. The library works on backslash names, the
// filesystem library on slash names of the same shape.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"

namespace {

namespace fs = std::filesystem;

char g_dir[] = "C:\\Data\\Reports\\\\2026";
char g_file[] = "quarterly report.final.txt";
const std::string kSlashDir = "/Data/Reports//2026";
const std::string kSlashFile = "quarterly report.final.txt";

char g_long[] = "C:\\Users\\someone\\Documents\\Projects\\orvik\\reports\\2026\\summary.txt";
const std::string kSlashLong = "/Users/someone/Documents/Projects/orvik/reports/2026/summary.txt";
constexpr int32_t kWidth = 40;

// Joins and normalises: doubled separators collapse. (The library also
// upper-cases every character, which the peer does not.)
void LibraryPathFile(benchmark::State& state) {
    char dest[sizeof g_dir + sizeof g_file + 3];
    for (auto _ : state) {
        benchmark::DoNotOptimize(FILE_PathFile(dest, g_dir, g_file));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LibraryPathFile);

void FilesystemJoin(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize((fs::path(kSlashDir) / kSlashFile).lexically_normal().string());
    }
}
BENCHMARK(FilesystemJoin);

// Shortens for display: the last component and as much of the start as
// fits, with "..." between.
void LibraryShrinkName(benchmark::State& state) {
    char dest[kWidth + 1];
    for (auto _ : state) {
        benchmark::DoNotOptimize(FILE_ShrinkName(dest, g_long, kWidth));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LibraryShrinkName);

void FilesystemShrink(benchmark::State& state) {
    for (auto _ : state) {
        const fs::path path(kSlashLong);
        const std::string tail = "/" + path.filename().string();
        std::string head;
        for (const fs::path& part : path.parent_path()) {
            const std::string next =
                head + (head.empty() || head == "/" ? "" : "/") + part.string();
            if (next.size() + 3 + tail.size() > static_cast<size_t>(kWidth)) {
                break;
            }
            head = next;
        }
        benchmark::DoNotOptimize(head + "..." + tail);
    }
}
BENCHMARK(FilesystemShrink);

// Finds the suffix.
void LibraryFindSuffix(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(FILE_FindSuffix(g_long, 0));
    }
}
BENCHMARK(LibraryFindSuffix);

void FilesystemExtension(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(fs::path(kSlashLong).extension());
    }
}
BENCHMARK(FilesystemExtension);

}  // namespace
