// What it costs to reach a file by a name in the host's form, in a
// directory of 10,000 entries: spelled as on disk, upper case against lower
// case on disk (the common case for names that FILE_PathFile composes), and
// upper case against mixed case on disk (a directory scan).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "OrvikAfx.h"

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

}  // namespace

BENCHMARK(NamePosixOpenAndClose);
BENCHMARK(NamePosixReadDirectory);
BENCHMARK_CAPTURE(NameOpenAndClose, exact_case, "L:\\entry-05000.txt");
BENCHMARK_CAPTURE(NameOpenAndClose, lower_case_on_disk, "L:\\ENTRY-05000.TXT");
BENCHMARK_CAPTURE(NameOpenAndClose, mixed_case_on_disk, "M:\\ENTRY-05000.TXT");
BENCHMARK_CAPTURE(NameStatus, exact_case, "L:\\entry-05000.txt", true);
BENCHMARK_CAPTURE(NameStatus, lower_case_on_disk, "L:\\ENTRY-05000.TXT", true);
BENCHMARK_CAPTURE(NameStatus, mixed_case_on_disk, "M:\\ENTRY-05000.TXT", true);
BENCHMARK_CAPTURE(NameStatus, missing, "L:\\NONE.TXT", false);
