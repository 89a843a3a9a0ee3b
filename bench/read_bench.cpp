// Line, record and block transfer through the library against the C and
// C++ libraries' own readers, on the same page-cached files in one run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "bench_files.h"

namespace {

using orvik::bench::RecordFile;
using orvik::bench::ScratchFile;
using orvik::bench::TextFile;

void Open(CFile& file, const std::string& name, uint32_t mode, benchmark::State& state) {
    if (FILE_Open(&file, name.c_str(), mode, 0) != nullptr) {
        state.SkipWithError("cannot open the input");
    }
}

// --- Lines -------------------------------------------------------------------

// A host's class that overrides nothing of reading: lines come in pieces
// up to the LF, as on CFile itself.
class HostFile : public CFile {
public:
    CString GetFileName() const override { return "host"; }
};

// A host's class that overrides Read (here only to forward it): it is owed
// one call per byte.
class OverridingHostFile : public CFile {
public:
    UINT Read(void* buffer, UINT count) override { return CFile::Read(buffer, count); }
};

template <typename File>
void LibraryReadStrOn(benchmark::State& state) {
    const std::string& input = TextFile();
    char line[4097];
    int64_t bytes = 0;
    for (auto _ : state) {
        File file;
        Open(file, input, ORVIK_OPEN_READ, state);
        uint32_t status = 0;
        while (FILE_ReadStr(&file, line, 4096, &status) == nullptr) {
            bytes += status - 100 + 1;
        }
        FILE_Close(&file);
    }
    state.SetBytesProcessed(bytes);
}

void LibraryReadStr(benchmark::State& state) {
    LibraryReadStrOn<CFile>(state);
}
BENCHMARK(LibraryReadStr)->Unit(benchmark::kMillisecond);

void LibraryReadStrHostClass(benchmark::State& state) {
    LibraryReadStrOn<HostFile>(state);
}
BENCHMARK(LibraryReadStrHostClass)->Unit(benchmark::kMillisecond);

void LibraryReadStrOverridingRead(benchmark::State& state) {
    LibraryReadStrOn<OverridingHostFile>(state);
}
BENCHMARK(LibraryReadStrOverridingRead)->Unit(benchmark::kMillisecond);

void PosixGetline(benchmark::State& state) {
    const std::string& input = TextFile();
    char* line = nullptr;
    size_t capacity = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        std::FILE* in = std::fopen(input.c_str(), "rb");
        ssize_t got;
        while ((got = ::getline(&line, &capacity, in)) > 0) {
            bytes += got;
        }
        std::fclose(in);
    }
    std::free(line);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(PosixGetline)->Unit(benchmark::kMillisecond);

void StdGetline(benchmark::State& state) {
    const std::string& input = TextFile();
    std::string line;
    int64_t bytes = 0;
    for (auto _ : state) {
        std::ifstream in(input, std::ios::binary);
        while (std::getline(in, line)) {
            bytes += static_cast<int64_t>(line.size()) + 1;
        }
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(StdGetline)->Unit(benchmark::kMillisecond);

void Fgets(benchmark::State& state) {
    const std::string& input = TextFile();
    char line[4097];
    int64_t bytes = 0;
    for (auto _ : state) {
        std::FILE* in = std::fopen(input.c_str(), "rb");
        while (std::fgets(line, sizeof line, in)) {
            bytes += static_cast<int64_t>(std::strlen(line));
        }
        std::fclose(in);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(Fgets)->Unit(benchmark::kMillisecond);

// One read(2) per byte, over the first 8 MB only: the whole file would take
// minutes. Throughput is what is compared.
void ReadPerByte(benchmark::State& state) {
    const std::string& input = TextFile();
    constexpr int64_t kPrefix = 8 * 1000 * 1000;
    int64_t bytes = 0;
    for (auto _ : state) {
        const int fd = ::open(input.c_str(), O_RDONLY);
        char byte;
        for (int64_t i = 0; i < kPrefix && ::read(fd, &byte, 1) == 1; ++i) {
            ++bytes;
        }
        ::close(fd);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(ReadPerByte)->Unit(benchmark::kMillisecond)->Iterations(2);

// --- Counted string records --------------------------------------------------

void LibraryReadCString(benchmark::State& state) {
    const std::string& input = RecordFile();
    int64_t records = 0;
    for (auto _ : state) {
        CFile file;
        Open(file, input, ORVIK_OPEN_READ, state);
        char* text = nullptr;
        while (FILE_ReadCString(&file, &text) == nullptr) {
            benchmark::DoNotOptimize(text[0]);
            ++records;
        }
        FILE_Close(&file);
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(LibraryReadCString)->Unit(benchmark::kMillisecond);

void FreadRecords(benchmark::State& state) {
    const std::string& input = RecordFile();
    int64_t records = 0;
    static char text[513];
    for (auto _ : state) {
        std::FILE* in = std::fopen(input.c_str(), "rb");
        unsigned char field[4];
        while (std::fread(field, 1, 4, in) == 4) {
            int32_t length = static_cast<int32_t>(field[0] | field[1] << 8 | field[2] << 16 |
                                                  static_cast<uint32_t>(field[3]) << 24);
            length = length < 0 ? 0 : length > 513 ? 513 : length;
            if (length > 0 && std::fread(text, 1, static_cast<size_t>(length), in) == 0) {
                break;
            }
            text[length > 0 ? length - 1 : 0] = '\0';
            benchmark::DoNotOptimize(text[0]);
            ++records;
        }
        std::fclose(in);
    }
    state.SetItemsProcessed(records);
}
BENCHMARK(FreadRecords)->Unit(benchmark::kMillisecond);

// --- Blocks of 64 KiB --------------------------------------------------------

constexpr uint32_t kBlock = 64 * 1024;

void LibraryReadBlocks(benchmark::State& state) {
    const std::string& input = TextFile();
    std::vector<char> block(kBlock);
    int64_t bytes = 0;
    for (auto _ : state) {
        CFile file;
        Open(file, input, ORVIK_OPEN_READ, state);
        uint32_t status = 0;
        while (FILE_Read(&file, block.data(), kBlock, &status) == nullptr) {
            bytes += status - 100;
        }
        FILE_Close(&file);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(LibraryReadBlocks)->Unit(benchmark::kMillisecond);

void PosixReadBlocks(benchmark::State& state) {
    const std::string& input = TextFile();
    std::vector<char> block(kBlock);
    int64_t bytes = 0;
    for (auto _ : state) {
        const int fd = ::open(input.c_str(), O_RDONLY);
        ssize_t got;
        while ((got = ::read(fd, block.data(), kBlock)) > 0) {
            bytes += got;
        }
        ::close(fd);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(PosixReadBlocks)->Unit(benchmark::kMillisecond);

constexpr int kBlocksWritten = 512;  // 32 MiB per iteration, rewritten in place

void LibraryWriteBlocks(benchmark::State& state) {
    const std::vector<char> block(kBlock, 'w');
    CFile file;
    Open(file, ScratchFile("written-library.bin"), ORVIK_OPEN_READ_WRITE, state);
    for (auto _ : state) {
        FILE_SeekToBegin(&file);
        for (int i = 0; i < kBlocksWritten; ++i) {
            FILE_Write(&file, block.data(), kBlock);
        }
    }
    FILE_Close(&file);
    state.SetBytesProcessed(state.iterations() * int64_t{kBlock} * kBlocksWritten);
}
BENCHMARK(LibraryWriteBlocks)->Unit(benchmark::kMillisecond);

void PosixWriteBlocks(benchmark::State& state) {
    const std::vector<char> block(kBlock, 'w');
    const int fd = ::open(ScratchFile("written-posix.bin").c_str(), O_RDWR | O_CREAT, 0644);
    for (auto _ : state) {
        ::lseek(fd, 0, SEEK_SET);
        for (int i = 0; i < kBlocksWritten; ++i) {
            benchmark::DoNotOptimize(::write(fd, block.data(), kBlock));
        }
    }
    ::close(fd);
    state.SetBytesProcessed(state.iterations() * int64_t{kBlock} * kBlocksWritten);
}
BENCHMARK(PosixWriteBlocks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
