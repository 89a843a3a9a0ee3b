// Name suffixes: FILE_FindSuffix and FILE_NewSuffix.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"
#include "pathtext/text_length.h"

namespace {

using namespace orvik;

constexpr size_t kBaseWidth = 8;  // the width of an eight-character base name
constexpr int32_t kSuffixWidth = 3;
// A full stop, the suffix characters and the terminating zero.
constexpr size_t kSuffixRoom = 1 + kSuffixWidth + 1;

// One past the last `ch` of text[from, length), or `from` when it holds none.
// memchr leaps over the bytes between, so a long name costs little.
size_t AfterLast(const char* text, size_t from, size_t length, char ch) {
    size_t after = from;
    while (const void* hit = std::memchr(text + after, ch, length - after)) {
        after = static_cast<size_t>(static_cast<const char*>(hit) - text) + 1;
    }
    return after;
}

}  // namespace

// The base part starts after the last backslash or colon, whichever comes
// later; only a full stop inside it opens a suffix, so a dotted directory
// name never does.
int32_t FILE_FindSuffix(const char* name, int32_t limitBase) {
    const size_t length = pathtext::LengthUpTo(name, pathtext::kLongestText);
    if (length > pathtext::kLongestText) {
        return ORVIK_TEXT_TOO_LONG;
    }
    const size_t baseStart =
        std::max(AfterLast(name, 0, length, '\\'), AfterLast(name, 0, length, ':'));
    const size_t afterStop = AfterLast(name, baseStart, length, '.');
    const size_t suffix = afterStop > baseStart ? afterStop - 1 : length;

    if (limitBase != 0 && suffix - baseStart > kBaseWidth) {
        return static_cast<int32_t>(baseStart + kBaseWidth);
    }
    return static_cast<int32_t>(suffix);
}

// The caller's name holds p + 5 bytes, p being the old suffix's position:
// room for the full stop, three suffix characters and the zero. A name
// that would grow past what int32_t counts is refused unchanged.
int32_t FILE_NewSuffix(char* name, const char* suffix) {
    const int32_t position = FILE_FindSuffix(name, 0);
    if (position < 0) {
        return position;
    }

    const char* text = suffix != nullptr ? suffix : "";
    if (*text == '.') {
        ++text;  // ".doc" and "doc" name the same suffix; only one stop is dropped
    }
    if (*text == '\0') {
        name[position] = '\0';
        return position;
    }

    const char* kept = STR_Format(nullptr, text, 1, 0, kSuffixWidth);
    if (static_cast<size_t>(position) + 1 + std::strlen(kept) > pathtext::kLongestText) {
        return ORVIK_TEXT_TOO_LONG;
    }
    const int written = std::snprintf(name + position, kSuffixRoom, ".%s", kept);
    return position + written;
}
