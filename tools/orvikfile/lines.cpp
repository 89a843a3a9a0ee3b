// orvikfile lines: a text file's lines as FILE_ReadStr reads them.
#include <cstdio>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "cli.h"
#include "progress.h"

namespace orvikfile {

namespace {

constexpr uint32_t kDefaultMax = 4096;
constexpr uint32_t kLargestMax = 1u << 24;

// Reads line after line to the end of the file. Returns the exit status.
int PrintLines(const std::string& command, CFile& file, const std::string& shown, uint32_t max,
               uint64_t total) {
    std::vector<char> line(size_t{max} + 1);
    Progress progress("orvikfile lines " + shown, total);
    uint64_t consumed = 0;  // near enough for progress: a CR LF counts as one byte
    for (;;) {
        uint32_t status = 0;
        char* message = FILE_ReadStr(&file, line.data(), max, &status);
        if (status == ORVIK_STATUS_END_OF_FILE) {
            return kExitSuccess;
        }
        if (message) {
            return LibraryFailure(command, shown, message);
        }
        const uint32_t length = status - ORVIK_STATUS_TRANSFERRED;
        std::fwrite(line.data(), 1, length, stdout);
        std::putc('\n', stdout);
        consumed += length + (length < max ? 1 : 0);
        progress.Update(consumed);
    }
}

}  // namespace

const char* const kLinesHelp =
    "Usage: orvikfile lines FILE [--max N]\n"
    "\n"
    "Prints the lines of FILE (- for standard input) as FILE_ReadStr reads\n"
    "them, one to an output line. LF ends a line and a CR right before it\n"
    "goes with it; any other CR and any zero byte stay in the text and are\n"
    "written as they are. A last line without LF is a line too. One opener\n"
    "reads FILE, so a pipe (/dev/stdin, <(...)), a FIFO or a device is read\n"
    "as it comes.\n"
    "\n"
    "Options:\n"
    "  --max N   the longest line, in bytes (1 to 16777216, default 4096).\n"
    "            A longer line is cut after N bytes and goes on in the next\n"
    "            output line, exactly as the next FILE_ReadStr call returns it.\n"
    "\n"
    "Exit status: 0 at the end of the file; else the library's return code,\n"
    "e.g. 13 when FILE cannot be opened, 12 when reading fails; 2 for a\n"
    "usage error.\n";

int RunLines(Arguments& args) {
    const auto maxText = args.TakeValue("--max");
    const uint32_t max = maxText ? ParseCount(*maxText, "--max", 1, kLargestMax) : kDefaultMax;
    const std::string name = args.Positionals(1, 1)[0];

    CFile file;
    if (const int failed = OpenForReading(args.Command(), file, name)) {
        return failed;
    }
    // One opener reads the file, so a pipe or FIFO reads as any file does;
    // it has no length to show progress against.
    const uint64_t total = IsRegularFile(file) ? FILE_Length(&file) : 0;
    const int status = PrintLines(args.Command(), file, ShownName(name), max, total);
    return FinishOutput(args.Command(), CloseFile(args.Command(), file, ShownName(name), status));
}

}  // namespace orvikfile
