// OrvikGEN_Lib: the return code of the Orvik libraries.
//
// Each thread has a return code of its own: a thread reads back the code of
// its own last call, never another thread's. A new thread starts at 0.
#ifndef ORVIK_GEN_LIB_H
#define ORVIK_GEN_LIB_H

#include <stdint.h>

#if defined(__GNUC__)
#define ORVIK_GEN_API __attribute__((visibility("default")))
#else
#define ORVIK_GEN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

ORVIK_GEN_API void GEN_SetRetCode(int32_t code);
ORVIK_GEN_API int32_t GEN_GetRetCode(void);  // the code last set on the calling thread

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_GEN_LIB_H
