#include "OrvikFILE_Lib.h"
#include "report/report.h"

// A read of no bytes is the end of the file, whatever the count asked for;
// a short read is a success like any other.
char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status) {
    using namespace orvik;
    uint32_t outcome = report::kStatusNoFileObject;
    char* message = nullptr;
    report::Begin();
    if (file == nullptr) {
        message = report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    } else if (buffer == nullptr) {
        message = report::Fail(report::kNullArgument, report::kCodeNullArgument);
        outcome = report::kStatusNoBuffer;
    } else {
        UINT got = 0;
        message = report::GuardedWith(
            [&] { got = file->Read(buffer, count); },
            [&outcome](int cause) {
                const bool end = cause == CFileException::endOfFile;
                platform::SetRetCode(end ? report::kCodeEndOfFile : report::kCodeReadFailed);
                outcome = end ? report::kStatusEndOfFile : report::kStatusReadFailed;
            });
        if (message == nullptr && got == 0) {
            message = report::Fail(report::kEndOfFile, report::kCodeEndOfFile);
            outcome = report::kStatusEndOfFile;
        } else if (message == nullptr) {
            outcome = report::kStatusTransferred + got;
        }
    }
    if (status) {
        *status = outcome;
    }
    return message;
}
