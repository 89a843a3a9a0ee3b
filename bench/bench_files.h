// Input files for the benchmarks, made once per run in the temporary
// directory and left in the page cache by their writing.
#ifndef ORVIK_BENCH_FILES_H
#define ORVIK_BENCH_FILES_H

#include <string>

namespace orvik::bench {

// 100 MB of text lines of 20 to 120 bytes.
const std::string& TextFile();
// One million counted string records of 20 to 120 bytes of text.
const std::string& RecordFile();
// A scratch name for written files.
std::string ScratchFile(const char* leaf);

}  // namespace orvik::bench

#endif  // ORVIK_BENCH_FILES_H
