/**
 * @file OrvikMSG_Lib.h
 * @brief OrvikMSG_Lib: message texts and the lent text and path buffers.
 *
 * MSG_GetStr() gives an English text for every message number of the Orvik
 * file library (the ORVIK_MSG_ names of OrvikFILE_Codes.h: 52000 to 52017
 * and 52200), each one distinct, and a text that names the number for any
 * other; it never returns null. The texts are the service's: callers neither
 * change nor free them.
 *
 * The text buffer and the path buffer are lent per thread: a thread's use
 * never overwrites another thread's text. Each stays valid for the life of
 * its thread and is overwritten by that thread's next use.
 */
#ifndef ORVIK_MSG_LIB_H
#define ORVIK_MSG_LIB_H

#include <stdint.h>

/** @cond ORVIK_INTERNAL */
#if defined(__GNUC__)
#define ORVIK_MSG_API __attribute__((visibility("default")))
#else
#define ORVIK_MSG_API
#endif
/** @endcond */

#ifdef __cplusplus
extern "C" {
#endif

/**
 * @brief The text of a message number.
 * @param number a message number (::OrvikFileMessage), or any other value.
 * @return the text, never null, also for an unknown number (a text that
 *  names it, kept in a per-thread buffer until the thread's next unknown
 *  number). Owned by the service: neither change nor free it.
 * @note Thread-safe.
 */
ORVIK_MSG_API char* MSG_GetStr(int32_t number);

/**
 * @brief The calling thread's writable text buffer, of MSG_MaxChars4Text()
 *        bytes; FILE_ExceptionMsg() writes an exception's own text there.
 * @return the buffer, never null; valid for the life of the thread and
 *  overwritten by its next use on the same thread.
 */
ORVIK_MSG_API char* MSG_GetStr4Text(void);

/**
 * @brief The capacity of the text buffer.
 * @return its size in characters, the terminating zero included.
 */
ORVIK_MSG_API uint32_t MSG_MaxChars4Text(void);

/**
 * @brief The calling thread's writable path buffer, of MSG_MaxChars4Path() + 1
 *        bytes; FILE_GetName() and FILE_GetPath() copy a name there when their
 *        caller gives no buffer.
 * @return the buffer, never null; valid for the life of the thread and
 *  overwritten by its next use on the same thread.
 */
ORVIK_MSG_API char* MSG_GetStr4Path(void);

/**
 * @brief The capacity of the path buffer in characters.
 * @return the longest text it takes; the buffer holds this count plus one
 *  byte for the terminating zero.
 */
ORVIK_MSG_API int32_t MSG_MaxChars4Path(void);

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_MSG_LIB_H
