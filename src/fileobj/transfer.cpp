// Block transfer: FILE_Read, FILE_Write and FILE_WriteStr.
#include <algorithm>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

static_assert(ORVIK_TRANSFER_MAX_COUNT + ORVIK_STATUS_TRANSFERRED == UINT32_MAX,
              "the status of the longest read is the largest 32-bit value");

// The longest text that one FILE_Write takes; a longer one goes in pieces.
constexpr size_t kLongestWrite = UINT32_MAX;

// A read of no bytes is the end of the file, whatever the count asked for;
// a short read is a success like any other. The file object is asked for
// no more bytes than the status can count.
report::Outcome ReadBlock(CFile* file, void* buffer, uint32_t count, uint32_t& status) {
    UINT got = 0;
    const UINT asked = std::min(count, ORVIK_TRANSFER_MAX_COUNT);
    report::Outcome outcome =
        report::GuardedWith([&] { got = file->Read(buffer, asked); },
                            [&status](int cause) {
                                const bool end = cause == CFileException::endOfFile;
                                status = end ? ORVIK_STATUS_END_OF_FILE : ORVIK_STATUS_READ_FAILED;
                                return end ? ORVIK_RC_END_OF_FILE : ORVIK_RC_READ_FAILED;
                            });
    if (outcome.message != nullptr) {
        return outcome;
    }
    if (got == 0) {
        status = ORVIK_STATUS_END_OF_FILE;
        return report::Failure(ORVIK_MSG_END_OF_FILE, ORVIK_RC_END_OF_FILE);
    }
    status = ORVIK_STATUS_TRANSFERRED + got;
    return outcome;
}

report::Outcome WriteBlock(CFile* file, const void* buffer, uint32_t count) {
    if (file == nullptr) {
        return report::NoFileObject();
    }
    if (buffer == nullptr) {
        return report::NullArgument();
    }
    return report::Guarded([&] { file->Write(buffer, count); }, ORVIK_RC_WRITE_FAILED);
}

}  // namespace

char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status) {
    return report::ReportedWithStatus(file, buffer, status, [&](uint32_t& outcome) {
        return ReadBlock(file, buffer, count, outcome);
    });
}

char* FILE_Write(CFile* file, const void* buffer, uint32_t count) {
    return report::ReportedMessage([&] { return WriteBlock(file, buffer, count); });
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
