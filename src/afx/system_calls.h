// The system calls through which CFile reaches its descriptors, kept in one
// table. The platform file makes each of these calls only through the table
// in use, so a test can put an interrupted, failing or short version in place
// of any of them and watch every operation cope with it (the fault sweep in
// tests/afx). Calls by name alone (stat, unlink) are not in it.
#ifndef ORVIK_AFX_SYSTEM_CALLS_H
#define ORVIK_AFX_SYSTEM_CALLS_H

#include <sys/stat.h>
#include <sys/types.h>

#include "OrvikAfx.h"

namespace orvik::afx {

struct SystemCalls {
    int (*open)(const char* name, int flags, mode_t mode);
    int (*close)(int fd);
    int (*fstat)(int fd, struct stat* info);
    int (*fcntl)(int fd, int command, int argument);
    int (*flock)(int fd, int operation);
    ssize_t (*read)(int fd, void* buffer, size_t count);
    ssize_t (*write)(int fd, const void* buffer, size_t count);
    off_t (*lseek)(int fd, off_t offset, int whence);
    int (*ftruncate)(int fd, off_t length);
};

// The operating system's own calls.
ORVIK_AFX_API const SystemCalls& RealSystemCalls();

// The table that every CFile uses; it starts as RealSystemCalls(). A test
// replaces entries while no other thread works with a CFile, and puts the
// real ones back after.
ORVIK_AFX_API SystemCalls& SystemCallsInUse();

}  // namespace orvik::afx

#endif  // ORVIK_AFX_SYSTEM_CALLS_H
