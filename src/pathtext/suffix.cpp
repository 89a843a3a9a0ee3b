// Name suffixes: FILE_FindSuffix and FILE_NewSuffix.
#include <cstdio>

#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"

namespace {

constexpr int32_t kBaseWidth = 8;  // the width of an eight-character base name
constexpr int32_t kSuffixWidth = 3;
// A full stop, the suffix characters and the terminating zero.
constexpr size_t kSuffixRoom = 1 + kSuffixWidth + 1;

}  // namespace

// The base part starts after the last backslash or colon, whichever comes
// later; only a full stop inside it opens a suffix, so a dotted directory
// name never does.
int32_t FILE_FindSuffix(const char* name, int32_t limitBase) {
    int32_t lastBackslash = -1;
    int32_t lastColon = -1;
    int32_t lastStop = -1;
    int32_t length = 0;
    for (; name[length] != '\0'; ++length) {
        switch (name[length]) {
            case '\\':
                lastBackslash = length;
                break;
            case ':':
                lastColon = length;
                break;
            case '.':
                lastStop = length;
                break;
            default:
                break;
        }
    }

    int32_t baseStart = lastBackslash + 1;
    if (lastColon >= 0 && lastColon + 1 > baseStart) {
        baseStart = lastColon + 1;
    }
    const int32_t suffix = (lastStop >= 0 && lastStop >= baseStart) ? lastStop : length;

    if (limitBase != 0 && suffix - baseStart > kBaseWidth) {
        return baseStart + kBaseWidth;
    }
    return suffix;
}

// The caller's name holds p + 5 bytes, p being the old suffix's position:
// room for the full stop, three suffix characters and the zero.
int32_t FILE_NewSuffix(char* name, const char* suffix) {
    const int32_t position = FILE_FindSuffix(name, 0);

    const char* text = suffix != nullptr ? suffix : "";
    if (*text == '.') {
        ++text;  // ".doc" and "doc" name the same suffix; only one stop is dropped
    }
    if (*text == '\0') {
        name[position] = '\0';
        return position;
    }

    const char* kept = STR_Format(nullptr, text, 1, 0, kSuffixWidth);
    const int written = std::snprintf(name + position, kSuffixRoom, ".%s", kept);
    return position + written;
}
