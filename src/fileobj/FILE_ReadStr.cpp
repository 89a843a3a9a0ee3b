// Line reading: FILE_ReadStr.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// Reads bytes up to the line's LF, or `max` bytes, or the end of the file,
// into `buffer`; `stored` becomes the line's length. No byte beyond the line
// is read, so the file position stays exact. A line is cut where its status,
// 100 + its length, would no longer fit 32 bits.
//
// Each piece is one byte through the object's virtual Read, or, when that
// Read is the platform CFile's own (not overridden by a host's class), all
// bytes up to and including the next LF at once. Both give the same bytes
// and leave the same file position; a host's class that overrides Read is
// owed one call per byte. The end of the file, met by a read of no bytes or
// by an endOfFile exception, ends the line; it is a failure only before the
// line's first byte. Any other exception is a read failure, and the buffer
// is then not terminated.
Outcome ReadLine(CFile& file, char* buffer, uint32_t max, uint32_t& stored) {
    if (buffer == nullptr) {
        return report::NullArgument();
    }
    const bool inPieces = file.UsesPlatformRead();
    const uint32_t longest = std::min(max, ORVIK_TRANSFER_MAX_COUNT);
    buffer[0] = '\0';
    while (stored < longest) {
        char* const at = buffer + stored;
        uint32_t got = 0;
        try {
            got = inPieces ? file.ReadUntil(at, longest - stored, kLineFeed) : file.Read(at, 1);
        } catch (CFileException* caught) {
            const bool end = report::IsEndOfFile(caught);
            const Outcome failure = report::Caught(caught, ORVIK_RC_READ_FAILED);
            if (!end) {
                return failure;
            }  // the end of the file goes on as a read of no bytes
        }
        if (got == 0) {
            if (stored > 0) {
                break;  // a last line without LF is a line like any other
            }
            return report::Failure(ORVIK_MSG_END_OF_FILE, ORVIK_RC_END_OF_FILE);
        }
        stored += inPieces ? got : 1;
        if (buffer[stored - 1] == kLineFeed) {
            --stored;  // the zero goes where the LF stands
            if (stored > 0 && buffer[stored - 1] == kCarriageReturn) {
                --stored;  // the CR before the LF belongs to the line end
            }
            break;
        }
    }
    buffer[stored] = '\0';
    return {};
}

}  // namespace

// One line into `buffer` (max + 1 bytes), without its LF or CR LF. A line
// longer than max is cut and goes on in the next call.
char* FILE_ReadStr(CFile* file, char* buffer, uint32_t max, uint32_t* status) {
    uint32_t stored = 0;
    const Outcome read = report::ReportedOnFile(file, ReadLine, buffer, max, stored);
    return report::WithStatus(read, stored, status);
}
