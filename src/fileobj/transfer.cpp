// Block transfer: FILE_Read, FILE_Write and FILE_WriteStr.
#include <algorithm>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

static_assert(ORVIK_TRANSFER_MAX_COUNT + ORVIK_STATUS_TRANSFERRED == UINT32_MAX,
              "the status of the longest read is the largest 32-bit value");

// The longest text that one FILE_Write takes; a longer one goes in pieces.
constexpr size_t kLongestWrite = UINT32_MAX;

// A read of no bytes is the end of the file, whatever the count asked for;
// a short read is a success like any other. The file object is asked for
// no more bytes than the status can count.
Outcome ReadBlock(CFile& file, void* buffer, uint32_t count, uint32_t& got) {
    if (buffer == nullptr) {
        return report::NullArgument();
    }
    try {
        got = file.Read(buffer, std::min(count, ORVIK_TRANSFER_MAX_COUNT));
    } catch (CFileException* caught) {
        const bool end = report::IsEndOfFile(caught);
        return report::Caught(caught, end ? ORVIK_RC_END_OF_FILE : ORVIK_RC_READ_FAILED);
    }
    if (got == 0) {
        return report::Failure(ORVIK_MSG_END_OF_FILE, ORVIK_RC_END_OF_FILE);
    }
    return {};
}

Outcome WriteBlock(CFile& file, const void* buffer, uint32_t count) {
    if (buffer == nullptr) {
        return report::NullArgument();
    }
    try {
        file.Write(buffer, count);
    } catch (CFileException* caught) {
        return report::Caught(caught, ORVIK_RC_WRITE_FAILED);
    }
    return {};
}

}  // namespace

char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status) {
    uint32_t got = 0;
    const Outcome read = report::ReportedOnFile(file, ReadBlock, buffer, count, got);
    return report::WithStatus(read, got, status);
}

char* FILE_Write(CFile* file, const void* buffer, uint32_t count) {
    return report::ReportedOnFile(file, WriteBlock, buffer, count).message;
}

// The text without its terminating zero, through FILE_Write: a null text
// has length 0 and is refused there as a null buffer. A text longer than a
// 32-bit count goes in pieces of the longest count, in order; the first
// failure ends it.
char* FILE_WriteStr(CFile* file, const char* text) {
    size_t left = text ? std::strlen(text) : 0;
    const char* next = text;
    for (;;) {
        const auto count = static_cast<uint32_t>(std::min(left, kLongestWrite));
        char* const message = FILE_Write(file, next, count);
        left -= count;
        if (message != nullptr || left == 0) {
            return message;
        }
        next += count;
    }
}
