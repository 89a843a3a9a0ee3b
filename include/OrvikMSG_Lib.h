// OrvikMSG_Lib: message texts and the shared text and path buffers.
//
// MSG_GetStr gives an English text for every message number of the Orvik
// file library (52000 to 52017 and 52200), each one distinct, and a text
// that names the number for any other; it never returns null. The texts are
// the service's: callers neither change nor free them.
//
// The text buffer and the path buffer are lent per thread: a thread's use
// never overwrites another thread's text. Each stays valid for the life of
// its thread and is overwritten by that thread's next use.
#ifndef ORVIK_MSG_LIB_H
#define ORVIK_MSG_LIB_H

#include <stdint.h>

#if defined(__GNUC__)
#define ORVIK_MSG_API __attribute__((visibility("default")))
#else
#define ORVIK_MSG_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

ORVIK_MSG_API char* MSG_GetStr(int32_t number);  // never null, also for an unknown number
ORVIK_MSG_API char* MSG_GetStr4Text(void);
ORVIK_MSG_API uint32_t MSG_MaxChars4Text(void);  // capacity in chars, terminating zero included
ORVIK_MSG_API char* MSG_GetStr4Path(void);
ORVIK_MSG_API int32_t MSG_MaxChars4Path(void);  // the buffer holds this count plus one

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_MSG_LIB_H
