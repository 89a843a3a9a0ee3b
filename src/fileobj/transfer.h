// Block transfers of a file object without the reporting frame, for the
// FILE_ functions that report one or more transfers as their own outcome.
#ifndef ORVIK_FILE_TRANSFER_H
#define ORVIK_FILE_TRANSFER_H

#include <cstdint>
#include <cstring>

#include "report/report.h"

namespace orvik::fileobj {

// Up to `count` bytes from the file object. `status` becomes
// ORVIK_STATUS_TRANSFERRED plus the count read, or the failure's status; a
// read of no bytes is the end of the file, whatever the count asked for.
report::Outcome ReadBlock(CFile* file, void* buffer, uint32_t count, uint32_t& status);

// `count` bytes to the file object; a null buffer is refused.
report::Outcome WriteBlock(CFile* file, const void* buffer, uint32_t count);

// The length of a text to be written; a null text is empty.
inline uint32_t TextLength(const char* text) {
    return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

}  // namespace orvik::fileobj

#endif  // ORVIK_FILE_TRANSFER_H
