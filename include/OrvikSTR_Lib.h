// OrvikSTR_Lib: string helpers on zero-terminated single-byte texts.
//
// A blank, for STR_StripBlanks and STR_IsBlank, is one of the C locale's
// white-space bytes: space, tab, line feed, vertical tab, form feed and
// carriage return. Every other byte, 0x80 to 0xFF included, is not blank.
#ifndef ORVIK_STR_LIB_H
#define ORVIK_STR_LIB_H

#include <stdint.h>

#if defined(__GNUC__)
#define ORVIK_STR_API __attribute__((visibility("default")))
#else
#define ORVIK_STR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Copies a piece of `src`: `count` characters from the 1-based position
// `one` on (fewer when the source ends first). `mode` chooses what happens
// when the piece is shorter than `count`: 0 or a negative mode leaves it
// short; 1 pads it with blanks on the right and 2 on the left to `count`
// characters. A position below 1 counts as 1; a count below 0 as 0.
//
// With `dest`, the piece and a terminating zero go there (the caller
// provides room for them) and `dest` is returned. With a null `dest`, the
// piece goes into storage of the service, kept per thread and valid until
// the thread's next call with a null `dest`. A null `src` is the empty text.
ORVIK_STR_API char* STR_Format(char* dest, const char* src, int32_t one, int32_t mode,
                               int32_t count);

// The upper-case form of the Windows-1252 character in the low byte of
// `ch`; the upper bytes of `ch` are ignored and the result is 0 to 255.
// Changes a-z, the accented small letters 0xE0 to 0xFE (not 0xF7, the
// division sign), and 0x9A, 0x9C, 0x9E, 0xFF to their capitals 0x8A, 0x8C,
// 0x8E, 0x9F. Every other character, sharp s (0xDF) and micro (0xB5) among
// them, comes back unchanged.
ORVIK_STR_API uint32_t STR_ANSI2Upper4Char(uint32_t ch);

// The last occurrence of the character in the low byte of `ch` in `text`,
// or null when it does not occur. The terminating zero is not part of the
// text: a character of 0 is never found. A null text holds nothing.
ORVIK_STR_API char* STR_lstrrchr(const char* text, uint32_t ch);

// Strips blanks from both ends of `text`, in place, and returns the new
// length. Inner blanks stay. A null text gives 0.
ORVIK_STR_API int32_t STR_StripBlanks(char* text);

// Nonzero when `text` is null, empty, or holds nothing but blanks.
ORVIK_STR_API int32_t STR_IsBlank(const char* text);

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_STR_LIB_H
