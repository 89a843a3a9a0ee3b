#include "system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace orvik::afx {

namespace {

// The C library has wrappers for neither openat2 nor getdents64 on every
// system this builds on; both are reached by their numbers.
long OpenAt2(int dir, const char* name, const struct open_how* how, size_t size) {
    return ::syscall(SYS_openat2, dir, name, how, size);
}

ssize_t GetDents64(int fd, void* buffer, size_t size) {
    return ::syscall(SYS_getdents64, fd, buffer, size);
}

const SystemCalls kRealCalls = {
    ::close,
    ::fstat,
    [](int fd, int command, int argument) { return ::fcntl(fd, command, argument); },
    ::flock,
    ::read,
    ::write,
    ::lseek,
    ::ftruncate,
    ::poll,
    [](int dir, const char* name, int flags, mode_t mode) {
        return ::openat(dir, name, flags, mode);
    },
    OpenAt2,
    ::fstatat,
    ::readlinkat,
    ::mkdirat,
    ::unlinkat,
    ::fchdir,
    ::getcwd,
    GetDents64,
    ::fstatfs,
    ::inotify_init1,
    ::inotify_add_watch,
    ::inotify_rm_watch,
};

SystemCalls g_calls = kRealCalls;

}  // namespace

const SystemCalls& RealSystemCalls() {
    return kRealCalls;
}

SystemCalls& SystemCallsInUse() {
    return g_calls;
}

}  // namespace orvik::afx
