// Directories by name: FILE_MkDir and FILE_Move2Dir.
#include <cerrno>

#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"

namespace {

// A name that no directory call can take: null, or nothing but blanks.
// `null` and `blank` for those, 0 for a name to try.
int32_t RefusedName(const char* name, int32_t null, int32_t blank) {
    if (name == nullptr) {
        return null;
    }
    return STR_IsBlank(name) != 0 ? blank : 0;
}

// The failure of AfxMkDir, by the C runtime's errno: an entry that exists
// or may not be made, a missing parent, anything else.
int32_t MkDirFailure(int error) {
    switch (error) {
        case EACCES:
        case EEXIST:
            return ORVIK_MKDIR_REFUSED;
        case ENOENT:
            return ORVIK_MKDIR_NO_PATH;
        default:
            return ORVIK_MKDIR_FAILED;
    }
}

}  // namespace

// A missing parent is not created. New directories get mode 0777 less the
// process's umask, as the platform's own tools make them.
int32_t FILE_MkDir(const char* name) {
    if (const int32_t refused = RefusedName(name, ORVIK_MKDIR_NULL_NAME, ORVIK_MKDIR_BLANK_NAME)) {
        return refused;
    }
    return AfxMkDir(name) == 0 ? 0 : MkDirFailure(errno);
}

// Changes the current directory of the whole process.
int32_t FILE_Move2Dir(const char* name) {
    if (const int32_t refused =
            RefusedName(name, ORVIK_MOVE2DIR_NULL_NAME, ORVIK_MOVE2DIR_BLANK_NAME)) {
        return refused;
    }
    return AfxChDir(name) == 0 ? 0 : ORVIK_MOVE2DIR_REFUSED;
}
