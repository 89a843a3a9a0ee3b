// The orvikfile program's reader of record files on any input (its line
// reader is FILE_ReadStr, fuzz_read_str), run in this process as the program
// runs it, with standard output and error caught in memory: a dump (bit 0 of
// the first byte: --json, bit 1: --utf8) ends cleanly, gives up or reports a
// cut record, lists the records by consecutive index and caps its warnings.
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "cli.h"
#include "fuzz.h"

using orvik::fuzz::Require;

namespace {

// A file of this process, in memory where the system has /dev/shm.
const std::string& Scratch() {
    static const std::string name =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/orvikfile-fuzz-" +
        std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { ::unlink(name.c_str()); }) == 0;
    Require(removedAtExit, "the scratch file is removed at the end");
    return name;
}

// Runs a command as the program does; its output and errors, by line.
int Run(int (*run)(orvikfile::Arguments&), const char* command, std::vector<std::string> words,
        std::string (&printed)[2]) {
    char* text[2] = {};
    size_t size[2] = {};
    FILE* const real[2] = {stdout, stderr};
    stdout = open_memstream(&text[0], &size[0]);
    stderr = open_memstream(&text[1], &size[1]);
    Require(stdout && stderr, "the output streams are made");
    orvikfile::Arguments args(command, std::move(words));
    const int status = run(args);
    std::fclose(stdout);
    std::fclose(stderr);
    stdout = real[0];
    stderr = real[1];
    for (int i = 0; i < 2; ++i) {
        printed[i].assign(text[i], size[i]);
        std::free(text[i]);
    }
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const uint8_t mode = input.Byte();
    const std::string content = input.Rest();
    FILE* file = std::fopen(Scratch().c_str(), "wb");
    Require(file && std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                std::fclose(file) == 0,
            "the input is written whole");
    std::string printed[2];
    std::vector<std::string> words = {"dump", Scratch()};
    if (mode & 1) {
        words.push_back("--json");
    }
    if (mode & 2) {
        words.push_back("--utf8");
    }
    const int status = Run(orvikfile::RunRecords, "records", words, printed);
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
