// The orvikfile program's reader of record files on any input (its line
// reader is FILE_ReadStr, fuzz_read_str), run in this process as the program
// runs it, with standard output and error caught in memory: a dump (bit 0 of
// the first byte: --json, bit 1: --utf8) ends cleanly, gives up or reports a
// cut record, lists the records by consecutive index and caps its warnings.
#include <sstream>

#include "cli.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const uint8_t mode = input.Byte();
    static const int file = ::memfd_create("records", MFD_CLOEXEC);  // rewritten for each input
    Require(::ftruncate(file, 0) == 0 && ::pwrite(file, input.rest.data(), input.rest.size(), 0) ==
                                             static_cast<ssize_t>(input.rest.size()),
            "the input is written whole");
    std::vector<std::string> words = {"dump", "/proc/self/fd/" + std::to_string(file)};
    if (mode & 1) {
        words.push_back("--json");
    }
    if (mode & 2) {
        words.push_back("--utf8");
    }
    char* text[2] = {};
    size_t length[2] = {};
    FILE* const real[2] = {stdout, stderr};
    stdout = open_memstream(&text[0], &length[0]);
    stderr = open_memstream(&text[1], &length[1]);
    Require(stdout && stderr, "the output streams are made");
    orvikfile::Arguments args("records", std::move(words));
    const int status = orvikfile::RunRecords(args);
    std::fclose(stdout);
    std::fclose(stderr);
    stdout = real[0];
    stderr = real[1];
    const std::string printed[2] = {{text[0], length[0]}, {text[1], length[1]}};
    std::free(text[0]);
    std::free(text[1]);

    Require(status == orvikfile::kExitSuccess || status == orvikfile::kExitNotRecords ||
                status == ORVIK_RC_END_OF_FILE,
            "a dump ends cleanly, gives up, or reports a cut record");
    std::istringstream lines(printed[0]);
    std::string line;
    for (size_t i = 0; std::getline(lines, line); ++i) {
        const std::string index = std::to_string(i);
        Require(line.rfind((mode & 1) ? "{\"index\":" + index + "," : index + "\t", 0) == 0,
                "records are listed by consecutive index");
    }
    Require(std::count(printed[1].begin(), printed[1].end(), '\n') <= 10 + 2,
            "warnings are capped: ten, the rest, a cut record");
    return 0;
}
