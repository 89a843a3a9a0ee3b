// The orvikfile program's file readers on any input, run in this process as
// the program runs them, with standard output and error caught in memory.
// The first byte chooses:
// - kLines: `lines --max N` on the rest, N from the next byte: a clean end,
//   no line past N, and the text whole apart from line ends;
// - else a dump of the rest (kJson, kUtf8): a clean end, a give-up or a cut
//   record, the records by consecutive index, and the warnings capped.
#include <unistd.h>

#include <algorithm>

#include "cli.h"
#include "fuzz.h"

using orvik::fuzz::Require;

namespace {

constexpr uint8_t kJson = 1, kUtf8 = 2, kLines = 8;
constexpr size_t kMostWarningLines = 10 + 2;  // one by one, the rest counted, a cut record

// A file of this process, in memory where the system has /dev/shm.
const std::string& Scratch() {
    static const std::string name =
        std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/orvikfile-fuzz-" +
        std::to_string(::getpid());
    static const bool removedAtExit = std::atexit([] { ::unlink(name.c_str()); }) == 0;
    Require(removedAtExit, "the scratch file is removed at the end");
    return name;
}

struct Run {
    int status;
    std::string out, err;
};

Run Command(int (*run)(orvikfile::Arguments&), const char* command,
            std::vector<std::string> words) {
    char *out = nullptr, *err = nullptr;
    size_t outSize = 0, errSize = 0;
    FILE *const realOut = stdout, *const realErr = stderr;
    stdout = open_memstream(&out, &outSize);
    stderr = open_memstream(&err, &errSize);
    Require(stdout && stderr, "the output streams are made");
    orvikfile::Arguments args(command, std::move(words));
    const int status = run(args);
    std::fclose(stdout);
    std::fclose(stderr);
    stdout = realOut;
    stderr = realErr;
    Run result{status, std::string(out, outSize), std::string(err, errSize)};
    std::free(out);
    std::free(err);
    return result;
}

std::vector<std::string> Split(const std::string& text, char end) {
    std::vector<std::string> pieces;
    for (size_t start = 0; start < text.size();) {
        const size_t stop = std::min(text.find(end, start), text.size());
        pieces.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return pieces;
}

std::string WithoutLineEnds(std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }),
        text.end());
    return text;
}

void Lines(const std::string& content, uint8_t limit) {
    const uint32_t max = limit < 0xF0 ? 1u + limit % 32u : 4096u;  // the top keeps the default
    const Run run =
        Command(orvikfile::RunLines, "lines", {Scratch(), "--max", std::to_string(max)});
    Require(run.status == orvikfile::kExitSuccess && run.err.empty(), "a clean read to the end");
    Require(run.out.empty() || run.out.back() == '\n', "every output line is ended");
    for (const std::string& line : Split(run.out, '\n')) {
        Require(line.size() <= max, "no line is longer than --max");
    }
    Require(WithoutLineEnds(run.out) == WithoutLineEnds(content), "the text whole and in order");
}

void Dump(uint8_t mode) {
    std::vector<std::string> words = {"dump", Scratch()};
    if (mode & kJson) {
        words.push_back("--json");
    }
    if (mode & kUtf8) {
        words.push_back("--utf8");
    }
    const Run run = Command(orvikfile::RunRecords, "records", words);
    Require(run.status == orvikfile::kExitSuccess || run.status == orvikfile::kExitNotRecords ||
                run.status == ORVIK_RC_END_OF_FILE,
            "a dump ends cleanly, gives up, or reports a cut record");
    const auto lines = Split(run.out, '\n');
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string index = std::to_string(i);
        Require(lines[i].rfind((mode & kJson) ? "{\"index\":" + index + "," : index + "\t", 0) == 0,
                "records are listed by consecutive index");
    }
    Require(Split(run.err, '\n').size() <= kMostWarningLines, "warnings are capped");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvik::fuzz::Input input(data, size);
    const uint8_t mode = input.Byte();
    const uint8_t limit = (mode & kLines) ? input.Byte() : 0;
    const std::string content = input.Rest();
    FILE* file = std::fopen(Scratch().c_str(), "wb");
    Require(file && std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                std::fclose(file) == 0,
            "the input is written whole");
    if (mode & kLines) {
        Lines(content, limit);
    } else {
        Dump(mode);
    }
    return 0;
}
