// orvikfile lines on any file content, with a fuzzer-chosen --max: the
// program ends cleanly, no output line is longer than the limit, every LF
// ends at least one output line, and the text of the file comes out whole,
// as it is apart from line ends (a CR that goes with an LF is dropped).
#include <algorithm>

#include "fuzz_program.h"

using orvik::fuzz::Require;

namespace {

std::string WithoutLineEnds(std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }),
        text.end());
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // Short limits cut many lines; the top values keep the default.
    const uint32_t max = data[0] < 0xF0 ? 1u + data[0] % 32u : 4096u;
    const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
    orvik::fuzz::WriteScratchFile(data + 1, size - 1);

    const auto run = orvik::fuzz::RunCommand(
        orvikfile::RunLines, "lines", {orvik::fuzz::ScratchFile(), "--max", std::to_string(max)});
    Require(run.status == orvikfile::kExitSuccess, "a readable file is read to its end");
    Require(run.err.empty(), "nothing is reported");
    Require(run.out.empty() || run.out.back() == '\n', "every output line is ended");
    const auto lines = orvik::fuzz::Lines(run.out);
    for (const std::string& line : lines) {
        Require(line.size() <= max, "no line is longer than --max");
    }
    Require(static_cast<size_t>(std::count(content.begin(), content.end(), '\n')) <= lines.size(),
            "every LF ends a line");
    Require(WithoutLineEnds(run.out) == WithoutLineEnds(content),
            "the text comes out whole and in order");
    return 0;
}
