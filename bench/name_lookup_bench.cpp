// What it costs to reach a file by a name in the host's form, in a
// directory of 10,000 entries: spelled as on disk, upper case against lower
// case on disk (the common case for names that FILE_PathFile composes), and
// upper case against mixed case on disk (the directory's folded index);
// what the index costs to make and to keep; and what creating files by
// upper-case names costs as a directory grows.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdlib.h>
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

// Two directories of kEntries files each, made on first use (so that runs of
// other benchmarks do not pay for them) and removed at exit:
// drive L: holds entry-00000.txt ..., drive M: holds Entry-00000.Txt ...
class Directories {
public:
    Directories() {
        std::string pattern = (fs::temp_directory_path() / "orvik-bench-XXXXXX").string();
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

    std::string Posix(const char* leaf) const { return (m_root / "lower" / leaf).string(); }
    std::string Mixed() const { return (m_root / "mixed").string(); }
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

void NameOpenAndClose(benchmark::State& state, const char* name) {
    Dirs();
    for (auto _ : state) {
        CFile file;
        if (!file.Open(name, CFile::modeRead | CFile::shareDenyWrite)) {
            state.SkipWithError("not found");
            break;
        }
        file.Close();
    }
}

void NameStatus(benchmark::State& state, const char* name, bool exists) {
    Dirs();
    for (auto _ : state) {
        CFileStatus status;
        if ((CFile::GetStatus(name, status) != 0) != exists) {
            state.SkipWithError("unexpected answer");
            break;
        }
    }
}

// The floor: the same file through open(2) and close(2) with its POSIX name.
void NamePosixOpenAndClose(benchmark::State& state) {
    const std::string name = Dirs().Posix("entry-05000.txt");
    for (auto _ : state) {
        const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(fd);
        ::close(fd);
    }
}

// The floor of a scan: reading the whole mixed-case directory once.
void NamePosixReadDirectory(benchmark::State& state) {
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
            CFileStatus status;
            CFile::GetStatus((small / std::to_string(i) / "NONE.TXT").c_str(), status);
        }
        const size_t before = ::mallinfo2().uordblks;
        state.ResumeTiming();
        CFileStatus status;
        if (!CFile::GetStatus("M:\\ENTRY-05000.TXT", status)) {
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
                FILE_Open(&file, (std::string("N:\\") + leaf).c_str(), 2, 1);
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

BENCHMARK(NamePosixOpenAndClose);
BENCHMARK(NamePosixReadDirectory);
BENCHMARK_CAPTURE(NameOpenAndClose, exact_case, "L:\\entry-05000.txt");
BENCHMARK_CAPTURE(NameOpenAndClose, lower_case_on_disk, "L:\\ENTRY-05000.TXT");
BENCHMARK_CAPTURE(NameOpenAndClose, mixed_exact_case, "M:\\Entry-05000.Txt");
BENCHMARK_CAPTURE(NameOpenAndClose, mixed_case_on_disk, "M:\\ENTRY-05000.TXT");
BENCHMARK_CAPTURE(NameStatus, exact_case, "L:\\entry-05000.txt", true);
BENCHMARK_CAPTURE(NameStatus, lower_case_on_disk, "L:\\ENTRY-05000.TXT", true);
BENCHMARK_CAPTURE(NameStatus, mixed_case_on_disk, "M:\\ENTRY-05000.TXT", true);
BENCHMARK_CAPTURE(NameStatus, mixed_exact_case, "M:\\Entry-05000.Txt", true);
BENCHMARK_CAPTURE(NameStatus, missing, "L:\\NONE.TXT", false);
BENCHMARK_CAPTURE(NameStatus, missing_in_mixed, "M:\\NONE-05000.TXT", false);
BENCHMARK(NameFirstLookup)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NameCreate, library, true)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NameCreate, posix, false)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
