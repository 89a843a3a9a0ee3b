/**
 * @file OrvikFILE_Codes.h
 * @brief Every number that the Orvik file library reports, by name: return
 *        codes (ORVIK_RC_), transfer statuses (ORVIK_STATUS_), message
 *        numbers (ORVIK_MSG_) and the counted record's limits (ORVIK_RECORD_).
 *
 * One list of each kind, written once as an X-macro (the way a table of
 * error numbers is kept in a C library): the named constants below, the
 * message texts of OrvikMSG_Lib and the checks that tie the causes of a
 * CFileException to their messages are all expanded from these lists, so
 * they cannot drift apart. Usable from C and C++.
 *
 * A list entry is X(NAME, value, description). Expanding a list with a macro
 * of your own gives, for instance, a table of names for logging:
 *
 * @code
 * #include "OrvikFILE_Codes.h"
 *
 * #define ORVIK_NAME_OF(name, value, text) case value: return #name;
 *
 * const char* ReturnCodeName(int code) {
 *     switch (code) { ORVIK_FILE_RETURN_CODES(ORVIK_NAME_OF) }
 *     return "unknown";
 * }
 * @endcode
 */
#ifndef ORVIK_FILE_CODES_H
#define ORVIK_FILE_CODES_H

/** Return codes: what a reporting function hands to GEN_SetRetCode(). A
 * reporting call hands ORVIK_RC_OK first and one failure code when it fails;
 * GEN_GetRetCode() reads the calling thread's last code. 1, 2, 3 and 9 are
 * handed by no function of the library. Entries: X(NAME, value, text). */
#define ORVIK_FILE_RETURN_CODES(X)                                   \
    X(OK, 0, "success")                                              \
    X(NO_FILE_OBJECT, 4, "the file object pointer is null")          \
    X(NAME_TOO_LONG, 5, "the name is longer than its target allows") \
    X(CLOSE_FAILED, 6, "closing the file object failed")             \
    X(NULL_ARGUMENT, 7, "a required pointer argument is null")       \
    X(REMOVE_FAILED, 8, "deleting the file failed")                  \
    X(SET_LENGTH_FAILED, 10, "setting the file length failed")       \
    X(END_OF_FILE, 11, "end of file: the read gave no bytes")        \
    X(READ_FAILED, 12, "reading failed for another cause")           \
    X(OPEN_FAILED, 13, "opening failed")                             \
    X(WRITE_FAILED, 14, "writing failed")                            \
    X(GET_LENGTH_FAILED, 15, "getting the file length failed")       \
    X(SEEK_FAILED, 16, "seeking failed")

/** Transfer statuses: what FILE_Read() and FILE_ReadStr() write through their
 * optional status pointer. Success is ORVIK_STATUS_TRANSFERRED plus the
 * count of bytes read (FILE_Read()) or of characters stored (FILE_ReadStr()).
 * Entries: X(NAME, value, text). */
#define ORVIK_FILE_STATUSES(X)                                              \
    X(NO_FILE_OBJECT, 1, "no file object")                                  \
    X(END_OF_FILE, 2, "end of file: nothing was read")                      \
    X(READ_FAILED, 3, "the read failed for a cause other than end of file") \
    X(NO_BUFFER, 4, "no buffer")                                            \
    X(TRANSFERRED, 100, "success, plus the count transferred")

/** The most bytes that one FILE_Read() asks for and one line of FILE_ReadStr()
 * holds, 0xFFFFFFFF - ORVIK_STATUS_TRANSFERRED: the transfer status, the
 * count plus ORVIK_STATUS_TRANSFERRED, then still fits 32 bits. */
#define ORVIK_TRANSFER_MAX_COUNT 4294967195u

/** Message numbers of the library's own failures, with their texts (what
 * MSG_GetStr() gives for them). Entries: X(NAME, value, text). */
#define ORVIK_FILE_MESSAGES(X)                                                            \
    X(NO_FILE_OBJECT, 52000, "No file object was given, or the file object is not open.") \
    X(NULL_ARGUMENT, 52001, "A required argument is missing (null pointer).")             \
    X(NO_EXCEPTION_TEXT, 52017, "An unknown file error occurred.")                        \
    X(NAME_TOO_LONG, 52200, "The name is too long for its destination.")

