#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

char* ReadBlock(CFile* file, void* buffer, uint32_t count, uint32_t& status) {
    UINT got = 0;
    char* message = report::GuardedWith(
        [&] { got = file->Read(buffer, count); },
        [&status](int cause) {
            const bool end = cause == CFileException::endOfFile;
            platform::SetRetCode(end ? report::kCodeEndOfFile : report::kCodeReadFailed);
            status = end ? report::kStatusEndOfFile : report::kStatusReadFailed;
        });
    if (message == nullptr && got == 0) {
        message = report::Fail(report::kEndOfFile, report::kCodeEndOfFile);
        status = report::kStatusEndOfFile;
    } else if (message == nullptr) {
        status = report::kStatusTransferred + got;
    }
    return message;
}

}  // namespace

// A read of no bytes is the end of the file, whatever the count asked for;
// a short read is a success like any other.
char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status) {
    return report::ReadWithStatus(file, buffer, status, [&](uint32_t& outcome) {
        return ReadBlock(file, buffer, count, outcome);
    });
}
