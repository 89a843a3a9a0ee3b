#include <cstdio>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikSTR_Lib.h"

namespace {

constexpr uint32_t kBackslash = '\\';
constexpr int64_t kEllipsisLength = 3;  // "..."

// The first `maxChars` characters of the name, when no shorter form with
// its last component can be made.
int32_t PlainCut(char* dest, const char* src, int32_t maxChars) {
    STR_Format(dest, src, 1, -1, maxChars);
    return static_cast<int32_t>(std::strlen(dest));
}

// The head is the first `keep` characters, cut back to just after the last
// backslash among them when there is one. The cut is made by ending the
// text at `keep` for the search and putting the byte back straight after.
int32_t HeadLength(char* src, int32_t keep) {
    const char saved = src[keep];
    src[keep] = '\0';
    const char* backslash = STR_lstrrchr(src, kBackslash);
    src[keep] = saved;
    return backslash != nullptr ? static_cast<int32_t>(backslash - src) + 1 : keep;
}

}  // namespace

// The result never exceeds maxChars, and dest holds maxChars + 1 bytes: the
// head is at most `keep` characters, and keep + 3 + tail is maxChars.
int32_t FILE_ShrinkName(char* dest, char* src, int32_t maxChars) {
    GEN_SetRetCode(ORVIK_RC_OK);
    if (dest == nullptr) {
        return ORVIK_SHRINK_REFUSED;
    }
    dest[0] = '\0';
    if (maxChars < 1 || src == nullptr) {
        return ORVIK_SHRINK_REFUSED;
    }

    const int32_t length = STR_StripBlanks(src);
    if (length < 0) {
        return ORVIK_SHRINK_REFUSED;  // longer than int32_t counts, and left unstripped
    }
    if (length <= maxChars) {
        std::memcpy(dest, src, static_cast<size_t>(length) + 1);
        return length;
    }

    const char* tail = STR_lstrrchr(src, kBackslash);
    if (tail == nullptr) {
        return PlainCut(dest, src, maxChars);
    }
    const int64_t keep =
        static_cast<int64_t>(maxChars) - static_cast<int64_t>(std::strlen(tail)) - kEllipsisLength;
    if (keep < 0) {
        return PlainCut(dest, src, maxChars);
    }

    const int32_t headLength = HeadLength(src, static_cast<int32_t>(keep));
    const char* head = STR_Format(nullptr, src, 1, -1, headLength);
    const size_t capacity = static_cast<size_t>(maxChars) + 1;
    return std::snprintf(dest, capacity, "%s...%s", head, tail);
}
