// Block transfer: FILE_Read, FILE_Write and FILE_WriteStr.
#include "fileobj/transfer.h"

#include "OrvikFILE_Lib.h"

namespace orvik::fileobj {

report::Outcome ReadBlock(CFile* file, void* buffer, uint32_t count, uint32_t& status) {
    UINT got = 0;
    report::Outcome outcome =
        report::GuardedWith([&] { got = file->Read(buffer, count); },
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

}  // namespace orvik::fileobj

using namespace orvik;

// A short read is a success like any other.
char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status) {
    return report::ReportedWithStatus(file, buffer, status, [&](uint32_t& outcome) {
        return fileobj::ReadBlock(file, buffer, count, outcome);
    });
}

char* FILE_Write(CFile* file, const void* buffer, uint32_t count) {
    return report::ReportedMessage([&] { return fileobj::WriteBlock(file, buffer, count); });
}

// The text without its terminating zero; a null text is refused as a null
// buffer.
char* FILE_WriteStr(CFile* file, const char* text) {
    return report::ReportedMessage(
        [&] { return fileobj::WriteBlock(file, text, fileobj::TextLength(text)); });
}
