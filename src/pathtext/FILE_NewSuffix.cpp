#include <cstdio>

#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

namespace {

constexpr int32_t kSuffixWidth = 3;
// A full stop, the suffix characters and the terminating zero.
constexpr size_t kSuffixRoom = 1 + kSuffixWidth + 1;

}  // namespace

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

    const char* kept = orvik::platform::Format(nullptr, text, 1, 0, kSuffixWidth);
    const int written = std::snprintf(name + position, kSuffixRoom, ".%s", kept);
    return position + written;
}
