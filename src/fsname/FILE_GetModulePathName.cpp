#include "OrvikFILE_Lib.h"

namespace {

// One less than MAX_PATH, terminating zero included. A longer name is
// refused by the platform, never cut into some other directory.
constexpr uint32_t kNameLimit = 259;

// The last backslash of the text, or null; a forward slash is no separator.
char* LastBackslash(char* text) {
    char* last = nullptr;
    for (char* at = text; *at != '\0'; ++at) {
        if (*at == '\\') {
            last = at;
        }
    }
    return last;
}

}  // namespace

// The executable's name arrives with backslashes for separators, so that
// /opt/tool/bin/tool gives \opt\tool. The first cut drops the file name,
// the second the directory that holds it.
int32_t FILE_GetModulePathName(char* buffer) {
    if (buffer == nullptr) {
        return ORVIK_MODULE_NULL_BUFFER;
    }
    if (AfxGetModuleFileName(buffer, kNameLimit) == 0) {
        buffer[0] = '\0';
        return ORVIK_MODULE_NO_NAME;
    }
    char* cut = nullptr;
    for (int cuts = 0; cuts < 2; ++cuts) {
        cut = LastBackslash(buffer);
        if (cut == nullptr) {
            buffer[0] = '\0';
            return ORVIK_MODULE_NO_CUT;
        }
        *cut = '\0';
    }
    return static_cast<int32_t>(cut - buffer);
}
