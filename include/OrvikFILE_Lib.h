/**
 * @file OrvikFILE_Lib.h
 * @brief The 29 `FILE_` functions of OrvikFILE_Lib: file objects, names on
 *        disk and path text, each reported by plain values.
 *
 * @section orvik_contract How every function reports
 *
 * No function lets an exception of the library out: each hands back its
 * outcome as values. There are three ways of reporting.
 *
 * **Result message and return code** (the file-object functions and
 * FILE_Remove4Name). The function returns a `char*` *result message* and
 * hands a *return code* to OrvikGEN_Lib, which the caller reads with
 * GEN_GetRetCode():
 *  - The function first sets ::ORVIK_RC_OK, then one failure code when it
 *    fails, so after the call the return code describes that call alone:
 *    ::ORVIK_RC_OK exactly when it succeeded.
 *  - The result message is null on success, else a text of the message
 *    service (OrvikMSG_Lib.h). The caller neither changes nor frees it; a text
 *    that lies in the message service's text buffer (an exception's own text,
 *    see FILE_ExceptionMsg()) is overwritten by the next such text on the same
 *    thread, so copy a message that you keep.
 *  - **Exceptions to the null-on-success rule:** FILE_GetName() and
 *    FILE_GetPath() return the name itself on success and a message text on
 *    failure; they are never null. Only the return code tells the two apart.
 *  - FILE_Length() returns the length itself; 0 on failure, and the return
 *    code tells an empty file from a failure.
 *  - FILE_WriteCString() and FILE_ReadCString() never set the return code
 *    themselves: for a null *or closed* file object they return the text of
 *    ::ORVIK_MSG_NO_FILE_OBJECT and **leave the return code as the previous
 *    call left it**. Otherwise the code is the one of the FILE_Write() or
 *    FILE_Read() they made last.
 *  - A null file object is tested first (::ORVIK_MSG_NO_FILE_OBJECT,
 *    ::ORVIK_RC_NO_FILE_OBJECT), a null required pointer second
 *    (::ORVIK_MSG_NULL_ARGUMENT, ::ORVIK_RC_NULL_ARGUMENT). Optional
 *    out-pointers may be null; when they are not, they are written on every
 *    way out.
 *
 * **Transfer status** (FILE_Read(), FILE_ReadStr()): an optional `uint32_t`
 * out-value, one of the ::OrvikFileStatus values: ::ORVIK_STATUS_TRANSFERRED
 * plus a count on success.
 *
 * **Integer result alone** (FILE_FileExists(), FILE_DirExists(), FILE_MkDir(),
 * FILE_Move2Dir(), FILE_GetModulePathName(), FILE_ChoosePath() and the path-text
 * functions): a truth value, 0 or a small negative number, an index or a
 * length. These leave the return code alone, except FILE_ShrinkName(), which
 * sets ::ORVIK_RC_OK on entry and nothing else.
 *
 * All named codes, statuses and message numbers are in OrvikFILE_Codes.h.
 *
 * @section orvik_exceptions Exceptions
 * Only `CFileException*` thrown by a file object's operations is caught,
 * turned into a message (FILE_ExceptionMsg()) and released with `Delete()`.
 * Any other exception thrown by a host's file object passes to the caller.
 *
 * @section orvik_memory Out of memory
 * No function lets `std::bad_alloc` (or any other exception of the library)
 * out. The platform classes turn allocation failure into the cause
 * `CFileException::generic` with the OS error ENOMEM (OrvikAfx.h), so a
 * file-object function reports it as it reports any failure of its
 * operation: the text of ::ORVIK_MSG_GENERIC and the function's own failure
 * code (::ORVIK_RC_OPEN_FAILED for FILE_Open(), ::ORVIK_RC_REMOVE_FAILED for
 * FILE_Remove4Name(), ...). FILE_MkDir() gives -5, FILE_Move2Dir() -3,
 * FILE_GetModulePathName() -2, FILE_ChoosePath() -2, FILE_FileExists() and
 * FILE_DirExists() nonzero (see there). The path-text functions allocate
 * nothing. A name that memory ran out for is never acted on in part:
 * nothing is created, emptied or removed.
 *
 * @section orvik_buffers Buffers, texts and capacities
 * Texts are zero-terminated single-byte strings; lengths, limits and indexes
 * count bytes. A *limit* given with a buffer counts the text without its
 * terminating zero, so such a buffer holds limit + 1 bytes. **No function
 * checks the capacity of an output buffer**: each function below names the
 * size the caller provides. Several functions write into the texts they are
 * given (FILE_PathFile(), FILE_NewSuffix(), FILE_ShrinkName()), so pass
 * writable copies.
 *
 * @section orvik_threads Threads
 * The library takes no lock and starts no thread. The return code, the
 * message service's text and path buffers and the counted record buffer of
 * FILE_ReadCString() are kept per thread: threads that each use their own
 * file objects and buffers never see each other's results. FILE_Move2Dir()
 * changes the current directory of the whole process. A file object or
 * caller buffer must not be used by another thread during a call.
 *
 * @section orvik_names Names
 * Names are in the library's own form: a backslash or a slash separates
 * components, a letter and a colon name a drive (`C:\DATA\REPORT.TXT` opens
 * `/data/report.txt`; see @ref afx_names in OrvikAfx.h). Names handed back
 * are absolute, with a drive and backslashes.
 */
