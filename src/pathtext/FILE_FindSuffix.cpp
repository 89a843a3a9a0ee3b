#include "OrvikFILE_Lib.h"

namespace {

constexpr int32_t kBaseWidth = 8;  // the width of an eight-character base name

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
