/**
 * @file OrvikGEN_Lib.h
 * @brief OrvikGEN_Lib: the return code of the Orvik libraries.
 *
 * Each thread has a return code of its own: a thread reads back the code of
 * its own last call, never another thread's. A new thread starts at 0
 * (::ORVIK_RC_OK). The codes that the file library hands are the
 * ORVIK_RC_ names of OrvikFILE_Codes.h.
 */
#ifndef ORVIK_GEN_LIB_H
#define ORVIK_GEN_LIB_H

#include <stdint.h>

/** @cond ORVIK_INTERNAL */
#if defined(__GNUC__)
#define ORVIK_GEN_API __attribute__((visibility("default")))
#else
#define ORVIK_GEN_API
#endif
/** @endcond */

#ifdef __cplusplus
extern "C" {
#endif

/**
 * @brief Sets the calling thread's return code.
 * @param code the new code; kept until the thread's next call replaces it.
 * @note Thread-safe: touches the calling thread's code only.
 */
ORVIK_GEN_API void GEN_SetRetCode(int32_t code);

/**
 * @brief The return code last set on the calling thread.
 * @return the code, 0 (::ORVIK_RC_OK) when none was set on this thread.
 * @note Thread-safe.
 */
ORVIK_GEN_API int32_t GEN_GetRetCode(void);

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_GEN_LIB_H
