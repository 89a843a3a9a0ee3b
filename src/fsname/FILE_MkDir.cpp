#include "OrvikFILE_Lib.h"
#include "platform/platform.h"

// A missing parent is not created. New directories get mode 0777 less the
// process's umask, as the platform's own tools make them.
int32_t FILE_MkDir(const char* name) {
    using orvik::platform::DirRefusal;
    if (name == nullptr) {
        return -1;
    }
    if (orvik::platform::IsBlank(name)) {
        return -2;
    }
    switch (orvik::platform::MakeDirectory(name)) {
        case DirRefusal::none:
            return 0;
        case DirRefusal::accessDenied:
        case DirRefusal::alreadyExists:
            return -3;
        case DirRefusal::pathNotFound:
            return -4;
        default:
            return -5;
    }
}