// Outside the guard: a unit that included OrvikFILE.hpp first, which keeps
// the framework's type names out, gets them here (see OrvikAfx.h).
#include "OrvikAfx.h"

#ifndef ORVIK_FILE_LIB_H
#define ORVIK_FILE_LIB_H

#include <stdint.h>

#include "OrvikFILE_Codes.h"

/** @cond ORVIK_INTERNAL */
#if defined(__GNUC__)
#define ORVIK_FILE_API __attribute__((visibility("default")))
#else
#define ORVIK_FILE_API
#endif
/** @endcond */

extern "C" {

/** @name File exception messages
 *  @{ */

/**
 * @brief The message text for a file exception.
 *
 * Causes 0 to 14 (`CFileException::none` to `endOfFile`) give the texts of
 * ::ORVIK_MSG_NONE to ::ORVIK_MSG_END_OF_FILE (::ORVIK_MSG_CAUSE_BASE +
 * cause). Any other cause gives the exception's own `GetErrorMessage()` text,
 * written into the calling thread's message text buffer (MSG_GetStr4Text()),
 * or the text of ::ORVIK_MSG_NO_EXCEPTION_TEXT when it has none.
 *
 * @code
 * try {
 *     CFile::Remove("C:\\TMP\\OLD.LOG");
 * } catch (CFileException* e) {
 *     std::fprintf(stderr, "%s\n", FILE_ExceptionMsg(e));
 *     e->Delete();
 * }
 * @endcode
 *
 * @param e the exception; read, never released (releasing it stays the
 *          caller's duty). Null gives the text of ::ORVIK_MSG_NO_EXCEPTION_TEXT.
 * @return the text, never null; owned by the message service.
 * @note Sets no return code. The fall-back text lies in the per-thread text
 *       buffer and is overwritten by the next fall-back on the same thread.
 */
ORVIK_FILE_API char* FILE_ExceptionMsg(CFileException* e);

/** @} */

/** @name File objects
 *  Each takes a caller-owned `CFile` (or a class derived from it) by pointer,
 *  for the length of the call, and calls its virtual operations, so a host's
 *  overrides run. Unless said otherwise the object is tested for null only,
 *  not for being open.
 *  @{ */

/**
 * @brief Opens the named file in a caller's file object.
 *
 * The mode has two meanings: reading when neither bit 1 nor bit 2 is set
 * (`modeRead | shareDenyWrite`; the file must exist), else reading and writing
 * (`modeReadWrite | shareExclusive`; a missing file is created). A nonzero
 * `create` adds `modeCreate`, which empties an existing file, also in the
 * reading mode.
 *
 * @code
 * CFile file;
 * if (char* message = FILE_Open(&file, "C:\\DATA\\REPORT.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP)) {
 *     std::fprintf(stderr, "%s (code %d)\n", message, GEN_GetRetCode());
 * }
 * @endcode
 *
 * @param file   the file object. Not closed first when it is already open.
 * @param name   the file name; it is given to the object's `SetFilePath()`
 *               first, so the object keeps it even when the open fails.
 * @param mode   ::ORVIK_OPEN_READ (0) reads; ::ORVIK_OPEN_READ_WRITE (2), or 1
 *               or 3, read and write; other bits are ignored. `CFile::mode*`
 *               flags are not modes: `CFile::modeCreate | CFile::modeWrite`
 *               (0x1001) opens for writing and does *not* empty the file.
 *               A debug build of the library (one without `NDEBUG`) writes
 *               one line to standard error, once per process, at the first
 *               mode with other bits set; the result stays the same.
 * @param create ::ORVIK_OPEN_EMPTY (any nonzero) empties an existing file;
 *               ::ORVIK_OPEN_KEEP keeps it.
 * @return null on success, else the message:
 *  - ::ORVIK_MSG_NO_FILE_OBJECT with ::ORVIK_RC_NO_FILE_OBJECT;
 *  - ::ORVIK_MSG_NULL_ARGUMENT with ::ORVIK_RC_NULL_ARGUMENT (null `name`);
 *  - ::ORVIK_MSG_FILE_NOT_FOUND with ::ORVIK_RC_OPEN_FAILED when a file to be
 *    read does not exist (nothing is opened);
 *  - the message of the cause that the refused open reported, with
 *    ::ORVIK_RC_OPEN_FAILED.
 */
ORVIK_FILE_API char* FILE_Open(CFile* file, const char* name, uint32_t mode, int32_t create);

/**
 * @brief Closes a caller's file object; a file object that is not open is
 *        left alone and the call succeeds.
 *
 * @code
 * CFile file;
 * FILE_Open(&file, "notes.txt", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP);
 * if (char* message = FILE_Close(&file)) {
 *     std::fprintf(stderr, "%s\n", message);  // ORVIK_RC_CLOSE_FAILED
 * }
 * @endcode
 *
 * @param file the file object.
 * @return null on success (also when it was not open), else:
 *  ::ORVIK_MSG_NO_FILE_OBJECT with ::ORVIK_RC_NO_FILE_OBJECT, or the caught
 *  exception's message with ::ORVIK_RC_CLOSE_FAILED.
 */
ORVIK_FILE_API char* FILE_Close(CFile* file);

/**
 * @brief Closes the file object and deletes its file from the disk.
 *
 * Takes the object's path (`GetFilePath()`) first, closes through
 * FILE_Close() and ignores a failed close (the return code is reset to
 * ::ORVIK_RC_OK after it), then deletes the file of that path. The file
 * object stays the caller's, not open.
 *
 * @code
 * CFile scratch;
 * FILE_Open(&scratch, "scratch.tmp", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY);
 * FILE_WriteStr(&scratch, "work in progress");
 * FILE_Remove4Object(&scratch);  // closed, and scratch.tmp is gone
 * @endcode
 *
 * @param file the file object; one that holds no path deletes the empty name,
 *             which fails.
 * @return null on success, else ::ORVIK_MSG_NO_FILE_OBJECT with
 *  ::ORVIK_RC_NO_FILE_OBJECT, or the deletion's message with
 *  ::ORVIK_RC_REMOVE_FAILED.
 */
ORVIK_FILE_API char* FILE_Remove4Object(CFile* file);

/**
 * @brief Reads up to `count` bytes into `buffer`.
 *
 * A short read is a success. A read that gives no bytes, `count` 0 included,
 * is the end of the file.
 *
 * @code
 * CFile file;
 * char block[4096];
 * uint32_t status = 0;
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * while (FILE_Read(&file, block, sizeof block, &status) == nullptr) {
 *     std::fwrite(block, 1, status - ORVIK_STATUS_TRANSFERRED, stdout);
 * }
 * // status: ORVIK_STATUS_END_OF_FILE at the clean end
 * @endcode
 *
 * @param file   the file object.
 * @param buffer at least `count` bytes; after a failure it holds what the
 *               file object left there.
 * @param count  the most bytes to read. A count above
 *               ::ORVIK_TRANSFER_MAX_COUNT asks the file object for that many,
 *               so that the status below never wraps.
 * @param status optional (may be null): receives the transfer status on every
 *               way out: ::ORVIK_STATUS_TRANSFERRED + n for n bytes read.
 * @return null on success (::ORVIK_RC_OK), else the message, with code and
 *         status:
 *  - null `file`: ::ORVIK_MSG_NO_FILE_OBJECT, ::ORVIK_RC_NO_FILE_OBJECT,
 *    ::ORVIK_STATUS_NO_FILE_OBJECT (tested before `buffer`);
 *  - null `buffer`: ::ORVIK_MSG_NULL_ARGUMENT, ::ORVIK_RC_NULL_ARGUMENT,
 *    ::ORVIK_STATUS_NO_BUFFER;
 *  - end of file: ::ORVIK_MSG_END_OF_FILE, ::ORVIK_RC_END_OF_FILE,
 *    ::ORVIK_STATUS_END_OF_FILE;
 *  - any other failure: its message, ::ORVIK_RC_READ_FAILED,
 *    ::ORVIK_STATUS_READ_FAILED.
 */
ORVIK_FILE_API char* FILE_Read(CFile* file, void* buffer, uint32_t count, uint32_t* status);

/**
 * @brief Writes `count` bytes from `buffer`.
 *
 * @code
 * CFile file;
 * const unsigned char header[4] = {'O', 'R', 'V', 1};
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY);
 * FILE_Write(&file, header, sizeof header);
 * @endcode
 *
 * @param file   the file object.
 * @param buffer at least `count` bytes.
 * @param count  the bytes to write.
 * @return null on success, else ::ORVIK_MSG_NO_FILE_OBJECT with
 *  ::ORVIK_RC_NO_FILE_OBJECT, ::ORVIK_MSG_NULL_ARGUMENT with
 *  ::ORVIK_RC_NULL_ARGUMENT (null `buffer`), or the failure's message with
 *  ::ORVIK_RC_WRITE_FAILED.
 */
ORVIK_FILE_API char* FILE_Write(CFile* file, const void* buffer, uint32_t count);

/**
 * @brief Writes a zero-terminated text without its zero, through FILE_Write().
 *
 * One FILE_Write() for a text of up to `UINT32_MAX` bytes. A longer text is
 * written whole, in pieces of `UINT32_MAX` bytes (one FILE_Write() each, in
 * order); the first failure ends it, with the pieces before it written.
 *
 * @code
 * CFile log;
 * FILE_Open(&log, "run.log", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP);
 * FILE_SeekToEnd(&log, nullptr);
 * FILE_WriteStr(&log, "started\n");
 * @endcode
 *
 * @param file the file object.
 * @param text the text; null is a null buffer for FILE_Write()
 *             (::ORVIK_RC_NULL_ARGUMENT); empty writes 0 bytes.
 * @return what the last FILE_Write() returns, with its return code.
 */
ORVIK_FILE_API char* FILE_WriteStr(CFile* file, const char* text);

/**
 * @brief Moves the file position; the new position is not reported.
 *
 * @code
 * CFile file;
 * char trailer[4];
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * FILE_Seek(&file, -4, CFile::end);  // the last 4 bytes
 * FILE_Read(&file, trailer, sizeof trailer, nullptr);
 * @endcode
 *
 * @param file   the file object.
 * @param offset bytes from the origin, may be negative.
 * @param origin `CFile::begin` (0) the start of the file, `CFile::current`
 *               (1) the present position, `CFile::end` (2) the end of the file.
 * @return null on success, else ::ORVIK_MSG_NO_FILE_OBJECT with
 *  ::ORVIK_RC_NO_FILE_OBJECT, or the failure's message with
 *  ::ORVIK_RC_SEEK_FAILED (for instance a position before the start of the
 *  file, or one that does not fit 32 bits).
 */
ORVIK_FILE_API char* FILE_Seek(CFile* file, int32_t offset, uint32_t origin);

/**
 * @brief Moves the file position to the start of the file.
 *
 * @code
 * CFile file;
 * char line[80];
 * FILE_Open(&file, "notes.txt", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY);
 * FILE_WriteStr(&file, "first line\n");
 * FILE_SeekToBegin(&file);
 * FILE_ReadStr(&file, line, sizeof line - 1, nullptr);  // "first line"
 * @endcode
 *
 * @param file the file object.
 * @return as FILE_Seek().
 */
ORVIK_FILE_API char* FILE_SeekToBegin(CFile* file);

/**
 * @brief Moves the file position to the end of the file.
 *
 * @code
 * CFile log;
 * uint32_t length = 0;
 * FILE_Open(&log, "run.log", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP);
 * FILE_SeekToEnd(&log, &length);  // appends from here; length is the old length
 * @endcode
 *
 * @param file     the file object.
 * @param position optional (may be null): receives the new position, which is
 *                 the file's length, on success, and 0 on every failure.
 * @return as FILE_Seek().
 */
ORVIK_FILE_API char* FILE_SeekToEnd(CFile* file, uint32_t* position);

/**
 * @brief Sets the file's length, cutting or extending it.
 *
 * @code
 * CFile file;
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_KEEP);
 * FILE_SetLength(&file, 4);  // keeps the first 4 bytes; the position is now 4
 * @endcode
 *
 * @param file   the file object.
 * @param length the new length in bytes.
 * @return null on success, else ::ORVIK_MSG_NO_FILE_OBJECT with
 *  ::ORVIK_RC_NO_FILE_OBJECT, or the failure's message with
 *  ::ORVIK_RC_SET_LENGTH_FAILED.
 */
ORVIK_FILE_API char* FILE_SetLength(CFile* file, uint32_t length);

/**
 * @brief The file's length in bytes.
 *
 * @code
 * CFile file;
 * uint32_t length = 0;
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * if (FILE_GetLength(&file, &length) == nullptr) {
 *     std::printf("%u bytes\n", length);
 * }
 * @endcode
 *
 * @param file   the file object.
 * @param length required: receives the length on success and 0 when the
 *               file object fails; left untouched for a null `file`.
 * @return null on success, else ::ORVIK_MSG_NO_FILE_OBJECT with
 *  ::ORVIK_RC_NO_FILE_OBJECT, ::ORVIK_MSG_NULL_ARGUMENT with
 *  ::ORVIK_RC_NULL_ARGUMENT (null `length`), or the failure's message with
 *  ::ORVIK_RC_GET_LENGTH_FAILED.
 */
ORVIK_FILE_API char* FILE_GetLength(CFile* file, uint32_t* length);

/**
 * @brief The file's length as a plain value, through FILE_GetLength().
 *
 * @code
 * CFile file;
 * FILE_Open(&file, "data.bin", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * uint32_t length = FILE_Length(&file);
 * if (length == 0 && GEN_GetRetCode() != ORVIK_RC_OK) {
 *     std::fprintf(stderr, "no length\n");
 * }
 * @endcode
 *
 * @param file the file object.
 * @return the length; **0 on every failure** (::ORVIK_RC_NO_FILE_OBJECT or
 *  ::ORVIK_RC_GET_LENGTH_FAILED). Only the return code tells an empty file
 *  (::ORVIK_RC_OK) from a failure.
 */
ORVIK_FILE_API uint32_t FILE_Length(CFile* file);

/**
 * @brief Reads one text line into `buffer`, without its LF or CR LF.
 *
 * LF ends a line; a CR right before it is dropped with it; any other CR and a
 * zero byte are ordinary bytes (stored and counted). A last line without LF
 * comes back as an ordinary line; the next call reports the end of the file.
 * A line longer than `max` is cut after `max` bytes and goes on in the next
 * call: so **a line of exactly `max` bytes is followed by an empty line**
 * (its line end, status ::ORVIK_STATUS_TRANSFERRED + 0). A `max` of 0 reads
 * nothing and never reaches the end of the file. A `max` above
 * ::ORVIK_TRANSFER_MAX_COUNT (0xFFFFFFFF - 100) counts as that, so that the
 * status never wraps: a longer line is cut there.
 *
 * @code
 * CFile file;
 * char line[256];
 * FILE_Open(&file, "notes.txt", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * while (FILE_ReadStr(&file, line, sizeof line - 1, nullptr) == nullptr) {
 *     std::puts(line);  // a longer line comes in pieces of 255 bytes
 * }
 * @endcode
 *
 * @param file   the file object.
 * @param buffer `max` + 1 bytes: the line and its terminating zero. Untouched
 *               for a null `file`. After ::ORVIK_RC_READ_FAILED it may hold
 *               bytes without a zero: do not use it.
 * @param max    the most bytes of text, the zero not counted.
 * @param status optional (may be null): ::ORVIK_STATUS_TRANSFERRED + the
 *               line's length on success, else the failure's status.
 * @return null on success (::ORVIK_RC_OK), else as FILE_Read(): null `file`,
 *  null `buffer`, ::ORVIK_MSG_END_OF_FILE with ::ORVIK_RC_END_OF_FILE and
 *  ::ORVIK_STATUS_END_OF_FILE before the first byte of a line (the buffer
 *  then holds the empty text), or a failure's message with
 *  ::ORVIK_RC_READ_FAILED.
 */
ORVIK_FILE_API char* FILE_ReadStr(CFile* file, char* buffer, uint32_t max, uint32_t* status);

/**
 * @brief Writes a text as one counted string record.
 *
 * The record is a 4-byte signed little-endian length L, then L bytes: a text
 * of n bytes (1 to ::ORVIK_RECORD_MAX_TEXT) is stored with its zero
 * (L = n + 1); a null or empty text as L = 0 alone. **A text longer than
 * ::ORVIK_RECORD_MAX_TEXT bytes is cut, and the call still succeeds**: it is
 * stored as L = ::ORVIK_RECORD_MAX_TEXT + 1 and reads back as its first
 * ::ORVIK_RECORD_MAX_TEXT bytes, whatever its length (no more of it is read).
 *
 * @code
 * CFile file;
 * FILE_Open(&file, "notes.rec", ORVIK_OPEN_READ_WRITE, ORVIK_OPEN_EMPTY);
 * FILE_WriteCString(&file, "first note");  // length 11, then the text and its zero
 * FILE_WriteCString(&file, "");            // length 0 alone
 * @endcode
 *
 * @param file the file object; must be open.
 * @param text the text, may be null.
 * @return null on success (::ORVIK_RC_OK). A null or closed `file` gives
 *  ::ORVIK_MSG_NO_FILE_OBJECT and **leaves the return code unchanged**. A
 *  failed write gives FILE_Write()'s message and ::ORVIK_RC_WRITE_FAILED; the
 *  length field stays written when only the body failed.
 */
ORVIK_FILE_API char* FILE_WriteCString(CFile* file, const char* text);

/**
 * @brief Reads one counted string record (see FILE_WriteCString()).
 *
 * A length of 0 or less gives the empty text; a length over
 * ::ORVIK_RECORD_MAX_TEXT + 1 reads only that many body bytes, and the next
 * call starts inside the rest of that body. The text handed back ends at its
 * first zero.
 *
 * @code
 * CFile file;
 * char* text = nullptr;
 * FILE_Open(&file, "notes.rec", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * while (FILE_ReadCString(&file, &text) == nullptr) {
 *     std::puts(text);  // this thread's record buffer, until its next call
 * }
 * @endcode
 *
 * @param file the file object; must be open.
 * @param text optional (may be null): receives, on every way out, the address
 *        of the **calling thread's record buffer** of
 *        ::ORVIK_RECORD_MAX_TEXT + 1 bytes. The buffer belongs to the library,
 *        is all zero when the thread starts and is overwritten by the same
 *        thread's next call: copy the text before that. It holds the empty
 *        text after a null or closed file object and at the end of the file.
 * @return null on success (::ORVIK_RC_OK). A null or closed `file` gives
 *  ::ORVIK_MSG_NO_FILE_OBJECT and **leaves the return code unchanged**. No
 *  byte left for the length field, the clean end, gives
 *  ::ORVIK_MSG_END_OF_FILE with ::ORVIK_RC_END_OF_FILE; a record that the end
 *  of the file cuts short gives the same (the buffer then holds the body bytes
 *  that came); another failure gives its message and ::ORVIK_RC_READ_FAILED.
 * @note Threads that read their own file objects need no lock: each reads
 *       into its own record buffer.
 */
ORVIK_FILE_API char* FILE_ReadCString(CFile* file, char** text);

/**
 * @brief The name of the open file, without its directory.
 *
 * **Returns the name on success, not null**: tell success from failure by
 * the return code (or by the result being `dest`).
 *
 * @code
 * CFile file;
 * char name[MAX_PATH];
 * FILE_Open(&file, "C:\\DATA\\REPORT.TXT", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * if (FILE_GetName(&file, name, MAX_PATH - 1) == name) {
 *     std::puts(name);  // report.txt, as the disk spells it
 * }
 * @endcode
 *
 * @param file  the file object.
 * @param dest  a buffer of `limit` + 1 bytes, or null for the calling
 *              thread's message path buffer (MSG_GetStr4Path(), of
 *              MSG_MaxChars4Path() + 1 bytes, overwritten by its next use).
 * @param limit with `dest`: the longest name accepted (a negative limit
 *              refuses every name). Without `dest`: a limit of 1 or more
 *              also bounds the name; 0 or less sets no bound of its own.
 * @return the copied name (`dest` or the path buffer) with ::ORVIK_RC_OK;
 *  else ::ORVIK_MSG_NO_FILE_OBJECT with ::ORVIK_RC_NO_FILE_OBJECT, or
 *  ::ORVIK_MSG_NAME_TOO_LONG with ::ORVIK_RC_NAME_TOO_LONG (nothing copied,
 *  never cut), which a name longer than `INT32_MAX` bytes always gives.
 *  Never null.
 */
ORVIK_FILE_API char* FILE_GetName(CFile* file, char* dest, int32_t limit);

/**
 * @brief The full path of the file object, in the library's name form.
 *
 * As FILE_GetName(), with the full path, and **returns the path on success**;
 * without `dest` the `limit` is ignored and only the path buffer's capacity
 * bounds the path.
 *
 * @code
 * CFile file;
 * FILE_Open(&file, "/data/report.txt", ORVIK_OPEN_READ, ORVIK_OPEN_KEEP);
 * const char* path = FILE_GetPath(&file, nullptr, 0);
 * if (GEN_GetRetCode() == ORVIK_RC_OK) {
 *     std::puts(path);  // C:\data\report.txt
 * }
 * @endcode
 *
 * @param file  the file object.
 * @param dest  a buffer of `limit` + 1 bytes, or null for the path buffer.
 * @param limit with `dest`: the longest path accepted.
 * @return the copied path with ::ORVIK_RC_OK, else as FILE_GetName().
 */
ORVIK_FILE_API char* FILE_GetPath(CFile* file, char* dest, int32_t limit);

/** @} */

/** @name File system by name
 *  A name is absolute or relative to the process's current directory.
 *  @{ */

/**
 * @brief Whether a file or directory of that name exists.
 *
 * A failure of the status query that says there is no such entry for this
 * process reads as absence: nothing of that name, a file or missing
 * directory on the way to it, a name too long, a link loop, no permission
 * to reach it, a link that leads out of its drive. A failure that says
 * nothing about the entry (an I/O error, no memory, no descriptor left)
 * answers nonzero: FILE_Open() then opens without creating, and meets that
 * failure itself, rather than create (and so empty) a file that exists.
 *
 * @code
 * if (!FILE_FileExists("C:\\DATA\\REPORT.TXT")) {
 *     std::puts("no report yet");
 * }
 * @endcode
 *
 * @param name the name; not tested for null or blank.
 * @return nonzero when an entry exists (or may), else 0.
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_FileExists(const char* name);

/**
 * @brief The same as FILE_FileExists(): it does not tell a directory from a
 *        file, so the name of a plain file answers nonzero too.
 *
 * @code
 * if (FILE_DirExists("C:\\DATA")) {
 *     std::puts("an entry, file or directory, of that name exists");
 * }
 * @endcode
 *
 * @param name the name.
 * @return nonzero when an entry exists, else 0.
 */
ORVIK_FILE_API int32_t FILE_DirExists(const char* name);

/**
 * @brief Deletes the named file.
 *
 * @code
 * if (char* message = FILE_Remove4Name("old.log")) {
 *     std::fprintf(stderr, "%s (code %d)\n", message, GEN_GetRetCode());
 * }
 * @endcode
 *
 * @param name the file's name; a blank name is handed on unchanged.
 * @return null on success (::ORVIK_RC_OK), else ::ORVIK_MSG_NULL_ARGUMENT
 *  with ::ORVIK_RC_NULL_ARGUMENT, or the deletion's message (for a missing
 *  file ::ORVIK_MSG_FILE_NOT_FOUND) with ::ORVIK_RC_REMOVE_FAILED.
 */
ORVIK_FILE_API char* FILE_Remove4Name(const char* name);

/**
 * @brief Creates one directory; a missing parent is not created.
 *
 * @code
 * int32_t result = FILE_MkDir("C:\\DATA\\ARCHIVE");
 * if (result != 0 && result != ORVIK_MKDIR_REFUSED) {  // -3 is also "exists"
 *     std::fprintf(stderr, "cannot make the archive: %d\n", result);
 * }
 * @endcode
 *
 * @param name the directory's name.
 * @retval 0  created
 * @retval -1 null name
 * @retval -2 blank name; nothing is tried
 * @retval -3 access denied, or the entry exists already
 * @retval -4 the path to it does not exist
 * @retval -5 any other failure
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_MkDir(const char* name);

/**
 * @brief Changes the **current directory of the process**; it moves nothing.
 *
 * Every relative name of every later call, of this library and of the host,
 * on every thread, is then resolved against the new directory.
 *
 * @code
 * if (FILE_Move2Dir("C:\\DATA") == 0) {
 *     FILE_Remove4Name("REPORT.TXT");  // now the one in C:\DATA
 * }
 * @endcode
 *
 * @param name the directory to make current.
 * @retval 0  changed
 * @retval -1 null name
 * @retval -2 blank name
 * @retval -3 refused; the current directory stays as it was
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_Move2Dir(const char* name);

/**
 * @brief The directory above the running program's own directory.
 *
 * The executable's full name (from `/proc/self/exe`, in the library's name
 * form) is cut twice at its last backslash: `/opt/tool/bin/tool` gives
 * `C:\opt\tool` and 11.
 *
 * @code
 * char home[MAX_PATH];
 * if (FILE_GetModulePathName(home) > 0) {
 *     std::puts(home);  // C:\opt\tool for /opt/tool/bin/tool
 * }
 * @endcode
 *
 * @param buffer at least 259 bytes (`MAX_PATH` - 1).
 * @return the length of the directory text left in `buffer`, or:
 * @retval -1 null `buffer` (untouched)
 * @retval -2 no name for the executable, or one that does not fit 259 bytes
 *            (empty text, never another directory)
 * @retval -3 a cut found no backslash (empty text)
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_GetModulePathName(char* buffer);

/**
 * @brief Lets the user choose a directory in the desktop's folder browser
 *        (a modal GTK 3 dialog loaded from the module libOrvikAfxGtk.so).
 *
 * Returns only when the dialog is closed. The dialog, its status line and
 * where its module is looked for are AfxBrowseForFolder()'s, in OrvikAfx.h.
 *
 * @code
 * char folder[MAX_PATH];
 * if (FILE_ChoosePath(folder, "C:\\DATA", "Save the report in", nullptr) == 0) {
 *     std::puts(folder);
 * }
 * @endcode
 *
 * @param path    at least `MAX_PATH` (260) bytes; receives the chosen path.
 *                After -2 or -3 it holds no chosen path.
 * @param initial the directory to preselect, or null for none (then the
 *                status line stays empty).
 * @param title   the text above the folders, or null for "Choose a Directory".
 * @param owner   the owner window, or null: then the main window of the
 *                calling thread's `CWinThread`, else none.
 * @retval 0  a folder was chosen
 * @retval -1 null `path`; nothing is shown
 * @retval -2 cancelled; also without the module or a display, and when called
 *            from another thread than the one that first showed the dialog
 *            (AfxFolderBrowserStatus() then says which)
 * @retval -3 the chosen item has no file-system path, or one of `MAX_PATH`
 *            bytes or more
 * @note Leaves the return code alone. Run it on one thread only (GTK's).
 */
ORVIK_FILE_API int32_t FILE_ChoosePath(char* path, const char* initial, const char* title,
                                       CWnd* owner);

/** @} */

/** @name Path text
 *  Pure text operations on caller buffers, in the library's name form: the
 *  backslash separates components, a colon ends a drive, the last full stop
 *  after both opens the suffix. Only FILE_PathFile() takes a forward slash
 *  for a separator. No file-system access; thread-safe on distinct buffers.
 *  Their results are `int32_t` lengths and indexes, so a name or path longer
 *  than `INT32_MAX` bytes is refused with a negative result; a refused call
 *  changes none of the caller's texts.
 *  @{ */

/**
 * @brief The index of a name's suffix (its last full stop in the last
 *        component), or of where its base part would be cut to 8 characters.
 *
 * `C:\dir\file.txt` gives 11; a name without a suffix gives its length; a
 * full stop in the directory part opens no suffix.
 *
 * @code
 * int32_t dot = FILE_FindSuffix("C:\\dir\\file.txt", 0);  // 11, the ".txt"
 * @endcode
 *
 * @param name      the name; not null.
 * @param limitBase nonzero: when the base part (between the directory part
 *                  and the suffix) is longer than 8, give the index of its
 *                  9th character (`C:\dir\longfilename.txt` gives 15, not 19);
 *                  a base of 8 or fewer is not cut. The name is not changed.
 * @return an index from 0 to the name's length, or ::ORVIK_TEXT_TOO_LONG for
 *         a name longer than `INT32_MAX` bytes (read no further than that).
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_FindSuffix(const char* name, int32_t limitBase);

/**
 * @brief Replaces a name's suffix in place, or removes it.
 *
 * The new suffix is cut to 3 characters; one leading full stop is skipped
 * (`doc` and `.doc` give the same). `abc.txt` with `html` becomes `abc.htm`.
 *
 * @code
 * char name[7 + 5] = "abc.txt";
 * FILE_NewSuffix(name, "html");  // "abc.htm", returns 7
 * @endcode
 *
 * @param name   the name, written in place; not null. Needs room for the
 *               suffix position + 5 bytes (full stop, 3 characters, zero):
 *               **`strlen(name) + 5` bytes are always enough**.
 * @param suffix the new suffix; null, empty or "." removes the old suffix.
 * @return the new length of `name`, or ::ORVIK_TEXT_TOO_LONG, with `name`
 *         unchanged, when the name or the new name is longer than
 *         `INT32_MAX` bytes.
 * @note Leaves the return code alone.
 */
ORVIK_FILE_API int32_t FILE_NewSuffix(char* name, const char* suffix);

/**
 * @brief Joins a directory and a file name into one normal, **upper-case**
 *        path.
 *
 * Forward slashes become backslashes, doubled backslashes collapse (a
 * leading pair of `dir` stays, for a network name), leading and trailing
 * blanks of `file` are dropped, a final backslash is removed except after a
 * drive colon, and a drive alone gets one: `c:/dir` and `a.txt` give
 * `C:\DIR\A.TXT` (12).
 *
 * @code
 * char dir[] = "c:/data";
 * char file[] = "report.txt";
 * char path[sizeof dir + sizeof file + 1];  // strlen(dir) + strlen(file) + 3
 * FILE_PathFile(path, dir, file);           // "C:\DATA\REPORT.TXT", returns 18
 * @endcode
 *
 * @param dest the path; **`strlen(dir) + strlen(file) + 3` bytes** (the path
 *             is at most 2 bytes longer than its parts, plus its zero). Not
 *             null.
 * @param dir  the directory, may be null (empty). **Written to**: each forward
 *             slash in it is overwritten by a backslash.
 * @param file the file name, may be null (empty). **Written to** the same way.
 * @return the length of the path in `dest`; or ::ORVIK_TEXT_TOO_LONG when
 *         `dir` and `file` together are longer than `INT32_MAX` - 2 bytes (the
 *         path could not be counted): `dest` then holds the empty text and
 *         `dir` and `file` are unchanged.
 * @note Leaves the return code alone. Each byte is upper-cased by
 *       STR_ANSI2Upper4Char(): in the default code page, UTF-8, only `a` to
 *       `z` change and every byte from 0x80 on is copied as it is, so no
 *       multi-byte character is broken (`résumé.txt` gives `RéSUMé.TXT`);
 *       the accented letters change too only after
 *       STR_SetCodePage(STR_CODEPAGE_WINDOWS_1252) or `ORVIK_CODEPAGE=1252`
 *       (OrvikSTR_Lib.h).
 */
ORVIK_FILE_API int32_t FILE_PathFile(char* dest, char* dir, char* file);

/**
 * @brief Shortens a path name for display to at most `maxChars` characters.
 *
 * A name that fits is copied whole. A longer one keeps its last component
 * (from its last backslash) and as much of its start as fits, cut back to a
 * backslash, with `...` between: `C:\dir\sub\file.txt` in 15 gives
 * `C:\...\file.txt`. Where that cannot work the name is cut after
 * `maxChars` characters.
 *
 * @code
 * char name[] = "C:\\dir\\sub\\file.txt";
 * char shown[15 + 1];
 * FILE_ShrinkName(shown, name, 15);  // "C:\...\file.txt"
 * @endcode
 *
 * @param dest     **`maxChars` + 1 bytes**; holds a zero-terminated text on
 *                 every way out but a null `dest`.
 * @param src      the name. **Written to**: its leading and trailing blanks
 *                 are stripped in place, for good.
 * @param maxChars the longest result, 1 or more.
 * @return the length of the text in `dest`, or ::ORVIK_SHRINK_REFUSED (-1)
 *  for a null `dest`, a `maxChars` below 1, a null `src`, or a `src` longer
 *  than `INT32_MAX` bytes once stripped, which is left unstripped (then
 *  `dest` holds the empty text).
 * @note Sets the return code to ::ORVIK_RC_OK on entry, and nothing else.
 */
ORVIK_FILE_API int32_t FILE_ShrinkName(char* dest, char* src, int32_t maxChars);

/** @} */

}  // extern "C"

#endif  // ORVIK_FILE_LIB_H
