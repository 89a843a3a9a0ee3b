/**
 * @file OrvikSTR_Lib.h
 * @brief OrvikSTR_Lib: string helpers on zero-terminated single-byte texts.
 *
 * The code page of texts, and with it of file names: UTF-8 by default, as
 * Linux file systems and tools hold names. A host whose texts really are
 * single-byte Windows-1252 selects that code page, once at start-up, with
 * STR_SetCodePage(STR_CODEPAGE_WINDOWS_1252), or without a rebuild by
 * starting with the environment variable `ORVIK_CODEPAGE=1252` (read once, at
 * the first use of the code page, and only when no call chose one first).
 * The code page decides what STR_ANSI2Upper4Char() changes and how the
 * platform classes match names without regard to case (@ref afx_names in
 * OrvikAfx.h).
 *
 * A blank, for STR_StripBlanks() and STR_IsBlank(), is one of the C locale's
 * white-space bytes: space, tab, line feed, vertical tab, form feed and
 * carriage return. Every other byte, 0x80 to 0xFF included, is not blank.
 */
#ifndef ORVIK_STR_LIB_H
#define ORVIK_STR_LIB_H

#include <stdint.h>

/** @cond ORVIK_INTERNAL */
#if defined(__GNUC__)
#define ORVIK_STR_API __attribute__((visibility("default")))
#else
#define ORVIK_STR_API
#endif
/** @endcond */

#ifdef __cplusplus
extern "C" {
#endif

/**
 * @brief Copies a piece of a text: `count` characters from the 1-based
 *        position `one` on (fewer when the source ends first).
 *
 * `src` is read no further than the piece's end: a source of any length,
 * gigabytes included, costs what its piece costs.
 *
 * @code
 * char field[9];
 * STR_Format(field, "report", 1, 1, 8);  // "report  "
 * @endcode
 *
 * @param dest  room for the piece and its terminating zero, or null for
 *              storage of the service, kept per thread and valid until the
 *              thread's next call with a null `dest`.
 * @param src   the text; null is the empty text.
 * @param one   the first character, counted from 1; below 1 counts as 1.
 * @param mode  what happens when the piece is shorter than `count`: 0 or a
 *              negative mode leaves it short; 1 pads it with blanks on the
 *              right and 2 on the left to `count` characters.
 * @param count the characters wanted; below 0 counts as 0.
 * @return `dest`, or the service's storage.
 */
ORVIK_STR_API char* STR_Format(char* dest, const char* src, int32_t one, int32_t mode,
                               int32_t count);

#define STR_CODEPAGE_UTF8 65001u         ///< the code page UTF-8, the default
#define STR_CODEPAGE_WINDOWS_1252 1252u  ///< the code page Windows-1252

/**
 * @brief Selects the code page of texts and names.
 * @param codePage ::STR_CODEPAGE_UTF8 or ::STR_CODEPAGE_WINDOWS_1252.
 * @return nonzero when selected, 0 (changing nothing) for any other value.
 * @note Safe from any thread; texts being worked on at that moment may see
 *       either.
 */
ORVIK_STR_API int32_t STR_SetCodePage(uint32_t codePage);

/**
 * @brief The code page in use.
 * @return ::STR_CODEPAGE_UTF8 or ::STR_CODEPAGE_WINDOWS_1252.
 */
ORVIK_STR_API uint32_t STR_GetCodePage(void);

/**
 * @brief The upper-case form of one character.
 *
 * In UTF-8 only a-z change: every byte of 0x80 and above is part of a
 * multi-byte character and comes back unchanged, so a text upper-cased byte
 * by byte stays valid UTF-8 (`résumé` gives `RéSUMé`).
 * In Windows-1252 it also changes the accented small letters 0xE0 to 0xFE
 * (not 0xF7, the division sign), and 0x9A, 0x9C, 0x9E, 0xFF to their
 * capitals 0x8A, 0x8C, 0x8E, 0x9F. Every other character, sharp s (0xDF)
 * and micro (0xB5) among them, comes back unchanged.
 *
 * @param ch the character in the low byte; the upper bytes are ignored.
 * @return the upper-case character, 0 to 255.
 */
ORVIK_STR_API uint32_t STR_ANSI2Upper4Char(uint32_t ch);

/**
 * @brief The last occurrence of a character in a text.
 * @param text the text; null holds nothing.
 * @param ch   the character in the low byte. The terminating zero is not
 *             part of the text: a character of 0 is never found.
 * @return the character's place in `text`, or null when it does not occur.
 */
ORVIK_STR_API char* STR_lstrrchr(const char* text, uint32_t ch);

/** The result of STR_StripBlanks() for a text that int32_t cannot count. */
#define STR_TEXT_TOO_LONG (-1)

/**
 * @brief Strips blanks from both ends of a text, in place; inner blanks stay.
 * @param text the text; null gives 0.
 * @return the new length; ::STR_TEXT_TOO_LONG, with the text unchanged, for
 *         a text that is still longer than INT32_MAX bytes once stripped.
 */
ORVIK_STR_API int32_t STR_StripBlanks(char* text);

/**
 * @brief Whether a text holds nothing but blanks.
 * @param text the text.
 * @return nonzero when `text` is null, empty, or all blanks.
 */
ORVIK_STR_API int32_t STR_IsBlank(const char* text);

#ifdef __cplusplus
}
#endif

#endif  // ORVIK_STR_LIB_H
