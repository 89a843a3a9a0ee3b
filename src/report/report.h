// The one shape of a reporting call and the one writer of its return code:
// the frame clears the code on entry, refuses a null file object, runs the
// call's body, and hands the code of the Outcome that the body returns to
// the return-code service on the way out. A body is plain code that returns
// an Outcome and sets no code. Where it calls an operation that reports by
// throwing, it catches CFileException pointers, and only those, and turns
// the caught exception into an Outcome with Caught.
#ifndef ORVIK_FILE_REPORT_H
#define ORVIK_FILE_REPORT_H

#include <cstdint>
#include <utility>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"

namespace orvik::report {

// What a reporting call comes back with: on success ORVIK_RC_OK and no text
// (the name queries hand out the name), else a message text and the call's
// failure code.
struct Outcome {
    char* message = nullptr;
    int32_t code = ORVIK_RC_OK;
};

// The text of message `number`, with return code `code`.
inline Outcome Failure(int32_t number, int32_t code) {
    return {MSG_GetStr(number), code};
}

inline Outcome NullArgument() {
    return Failure(ORVIK_MSG_NULL_ARGUMENT, ORVIK_RC_NULL_ARGUMENT);
}

// A caught exception's message, with return code `code`. The message is
// taken first, then the exception is released. A null pointer thrown in
// place of an exception has a message and nothing to release.
inline Outcome Caught(CFileException* caught, int32_t code) {
    char* const message = FILE_ExceptionMsg(caught);
    if (caught) {
        caught->Delete();
    }
    return {message, code};
}

inline bool IsEndOfFile(const CFileException* caught) {
    return caught != nullptr && caught->m_cause == CFileException::endOfFile;
}

// The frame of a call that drives no file object: body(args...).
template <typename Body, typename... Args>
Outcome Reported(Body body, Args&&... args) {
    GEN_SetRetCode(ORVIK_RC_OK);
    const Outcome outcome = body(std::forward<Args>(args)...);
    GEN_SetRetCode(outcome.code);
    return outcome;
}

// The frame of a call on a file object: body(*file, args...), after a null
// file object has been refused, before any other argument is looked at.
template <typename Body, typename... Args>
Outcome ReportedOnFile(CFile* file, Body body, Args&&... args) {
    GEN_SetRetCode(ORVIK_RC_OK);
    const Outcome outcome = file == nullptr
                                ? Failure(ORVIK_MSG_NO_FILE_OBJECT, ORVIK_RC_NO_FILE_OBJECT)
                                : body(*file, std::forward<Args>(args)...);
    GEN_SetRetCode(outcome.code);
    return outcome;
}

// A read's transfer status: it follows from the read's return code, and on
// success from the `count` of bytes that the read transferred.
inline uint32_t TransferStatus(int32_t code, uint32_t count) {
    switch (code) {
        case ORVIK_RC_OK:
            return ORVIK_STATUS_TRANSFERRED + count;
        case ORVIK_RC_NO_FILE_OBJECT:
            return ORVIK_STATUS_NO_FILE_OBJECT;
        case ORVIK_RC_NULL_ARGUMENT:
            return ORVIK_STATUS_NO_BUFFER;
        case ORVIK_RC_END_OF_FILE:
            return ORVIK_STATUS_END_OF_FILE;
        default:
            return ORVIK_STATUS_READ_FAILED;
    }
}

// A read's message, after its transfer status has gone through `status`
// when there is one.
inline char* WithStatus(const Outcome& read, uint32_t count, uint32_t* status) {
    if (status) {
        *status = TransferStatus(read.code, count);
    }
    return read.message;
}

inline bool IsOpen(const CFile& file) {
    return file.m_hFile != CFile::hFileNull;
}

}  // namespace orvik::report

#endif  // ORVIK_FILE_REPORT_H
