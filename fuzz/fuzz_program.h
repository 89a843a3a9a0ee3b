// What the fuzz targets of the orvikfile program share: the input as a file
// that a command reads, and the command's standard output and error caught
// in memory, as the program would have written them.
#ifndef ORVIK_FUZZ_PROGRAM_H
#define ORVIK_FUZZ_PROGRAM_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli.h"
#include "fuzz_input.h"

namespace orvik::fuzz {

// A file of this process, rewritten for each input: in memory where the
// system has a memory file system, since every input writes it anew. It
// goes when the process ends.
inline const std::string& ScratchFile() {
    static const std::string name =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/orvikfile-fuzz-" +
        std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { ::unlink(name.c_str()); }) == 0;
    Require(removedAtExit, "the scratch file is removed at the end");
    return name;
}

inline void WriteScratchFile(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    Require(file != nullptr, "the scratch file can be written");
    Require(std::fwrite(data, 1, size, file) == size, "the input is written whole");
    Require(std::fclose(file) == 0, "the scratch file is closed");
}

// What a command printed, and its exit status.
struct Run {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `run` on `words` as the program runs a command, with stdout and
// stderr going to memory (the C library lets both be replaced).
inline Run RunCommand(int (*run)(orvikfile::Arguments&), const char* command,
                      std::vector<std::string> words) {
    char* out = nullptr;
    char* err = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    FILE* const realOut = stdout;
    FILE* const realErr = stderr;
    stdout = open_memstream(&out, &outSize);
    stderr = open_memstream(&err, &errSize);
    Require(stdout && stderr, "the output streams are made");
    orvikfile::Arguments args(command, std::move(words));
    Run result;
    result.status = run(args);
    std::fclose(stdout);
    std::fclose(stderr);
    stdout = realOut;
    stderr = realErr;
    result.out.assign(out, outSize);
    result.err.assign(err, errSize);
    std::free(out);
    std::free(err);
    return result;
}

// The lines of `text`, each without its LF; a last piece without LF too.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const size_t stop = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return lines;
}

}  // namespace orvik::fuzz

#endif  // ORVIK_FUZZ_PROGRAM_H
