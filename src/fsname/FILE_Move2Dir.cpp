#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

// Changes the current directory of the whole process.
int32_t FILE_Move2Dir(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    if (orvik::platform::IsBlank(name)) {
        return -2;
    }
    return orvik::platform::ChangeDirectory(name) ? 0 : -3;
}
