// The system calls through which the platform classes reach the disk, kept
// in one table: every descriptor operation of CFile, and every call that
// resolves a name, lists a directory or watches one. The platform classes
// make these calls only through the table in use, so a test can put an
// interrupted, failing or short version in place of any of them and watch
// every operation cope with it (the fault sweep in tests/afx).
//
// Each entry keeps the calling convention of the system call it stands for:
// -1 (or a null pointer for getcwd) with errno set on failure.
#ifndef ORVIK_AFX_SYSTEM_CALLS_H
#define ORVIK_AFX_SYSTEM_CALLS_H

#include <linux/openat2.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

#include <cerrno>

#include "OrvikAfx.h"

namespace orvik::afx {

struct SystemCalls {
    // Descriptors of open files.
    int (*close)(int fd);
    int (*fstat)(int fd, struct stat* info);
    int (*fcntl)(int fd, int command, int argument);
    int (*flock)(int fd, int operation);
    ssize_t (*read)(int fd, void* buffer, size_t count);
    ssize_t (*write)(int fd, const void* buffer, size_t count);
    off_t (*lseek)(int fd, off_t offset, int whence);
    int (*ftruncate)(int fd, off_t length);
    int (*poll)(struct pollfd* fds, nfds_t count, int timeout);
    // Names, relative to a directory's descriptor.
    int (*openat)(int dir, const char* name, int flags, mode_t mode);
    long (*openat2)(int dir, const char* name, const struct open_how* how, size_t size);
    int (*fstatat)(int dir, const char* name, struct stat* info, int flags);
    ssize_t (*readlinkat)(int dir, const char* name, char* buffer, size_t size);
    int (*mkdirat)(int dir, const char* name, mode_t mode);
    int (*unlinkat)(int dir, const char* name, int flags);
    int (*fchdir)(int fd);
    char* (*getcwd)(char* buffer, size_t size);
    // Directories: their entries, their file system, their changes.
    ssize_t (*getdents64)(int fd, void* buffer, size_t size);
    int (*fstatfs)(int fd, struct statfs* info);
    int (*inotify_init1)(int flags);
    int (*inotify_add_watch)(int fd, const char* name, uint32_t mask);
    int (*inotify_rm_watch)(int fd, int watch);
};

// The operating system's own calls.
const SystemCalls& RealSystemCalls();

// The table that the platform classes use; it starts as RealSystemCalls().
// A test replaces entries while no other thread works with the platform
// classes, and puts the real ones back after. Neither function leaves the
// shared library: tests and fuzz targets link the library's objects
// statically (the *_static libraries of src/CMakeLists.txt).
SystemCalls& SystemCallsInUse();

// The table in use, for the platform classes themselves.
inline const SystemCalls& Sys() {
    return SystemCallsInUse();
}

// The result of `call`, asked again for as long as a signal interrupts it.
template <typename Call>
auto Retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) {
            return result;
        }
    }
}

}  // namespace orvik::afx

#endif  // ORVIK_AFX_SYSTEM_CALLS_H
