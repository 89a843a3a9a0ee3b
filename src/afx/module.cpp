// The running program's own executable file.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "OrvikAfx.h"
#include "OrvikFILE_Version.h"
#include "drives.h"
#include "host_name.h"
#include "system_calls.h"

namespace {

// readlink does not say whether it cut the name short, so the buffer grows
// until the name leaves room to spare. The kernel's names are bounded (a
// page), so this ends.
bool ReadExecutablePath(std::string& path) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = orvik::afx::Retried([&] {
            return orvik::afx::Sys().readlinkat(AT_FDCWD, "/proc/self/exe", buffer.data(),
                                                buffer.size());
        });
        if (length < 0) {
            return false;
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<size_t>(length));
            path = buffer;
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

DWORD AfxGetModuleFileName(LPTSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        errno = EINVAL;
        return 0;
    }
    buffer[0] = '\0';
    try {
        std::string native;
        if (!ReadExecutablePath(native)) {
            return 0;
        }
        const std::string name =
            orvik::afx::HostFormOfLinuxPath(orvik::afx::LinuxComponents(native));
        if (name.size() >= size) {
            errno = ENAMETOOLONG;
            return 0;
        }
        std::memcpy(buffer, name.c_str(), name.size() + 1);
        return static_cast<DWORD>(name.size());
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return 0;
    }
}

const char* AfxGetVersion() {
    return ORVIK_FILE_VERSION_STRING;
}
