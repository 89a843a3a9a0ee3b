// OrvikSTR_Lib: string helpers on zero-terminated single-byte texts.
//
// The code page of texts, and with it of file names: UTF-8 by default, as
// Linux file systems and tools hold names. A host whose texts really are
// single-byte Windows-1252 selects that code page, once at start-up, with
// STR_SetCodePage(STR_CODEPAGE_WINDOWS_1252), or without a rebuild by
// starting with the environment variable ORVIK_CODEPAGE=1252 (read once, at
// the first use of the code page, and only when no call chose one first).
// The code page decides what STR_ANSI2Upper4Char changes and how the
// platform classes match names without regard to case (see Names in
// OrvikAfx.h).
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
// `src` is read no further than the piece's end: a source of any length,
// gigabytes included, costs what its piece costs.
ORVIK_STR_API char* STR_Format(char* dest, const char* src, int32_t one, int32_t mode,
                               int32_t count);

#define STR_CODEPAGE_UTF8 65001u
#define STR_CODEPAGE_WINDOWS_1252 1252u

// Selects the code page: STR_CODEPAGE_UTF8 or STR_CODEPAGE_WINDOWS_1252.
// Returns nonzero when selected, 0 (changing nothing) for any other value.
// Safe from any thread; texts being worked on at that moment may see either.
ORVIK_STR_API int32_t STR_SetCodePage(uint32_t codePage);

// The code page in use: STR_CODEPAGE_UTF8 or STR_CODEPAGE_WINDOWS_1252.
ORVIK_STR_API uint32_t STR_GetCodePage(void);

// The upper-case form of the character in the low byte of `ch`; the upper
// bytes of `ch` are ignored and the result is 0 to 255.
// In UTF-8 only a-z change: every byte of 0x80 and above is part of a
// multi-byte character and comes back unchanged, so a text upper-cased byte
// by byte stays valid UTF-8 (résumé gives RéSUMé).
// In Windows-1252 it also changes the accented small letters 0xE0 to 0xFE
// (not 0xF7, the division sign), and 0x9A, 0x9C, 0x9E, 0xFF to their
// capitals 0x8A, 0x8C, 0x8E, 0x9F. Every other character, sharp s (0xDF)
// and micro (0xB5) among them, comes back unchanged.
ORVIK_STR_API uint32_t STR_ANSI2Upper4Char(uint32_t ch);

// The last occurrence of the character in the low byte of `ch` in `text`,
// or null when it does not occur. The terminating zero is not part of the
// text: a character of 0 is never found. A null text holds nothing.
ORVIK_STR_API char* STR_lstrrchr(const char* text, uint32_t ch);

// The result of STR_StripBlanks for a text that int32_t cannot count.
#define STR_TEXT_TOO_LONG (-1)

// Strips blanks from both ends of `text`, in place, and returns the new
// length. Inner blanks stay. A null text gives 0. A text that is still longer
// than INT32_MAX bytes once stripped is left unchanged and gives
// STR_TEXT_TOO_LONG.
ORVIK_STR_API int32_t STR_StripBlanks(char* text);

// Nonzero when `text` is null, empty, or holds nothing but blanks.
ORVIK_STR_API int32_t STR_IsBlank(const char* text);

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_STR_LIB_H
