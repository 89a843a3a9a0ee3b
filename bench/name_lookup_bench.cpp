// What it costs to reach a file by a name in the host's form, against the
// floor: the system calls that reach the same file by its Linux path. In a
// directory of 10,000 entries, spelled as on disk (drive L:, lower-case
// names) and in another case (drive M:, mixed-case names, reached through
// the directory's folded index); a name that does not exist; and creating
// files by upper-case names as a directory grows.
//
// The directories are made under ORVIK_BENCH_DIR, else /dev/shm (tmpfs,
// where no file system's journal hides the library's own cost), else the
// temporary directory; on first use, removed at exit.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 10000;

fs::path BenchRoot() {
    if (const char* chosen = std::getenv("ORVIK_BENCH_DIR"); chosen != nullptr && *chosen) {
        return chosen;
    }
    std::error_code error;
    return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// Two directories of kEntries files each: drive L: holds entry-00000.txt
// ..., drive M: holds Entry-00000.Txt ...
class Directories {
public:
    Directories() {
        std::string pattern = (BenchRoot() / "orvik-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_root = pattern;
        Fill(m_root / "lower", "entry-%05d.txt");
        Fill(m_root / "mixed", "Entry-%05d.Txt");
        AfxMapDrive('L', (m_root / "lower").c_str());
        AfxMapDrive('M', (m_root / "mixed").c_str());
    }
    ~Directories() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    Directories(const Directories&) = delete;
    Directories& operator=(const Directories&) = delete;

    std::string Lower(const char* leaf) const { return (m_root / "lower" / leaf).string(); }
    std::string Mixed(const char* leaf = "") const { return (m_root / "mixed" / leaf).string(); }
    const fs::path& Root() const { return m_root; }

private:
    static void Fill(const fs::path& dir, const char* format) {
        fs::create_directory(dir);
        char leaf[32];
        for (int i = 0; i < kEntries; ++i) {
            std::snprintf(leaf, sizeof leaf, format, i);
            std::ofstream(dir / leaf) << "x";
        }
    }
    fs::path m_root;
};

const Directories& Dirs() {
    static const Directories dirs;
    return dirs;
}

// FILE_Open for reading and FILE_Close, as a host opens a file by name.
void NameOpen(benchmark::State& state, const char* name) {
    Dirs();
    for (auto _ : state) {
        CFile file;
        if (FILE_Open(&file, name, ORVIK_OPEN_READ, ORVIK_OPEN_KEEP) != nullptr) {
            state.SkipWithError("not opened");
            break;
        }
        FILE_Close(&file);
    }
}

// The floor: open(2) and close(2) of the Linux path the name reaches.
void NameFloorOpen(benchmark::State& state, bool mixed) {
    const std::string name =
        mixed ? Dirs().Mixed("Entry-05000.Txt") : Dirs().Lower("entry-05000.txt");
    for (auto _ : state) {
        const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(fd);
        ::close(fd);
    }
}

void NameExists(benchmark::State& state, const char* name, bool exists) {
    Dirs();
    for (auto _ : state) {
        if ((FILE_FileExists(name) != 0) != exists) {
            state.SkipWithError("unexpected answer");
            break;
        }
    }
}

// The floor of a name that finds nothing: stat(2) of the path it would reach.
void NameFloorStatMissing(benchmark::State& state) {
    const std::string name = Dirs().Lower("NONE.TXT");
    for (auto _ : state) {
        struct stat info {};
        benchmark::DoNotOptimize(::stat(name.c_str(), &info));
    }
}

// The floor of a read of the directory: the 10,000 entries once.
void NameFloorReadDirectory(benchmark::State& state) {
    const std::string dir = Dirs().Mixed();
    for (auto _ : state) {
        DIR* stream = ::opendir(dir.c_str());
        int count = 0;
        while (::readdir(stream) != nullptr) {
            ++count;
        }
        ::closedir(stream);
        benchmark::DoNotOptimize(count);
    }
}

// The first lookup in the mixed-case directory: one read into a new index.
// Before each, lookups in 64 small directories push that index out. Reports
// the index's memory as seen by malloc.
void NameFirstLookup(benchmark::State& state) {
    const fs::path small = Dirs().Root() / "small";
    for (int i = 0; i < 64; ++i) {
        fs::create_directories(small / std::to_string(i));
    }
    size_t indexBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 64; ++i) {
            FILE_FileExists((small / std::to_string(i) / "NONE.TXT").c_str());
        }
        const size_t before = ::mallinfo2().uordblks;
        state.ResumeTiming();
        if (FILE_FileExists("M:\\ENTRY-05000.TXT") == 0) {
            state.SkipWithError("not found");
            break;
        }
        indexBytes = ::mallinfo2().uordblks - before;
    }
    state.counters["index_bytes"] = static_cast<double>(indexBytes);
    fs::remove_all(small);
}

// Creating state.range(0) files in a fresh directory, through FILE_Open
// (mode 2, create) and FILE_Close by upper-case names, or the floor:
// open(O_CREAT) and close(2) of the names as they end up on disk.
void NameCreate(benchmark::State& state, bool library) {
    const fs::path fresh = Dirs().Root() / "fresh";
    const int count = static_cast<int>(state.range(0));
    char leaf[32];
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(fresh);
        fs::create_directory(fresh);
        AfxMapDrive('N', fresh.c_str());
        state.ResumeTiming();
        for (int i = 0; i < count; ++i) {
            std::snprintf(leaf, sizeof leaf, "NEW-%05d.TXT", i);
            if (library) {
                CFile file;
                FILE_Open(&file, (std::string("N:\\") + leaf).c_str(), ORVIK_OPEN_READ_WRITE,
                          ORVIK_OPEN_EMPTY);
                FILE_Close(&file);
            } else {
                ::close(::open((fresh / leaf).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    fs::remove_all(fresh);
}

}  // namespace

BENCHMARK_CAPTURE(NameFloorOpen, lower, false);
BENCHMARK_CAPTURE(NameFloorOpen, mixed, true);
BENCHMARK_CAPTURE(NameOpen, exact_case, "L:\\entry-05000.txt");
BENCHMARK_CAPTURE(NameOpen, lower_case_on_disk, "L:\\ENTRY-05000.TXT");
BENCHMARK_CAPTURE(NameOpen, any_case, "M:\\ENTRY-05000.TXT");
BENCHMARK(NameFloorStatMissing);
BENCHMARK_CAPTURE(NameExists, missing, "L:\\NONE.TXT", false);
BENCHMARK_CAPTURE(NameExists, missing_in_mixed, "M:\\NONE-05000.TXT", false);
BENCHMARK(NameFloorReadDirectory);
BENCHMARK(NameFirstLookup)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NameCreate, library, true)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NameCreate, posix, false)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
