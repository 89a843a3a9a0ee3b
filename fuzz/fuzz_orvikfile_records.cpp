// orvikfile records on any input. The first byte chooses: a dump of the rest
// as a record file (plain or --json, with or without --utf8), or a round
// trip, where the rest, cut at zero bytes into texts, is packed and dumped.
// A dump of any file ends with 0, 3 (not a record file) or 11 (a record cut
// short), lists the records by consecutive index and keeps its warnings to
// a few lines; a round trip lists each packed text as the format keeps it.
#include "escape.h"
#include "fuzz_program.h"

using orvik::fuzz::Require;

namespace {

constexpr uint8_t kJson = 1;
constexpr uint8_t kUtf8 = 2;
constexpr uint8_t kRoundTrip = 4;
// The warnings shown one by one, then one that gives up or one that counts
// the rest, and one for a record cut short.
constexpr size_t kMostWarningLines = 10 + 2;
constexpr size_t kMostTexts = 64;

std::string IndexPrefix(bool json, size_t index) {
    return json ? "{\"index\":" + std::to_string(index) + "," : std::to_string(index) + "\t";
}

void DumpAnyFile(const uint8_t* data, size_t size, uint8_t mode) {
    orvik::fuzz::WriteScratchFile(data, size);
    std::vector<std::string> words = {"dump", orvik::fuzz::ScratchFile()};
    if (mode & kJson) {
        words.push_back("--json");
    }
    if (mode & kUtf8) {
        words.push_back("--utf8");
    }
    const auto run = orvik::fuzz::RunCommand(orvikfile::RunRecords, "records", words);
    Require(run.status == orvikfile::kExitSuccess || run.status == orvikfile::kExitNotRecords ||
                run.status == ORVIK_RC_END_OF_FILE,
            "a dump ends cleanly, gives up, or reports a cut record");
    const auto lines = orvik::fuzz::Lines(run.out);
    for (size_t i = 0; i < lines.size(); ++i) {
        Require(lines[i].rfind(IndexPrefix(mode & kJson, i), 0) == 0,
                "records are listed by consecutive index");
    }
    Require(orvik::fuzz::Lines(run.err).size() <= kMostWarningLines, "warnings are capped");
}

void RoundTrip(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts;
    for (size_t start = 0; texts.size() < kMostTexts;) {
        const size_t end = bytes.find('\0', start);
        texts.push_back(bytes.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }

    std::vector<std::string> words = {"pack", orvik::fuzz::ScratchFile(), "--"};
    words.insert(words.end(), texts.begin(), texts.end());
    const auto pack = orvik::fuzz::RunCommand(orvikfile::RunRecords, "records", words);
    Require(pack.status == orvikfile::kExitSuccess, "texts are packed");

    const auto dump = orvik::fuzz::RunCommand(orvikfile::RunRecords, "records",
                                              {"dump", orvik::fuzz::ScratchFile()});
    Require(dump.status == orvikfile::kExitSuccess && dump.err.empty(),
            "a packed file dumps cleanly");
    std::string expected;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string kept = texts[i].substr(0, ORVIK_RECORD_MAX_TEXT);
        const size_t length = texts[i].empty() ? 0 : kept.size() + 1;
        expected += std::to_string(i) + "\t" + std::to_string(length) + "\t" +
                    orvikfile::EscapePlain(kept) + "\n";
    }
    Require(dump.out == expected, "each text comes back as the format keeps it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    if (data[0] & kRoundTrip) {
        RoundTrip(data + 1, size - 1);
    } else {
        DumpAnyFile(data + 1, size - 1, data[0]);
    }
    return 0;
}
