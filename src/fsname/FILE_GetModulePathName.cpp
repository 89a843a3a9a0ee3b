#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

namespace {

// One less than MAX_PATH, terminating zero included. A longer name is
// refused by the platform, never cut into some other directory.
constexpr uint32_t kNameLimit = 259;

// Ends the text at its last backslash; false when it has none.
bool CutAtLastBackslash(char* text) {
    char* last = nullptr;
    for (char* at = text; *at != '\0'; ++at) {
        if (*at == '\\') {
            last = at;
        }
    }
    if (last == nullptr) {
        return false;
    }
    *last = '\0';
    return true;
}

}  // namespace

// The executable's name arrives with backslashes for separators, so that
// /opt/tool/bin/tool gives \opt\tool. The first cut drops the file name,
// the second the directory that holds it.
int32_t FILE_GetModulePathName(char* buffer) {
    if (buffer == nullptr) {
        return -1;
    }
    if (orvik::platform::ExecutableName(buffer, kNameLimit) == 0) {
        buffer[0] = '\0';
        return -2;
    }
    if (!CutAtLastBackslash(buffer) || !CutAtLastBackslash(buffer)) {
        buffer[0] = '\0';
        return -3;
    }
    return orvik::platform::TextLength(buffer);
}
