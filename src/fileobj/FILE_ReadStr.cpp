// Line reading: FILE_ReadStr.
#include <algorithm>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// What one read of the file object gave.
enum class PieceRead { bytes, endOfFile, failure };

// Reads the next piece of the line to `at`, `room` bytes at most: one byte
// through the object's virtual Read, or, when that Read is the platform
// CFile's own (not overridden by a host's class), all bytes up to and
// including the next LF at once. Both give the same bytes and leave the
// same file position; a host's class that overrides Read is owed one call
// per byte. The end of the file, met by a read of
// no bytes or by an endOfFile exception, comes with its message only; any
// other exception is a read failure.
PieceRead ReadPiece(CFile* file, bool inPieces, char* at, uint32_t room, uint32_t& got,
                    Outcome& outcome) {
    PieceRead read = PieceRead::bytes;
    got = 0;
    outcome = report::GuardedWith(
        [&] { got = inPieces ? file->ReadUntil(at, room, kLineFeed) : file->Read(at, 1); },
        [&read](int cause) {
            if (cause == CFileException::endOfFile) {
                read = PieceRead::endOfFile;
                return ORVIK_RC_OK;
            }
            read = PieceRead::failure;
            return ORVIK_RC_READ_FAILED;
        });
    if (outcome.message == nullptr && got == 0) {
        outcome.message = MSG_GetStr(ORVIK_MSG_END_OF_FILE);
        read = PieceRead::endOfFile;
    }
    return read;
}

// Reads bytes up to the line's LF, or `max` bytes, or the end of the file.
// No byte beyond the line is read, so the file position stays exact. A line
// is cut where its status, 100 + its length, would no longer fit 32 bits.
Outcome ReadLine(CFile* file, char* buffer, uint32_t max, uint32_t& status) {
    const bool inPieces = file->UsesPlatformRead();
    const uint32_t longest = std::min(max, ORVIK_TRANSFER_MAX_COUNT);
    buffer[0] = '\0';
    uint32_t stored = 0;
    while (stored < longest) {
        uint32_t got = 0;
        Outcome outcome;
        const PieceRead read =
            ReadPiece(file, inPieces, buffer + stored, longest - stored, got, outcome);
        if (read == PieceRead::failure) {
            status = ORVIK_STATUS_READ_FAILED;  // the buffer is not terminated
            return outcome;
        }
        if (read == PieceRead::endOfFile) {
            if (stored > 0) {
                break;  // a last line without LF is a line like any other
            }
            status = ORVIK_STATUS_END_OF_FILE;
            return {outcome.message, ORVIK_RC_END_OF_FILE};
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
    status = ORVIK_STATUS_TRANSFERRED + stored;
    return {};
}

}  // namespace

// One line into `buffer` (max + 1 bytes), without its LF or CR LF. A line
// longer than max is cut and goes on in the next call.
char* FILE_ReadStr(CFile* file, char* buffer, uint32_t max, uint32_t* status) {
    return report::ReportedWithStatus(file, buffer, status, [&](uint32_t& outcome) {
        return ReadLine(file, buffer, max, outcome);
    });
}