/** The messages of the fifteen causes of a CFileException, in the order of
 * its cause enumeration: the message of cause c is ORVIK_MSG_CAUSE_BASE + c.
 * An entry is X(cause, NAME, value, text), where `cause` is the enumerator
 * of CFileException that the message describes. */
#define ORVIK_FILE_CAUSE_MESSAGES(X)                                                               \
    X(none, NONE, 52002, "The file operation failed without reporting a cause.")                   \
    X(generic, GENERIC, 52003, "An unspecified error occurred while accessing the file.")          \
    X(fileNotFound, FILE_NOT_FOUND, 52004, "The file was not found.")                              \
    X(badPath, BAD_PATH, 52005, "All or part of the path is invalid.")                             \
    X(tooManyOpenFiles, TOO_MANY_OPEN_FILES, 52006, "Too many files are open.")                    \
    X(accessDenied, ACCESS_DENIED, 52007, "Access to the file was denied.")                        \
    X(invalidFile, INVALID_FILE, 52008, "The file handle is invalid.")                             \
    X(removeCurrentDir, REMOVE_CURRENT_DIR, 52009,                                                 \
      "The current working directory cannot be removed.")                                          \
    X(directoryFull, DIRECTORY_FULL, 52010, "The directory is full: no more entries can be made.") \
    X(badSeek, BAD_SEEK, 52011, "The file position could not be set.")                             \
    X(hardIO, HARD_IO, 52012, "A hardware input/output error occurred.")                           \
    X(sharingViolation, SHARING_VIOLATION, 52013,                                                  \
      "The file is in use by another opener (sharing violation).")                                 \
    X(lockViolation, LOCK_VIOLATION, 52014,                                                        \
      "A locked region of the file was accessed (lock violation).")                                \
    X(diskFull, DISK_FULL, 52015, "The disk is full.")                                             \
    X(endOfFile, END_OF_FILE, 52016, "The end of the file was reached.")

/** @cond ORVIK_INTERNAL */
#define ORVIK_DEFINE_RETURN_CODE(name, value, text) ORVIK_RC_##name = (value),
#define ORVIK_DEFINE_STATUS(name, value, text) ORVIK_STATUS_##name = (value),
#define ORVIK_DEFINE_MESSAGE(name, value, text) ORVIK_MSG_##name = (value),
#define ORVIK_DEFINE_CAUSE_MESSAGE(cause, name, value, text) ORVIK_MSG_##name = (value),

/** @endcond */

/** The return codes, ORVIK_RC_<NAME> for each entry of ORVIK_FILE_RETURN_CODES. */
enum OrvikFileReturnCode { ORVIK_FILE_RETURN_CODES(ORVIK_DEFINE_RETURN_CODE) };
/** The transfer statuses, ORVIK_STATUS_<NAME> for each entry of ORVIK_FILE_STATUSES. */
enum OrvikFileStatus { ORVIK_FILE_STATUSES(ORVIK_DEFINE_STATUS) };
/** The message numbers, ORVIK_MSG_<NAME> for each entry of ORVIK_FILE_MESSAGES and
 * ORVIK_FILE_CAUSE_MESSAGES. */
enum OrvikFileMessage {
    ORVIK_FILE_MESSAGES(ORVIK_DEFINE_MESSAGE) ORVIK_FILE_CAUSE_MESSAGES(ORVIK_DEFINE_CAUSE_MESSAGE)
        ORVIK_MSG_CAUSE_BASE =
            ORVIK_MSG_NONE /**< plus the cause of a CFileException: its message */
};

#undef ORVIK_DEFINE_RETURN_CODE
#undef ORVIK_DEFINE_STATUS
#undef ORVIK_DEFINE_MESSAGE
#undef ORVIK_DEFINE_CAUSE_MESSAGE

