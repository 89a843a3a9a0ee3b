// The one shape of a reporting call and the one writer of its return code:
// the code is cleared on entry, the call's body runs and hands back an
// Outcome (a message text and a return code), and the frame hands that code
// to the return-code service on the way out. Bodies and failure handlers
// only return outcomes; none of them sets the code. A file exception thrown
// by the file object is caught, turned into its message, and released. Only
// CFileException pointers are caught.
#ifndef ORVIK_FILE_REPORT_H
#define ORVIK_FILE_REPORT_H

#include <cstdint>
#include <utility>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"

namespace orvik::report {

// What a reporting call comes back with: null and ORVIK_RC_OK on success,
// else a message text and the call's failure code.
struct Outcome {
    char* message = nullptr;
    int32_t code = ORVIK_RC_OK;
};

// The text of message `number`, with return code `code`.
inline Outcome Failure(int32_t number, int32_t code) {
    return {MSG_GetStr(number), code};
}

inline Outcome NoFileObject() {
    return Failure(ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT);
}

inline Outcome NullArgument() {
    return Failure(ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
}

// Hands ORVIK_RC_OK to the return-code service: the first step of every
// reporting call, and the step that wipes what an inner call left.
inline void ClearReturnCode() {
    GEN_SetRetCode(ORVIK_RC_OK);
}

// The frame: clears the return code before `body` looks at any argument,
// then hands the code of the outcome that `body` returns.
template <typename Body>
Outcome Reported(Body&& body) {
    ClearReturnCode();
    const Outcome outcome = std::forward<Body>(body)();
    GEN_SetRetCode(outcome.code);
    return outcome;
}

// The frame for a call whose result is the message alone.
template <typename Body>
char* ReportedMessage(Body&& body) {
    return Reported(std::forward<Body>(body)).message;
}

// The cause that a caught exception carries; a null pointer thrown in place
// of an exception counts as a cause outside the table.
inline int CauseOf(const CFileException* caught) {
    return caught ? caught->m_cause : -1;
}

// Runs `operation` (a call of the file object) and returns success when it
// returns. When it throws a CFileException, the exception's message is taken
// first, then `codeFor(cause)` gives the return code (and sets the call's
// failure out-values), then the exception is released.
template <typename Operation, typename CodeFor>
Outcome GuardedWith(Operation&& operation, CodeFor&& codeFor) {
    try {
        std::forward<Operation>(operation)();
        return {};
    } catch (CFileException* caught) {
        char* message = FILE_ExceptionMsg(caught);
        const int32_t code = std::forward<CodeFor>(codeFor)(CauseOf(caught));
        if (caught) {
            caught->Delete();
        }
        return {message, code};
    }
}

// The same for operations whose failure always gives one code.
template <typename Operation>
Outcome Guarded(Operation&& operation, int32_t failureCode) {
    return GuardedWith(std::forward<Operation>(operation),
                       [failureCode](int) { return failureCode; });
}

// The shape of a read that reports a transfer status: the code is cleared;
// a null file object (status ORVIK_STATUS_NO_FILE_OBJECT) and then a null
// buffer (ORVIK_STATUS_NO_BUFFER) are refused; else `read(status)` reads. The
// status goes through the caller's pointer, when there is one, on every way
// out.
template <typename Read>
char* ReportedWithStatus(CFile* file, const void* buffer, uint32_t* status, Read&& read) {
    uint32_t outcome = ORVIK_STATUS_NO_FILE_OBJECT;
    char* message = ReportedMessage([&] {
        if (file == nullptr) {
            return NoFileObject();
        }
        if (buffer == nullptr) {
            outcome = ORVIK_STATUS_NO_BUFFER;
            return NullArgument();
        }
        return std::forward<Read>(read)(outcome);
    });
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
