// Directories by name: FILE_MkDir and FILE_Move2Dir.
#include <cerrno>

#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"

namespace {

// A name that no directory call can take: null, or nothing but blanks.
// -1 and -2 for those, 0 for a name to try.
int32_t RefusedName(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    return STR_IsBlank(name) != 0 ? -2 : 0;
}

// The failure of AfxMkDir, by the C runtime's errno: an entry that exists
// or may not be made -3, a missing parent -4, anything else -5.
int32_t MkDirFailure(int error) {
    switch (error) {
        case EACCES:
        case EEXIST:
            return -3;
        case ENOENT:
            return -4;
        default:
            return -5;
    }
}

}  // namespace

// A missing parent is not created. New directories get mode 0777 less the
// process's umask, as the platform's own tools make them.
int32_t FILE_MkDir(const char* name) {
    if (const int32_t refused = RefusedName(name)) {
        return refused;
    }
    return AfxMkDir(name) == 0 ? 0 : MkDirFailure(errno);
}

// Changes the current directory of the whole process.
int32_t FILE_Move2Dir(const char* name) {
    if (const int32_t refused = RefusedName(name)) {
        return refused;
    }
    return AfxChDir(name) == 0 ? 0 : -3;
}
