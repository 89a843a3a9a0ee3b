// The one shape of a reporting call: the return code is cleared on entry,
// a failure becomes a message text and one return code, and a file
// exception thrown by the file object is caught, turned into its message,
// and released. Only CFileException pointers are caught.
#ifndef ORVIK_FILE_REPORT_H
#define ORVIK_FILE_REPORT_H

#include <cstdint>
#include <utility>

#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

namespace orvik::report {

// Message numbers.
constexpr int32_t kNoFileObject = 52000;
constexpr int32_t kNullArgument = 52001;
constexpr int32_t kCauseBase = 52002;  // + the cause, 0 to 14
constexpr int32_t kFileNotFound = 52004;
constexpr int32_t kEndOfFile = 52016;
constexpr int32_t kNoExceptionText = 52017;
constexpr int32_t kNameTooLong = 52200;

// Return codes.
enum Code : int32_t {
    kSuccess = 0,
    kCodeNoFileObject = 4,
    kCodeNameTooLong = 5,
    kCodeCloseFailed = 6,
    kCodeNullArgument = 7,
    kCodeRemoveFailed = 8,
    kCodeSetLengthFailed = 10,
    kCodeEndOfFile = 11,
    kCodeReadFailed = 12,
    kCodeOpenFailed = 13,
    kCodeWriteFailed = 14,
    kCodeGetLengthFailed = 15,
    kCodeSeekFailed = 16,
};

// Transfer statuses.
enum Status : uint32_t {
    kStatusNoFileObject = 1,
    kStatusEndOfFile = 2,
    kStatusReadFailed = 3,
    kStatusNoBuffer = 4,
    kStatusTransferred = 100,  // + the count
};

inline void Begin() {
    platform::SetRetCode(kSuccess);
}

// The text of `number`, with `code` handed to the return-code service.
inline char* Fail(int32_t number, int32_t code) {
    char* text = platform::Message(number);
    platform::SetRetCode(code);
    return text;
}

// The cause that a caught exception carries; a null pointer thrown in place
// of an exception counts as a cause outside the table.
inline int CauseOf(const CFileException* caught) {
    return caught ? caught->m_cause : -1;
}

// Runs `operation` (a call of the file object) and returns null when it
// returns. When it throws a CFileException, the exception's message is taken
// first, then `onCaught(cause)` sets the call's return code and out-values,
// then the exception is released, and the message is returned.
template <typename Operation, typename OnCaught>
char* GuardedWith(Operation&& operation, OnCaught&& onCaught) {
    try {
        std::forward<Operation>(operation)();
        return nullptr;
    } catch (CFileException* caught) {
        char* message = FILE_ExceptionMsg(caught);
        std::forward<OnCaught>(onCaught)(CauseOf(caught));
        if (caught) {
            caught->Delete();
        }
        return message;
    }
}

// The same for operations whose failure always hands one code.
template <typename Operation>
char* Guarded(Operation&& operation, int32_t failureCode) {
    return GuardedWith(std::forward<Operation>(operation),
                       [failureCode](int) { platform::SetRetCode(failureCode); });
}

// The shape of a read that reports a transfer status: the code is cleared;
// a null file object (52000, code 4, status 1) and then a null buffer (52001,
// code 7, status 4) are refused; else `read(status)` reads. The status goes
// through the caller's pointer, when there is one, on every way out.
template <typename Read>
char* ReadWithStatus(CFile* file, const void* buffer, uint32_t* status, Read&& read) {
    uint32_t outcome = kStatusNoFileObject;
    char* message = nullptr;
    Begin();
    if (file == nullptr) {
        message = Fail(kNoFileObject, kCodeNoFileObject);
    } else if (buffer == nullptr) {
        message = Fail(kNullArgument, kCodeNullArgument);
        outcome = kStatusNoBuffer;
    } else {
        message = std::forward<Read>(read)(outcome);
    }
    if (status) {
        *status = outcome;
    }
    return message;
}

inline bool IsOpen(const CFile* file) {
    return file->m_hFile != CFile::hFileNull;
}

}  // namespace orvik::report

#endif  // ORVIK_FILE_REPORT_H