/** Results of the functions that report by a signed integer alone and leave
 * the return code untouched: 0 (or a length) is success, and each function
 * has negative results of its own, ORVIK_<NAME> for each entry.
 * Entries: X(NAME, value, text). */
#define ORVIK_FILE_RESULTS(X)                                                           \
    X(MKDIR_NULL_NAME, (-1), "FILE_MkDir: the name is null")                            \
    X(MKDIR_BLANK_NAME, (-2), "FILE_MkDir: the name is empty or all blanks")            \
    X(MKDIR_REFUSED, (-3), "FILE_MkDir: access denied, or the entry exists")            \
    X(MKDIR_NO_PATH, (-4), "FILE_MkDir: the path to it does not exist")                 \
    X(MKDIR_FAILED, (-5), "FILE_MkDir: any other failure")                              \
    X(MOVE2DIR_NULL_NAME, (-1), "FILE_Move2Dir: the name is null")                      \
    X(MOVE2DIR_BLANK_NAME, (-2), "FILE_Move2Dir: the name is empty or all blanks")      \
    X(MOVE2DIR_REFUSED, (-3), "FILE_Move2Dir: the directory cannot be made current")    \
    X(MODULE_NULL_BUFFER, (-1), "FILE_GetModulePathName: the buffer is null")           \
    X(MODULE_NO_NAME, (-2), "FILE_GetModulePathName: no executable name that fits")     \
    X(MODULE_NO_CUT, (-3), "FILE_GetModulePathName: the name has too few backslashes")  \
    X(CHOOSE_NULL_PATH, (-1), "FILE_ChoosePath: the path buffer is null")               \
    X(CHOOSE_CANCELLED, (-2), "FILE_ChoosePath: the user cancelled, or no browser")     \
    X(CHOOSE_NO_PATH, (-3), "FILE_ChoosePath: the chosen item has no file-system path") \
    X(SHRINK_REFUSED, (-1),                                                             \
      "FILE_ShrinkName: a null buffer or source, a width below 1, or a source longer "  \
      "than INT32_MAX bytes once stripped")                                             \
    X(TEXT_TOO_LONG, (-1),                                                              \
      "FILE_FindSuffix, FILE_NewSuffix, FILE_PathFile: a name or path longer than "     \
      "INT32_MAX bytes")

/** @cond ORVIK_INTERNAL */
#define ORVIK_DEFINE_RESULT(name, value, text) ORVIK_##name = (value),
/** @endcond */
/** The negative results, ORVIK_<NAME> for each entry of ORVIK_FILE_RESULTS. */
enum OrvikFileResult { ORVIK_FILE_RESULTS(ORVIK_DEFINE_RESULT) };
#undef ORVIK_DEFINE_RESULT

/* The counted string record (FILE_WriteCString, FILE_ReadCString): a signed
 * 32-bit little-endian length L, then L body bytes. A text of n bytes is
 * stored as L = n + 1 with its terminating zero, an empty text as L = 0; a
 * text longer than ORVIK_RECORD_MAX_TEXT bytes is stored cut, as
 * L = ORVIK_RECORD_MAX_TEXT + 1 and its first bytes. */
/** The bytes of a counted record's length field (signed, little-endian). */
#define ORVIK_RECORD_LENGTH_BYTES 4
/** The longest text that a counted record keeps; a longer one is cut to it.
 *  FILE_ReadCString()'s record buffer holds this many bytes plus one. */
#define ORVIK_RECORD_MAX_TEXT 512

/** FILE_Open()'s `mode`: reading; the file must exist. */
#define ORVIK_OPEN_READ 0u
/** FILE_Open()'s `mode`: reading and writing, alone; a missing file is
 *  created. (1 and 3 mean the same: only the bits of value 1 and 2 count.) */
#define ORVIK_OPEN_READ_WRITE 2u
/** FILE_Open()'s `create`: an existing file keeps its content. */
#define ORVIK_OPEN_KEEP 0
/** FILE_Open()'s `create`: an existing file is emptied, in either mode. */
#define ORVIK_OPEN_EMPTY 1

#endif /* ORVIK_FILE_CODES_H */
