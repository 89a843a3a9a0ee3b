// CFile over POSIX file descriptors.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "OrvikAfx.h"
#include "native_name.h"

namespace {

constexpr int64_t kLargest32 = 0xFFFFFFFFLL;
constexpr UINT kAheadSize = 64 * 1024;  // one read(2) of read-ahead

// One read(2), retried after a signal: the bytes read, 0 at the end of the
// file, or -errno.
ssize_t ReadOnce(int fd, void* buffer, size_t count) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, count);
        if (got >= 0 || errno != EINTR) {
            return got >= 0 ? got : -errno;
        }
    }
}

int Descriptor(UINT handle) { return static_cast<int>(handle); }

int AccessFlags(UINT openFlags) {
    switch (openFlags & 0x3u) {
        case CFile::modeRead:
            return O_RDONLY;
        case CFile::modeWrite:
            return O_WRONLY;
        default:
            return O_RDWR;  // modeReadWrite; the undefined value 3 as well
    }
}

// The flock(2) operation that the share mode asks for, or 0 for none.
int LockFor(UINT openFlags) {
    const UINT share = openFlags & 0x70u;
    const bool writes = (openFlags & 0x3u) != CFile::modeRead;
    switch (share) {
        case CFile::shareExclusive:
        case CFile::shareDenyRead:
            return LOCK_EX;
        case CFile::shareDenyWrite:
            return writes ? LOCK_EX : LOCK_SH;
        default:
            return 0;  // shareCompat, shareDenyNone
    }
}

// Takes the share lock; returns 0 or the errno that refuses the open. A file
// system without flock support opens unguarded rather than not at all.
int TakeShareLock(int fd, int lock) {
    if (lock == 0) {
        return 0;
    }
    while (::flock(fd, lock | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        return errno == EWOULDBLOCK ? EWOULDBLOCK : 0;
    }
    return 0;
}

// Empties an open file. A descriptor opened for reading cannot be truncated,
// so a second, writing one is opened on the same file through /proc.
int Truncate(int fd, bool writable) {
    if (writable) {
        return ::ftruncate(fd, 0) == 0 ? 0 : errno;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const int writer = ::open(self.c_str(), O_WRONLY | O_CLOEXEC);
    if (writer < 0) {
        return errno;
    }
    const int result = ::ftruncate(writer, 0) == 0 ? 0 : errno;
    ::close(writer);
    return result;
}

void Fill(CFileException* error, int errnoValue, int cause, LPCTSTR name) {
    if (error) {
        error->m_cause = cause;
        error->m_lOsError = errnoValue;
        error->m_strFileName = name;
    }
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(LPCTSTR name, UINT openFlags) : m_hFile(hFileNull) {
    CFileException error;
    if (!CFile::Open(name, openFlags, &error)) {  // no override runs in a constructor
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CFile::~CFile() { CloseDescriptor(); }

CString CFile::GetFileName() const {
    return CString(orvik::afx::LastComponent(m_strFileName.GetString()).c_str());
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCTSTR newName) { m_strFileName = newName; }

BOOL CFile::Open(LPCTSTR name, UINT openFlags, CFileException* error) {
    CloseDescriptor();  // reopening an open object releases its earlier file
    const std::string native = orvik::afx::NativeName(name);
    const bool writable = (openFlags & 0x3u) != modeRead;
    int flags = AccessFlags(openFlags) | ((openFlags & modeNoInherit) ? O_CLOEXEC : 0);
    if (openFlags & modeCreate) {
        flags |= O_CREAT;  // truncation waits until the share lock is held
    }
    const int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0) {
        const int failure = errno;
        Fill(error, failure, CFileException::ErrnoToException(failure), name);
        return FALSE;
    }
    int failure = 0;
    int cause = CFileException::none;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        failure = EISDIR;
        cause = CFileException::accessDenied;
    } else if ((failure = TakeShareLock(fd, LockFor(openFlags))) != 0) {
        cause = CFileException::sharingViolation;
    } else if ((openFlags & modeCreate) && !(openFlags & modeNoTruncate) && S_ISREG(info.st_mode) &&
               (failure = Truncate(fd, writable)) != 0) {
        cause = CFileException::ErrnoToException(failure);
    }
    if (failure != 0) {
        ::close(fd);
        Fill(error, failure, cause, name);
        return FALSE;
    }
    m_hFile = static_cast<UINT>(fd);
    m_readsAhead = S_ISREG(info.st_mode);
    m_strFileName = orvik::afx::HostName(orvik::afx::FullPath(native)).c_str();
    return TRUE;
}

LONG CFile::Seek(LONG offset, UINT from) {
    DropAhead();
    const int fd = Descriptor(m_hFile);
    int64_t base = 0;
    if (from == current) {
        base = ::lseek(fd, 0, SEEK_CUR);
    } else if (from == end) {
        struct stat info {};
        base = ::fstat(fd, &info) == 0 ? info.st_size : -1;
    } else if (from != begin) {
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    if (base < 0) {
        ThrowLastError(errno);
    }
    const int64_t target = base + offset;
    if (target < 0 || target > kLargest32) {
        AfxThrowFileException(CFileException::badSeek, target < 0 ? EINVAL : EOVERFLOW,
                              m_strFileName);
    }
    if (::lseek(fd, target, SEEK_SET) < 0) {
        ThrowLastError(errno);
    }
    return static_cast<LONG>(static_cast<uint32_t>(target));
}

void CFile::SetLength(DWORD newLength) {
    DropAhead();
    const int fd = Descriptor(m_hFile);
    if (::ftruncate(fd, static_cast<off_t>(newLength)) != 0) {
        // A descriptor that is open for reading only answers EINVAL.
        const int failure = errno;
        if (failure == EINVAL && ::fcntl(fd, F_GETFL) >= 0) {
            AfxThrowFileException(CFileException::accessDenied, failure, m_strFileName);
        }
        ThrowLastError(failure);
    }
    if (::lseek(fd, static_cast<off_t>(newLength), SEEK_SET) < 0) {
        ThrowLastError(errno);
    }
}

DWORD CFile::GetLength() const {
    struct stat info {};
    if (::fstat(Descriptor(m_hFile), &info) != 0) {
        ThrowLastError(errno);
    }
    if (info.st_size > kLargest32) {
        AfxThrowFileException(CFileException::generic, EOVERFLOW, m_strFileName);
    }
    return static_cast<DWORD>(info.st_size);
}

UINT CFile::Read(void* buffer, UINT count) {
    char* const into = static_cast<char*>(buffer);
    UINT got = 0;
    while (got < count) {
        const UINT left = count - got;
        if (m_aheadFirst == m_aheadLast && (!m_readsAhead || left >= kAheadSize)) {
            // Nothing cached and nothing worth caching: straight into the buffer.
            const ssize_t n = ReadOnce(Descriptor(m_hFile), into + got, left);
            if (n < 0 && got == 0) {
                ThrowLastError(static_cast<int>(-n));
            }
            if (n <= 0 || !m_readsAhead) {
                return got + static_cast<UINT>(n > 0 ? n : 0);  // a failure waits for the next call
            }
            got += static_cast<UINT>(n);
        } else if (m_aheadFirst < m_aheadLast || FillAhead(got > 0)) {
            got += TakeAhead(into + got, left, nullptr);
        } else {
            break;  // the end of the file
        }
    }
    return got;
}

UINT CFile::ReadUntil(void* buffer, UINT count, char delimiter) {
    char* const into = static_cast<char*>(buffer);
    UINT got = 0;
    if (!m_readsAhead) {
        try {
            while (got < count && CFile::Read(into + got, 1) == 1) {
                if (into[got++] == delimiter) {
                    break;
                }
            }
        } catch (CFileException* failure) {
            if (got == 0) {
                throw;
            }
            failure->Delete();  // the next call meets it again
        }
        return got;
    }
    while (got < count && (m_aheadFirst < m_aheadLast || FillAhead(got > 0))) {
        const UINT taken = TakeAhead(into + got, count - got, &delimiter);
        got += taken;
        if (into[got - 1] == delimiter) {
            break;
        }
    }
    return got;
}

// Copies up to `count` read-ahead bytes, and no further than the first
// `*delimiter` when one is given.
UINT CFile::TakeAhead(char* buffer, UINT count, const char* delimiter) {
    const char* const from = m_ahead.get() + m_aheadFirst;
    UINT take = std::min(count, m_aheadLast - m_aheadFirst);
    if (delimiter) {
        if (const void* hit = std::memchr(from, *delimiter, take)) {
            take = static_cast<UINT>(static_cast<const char*>(hit) - from) + 1;
        }
    }
    std::memcpy(buffer, from, take);
    m_aheadFirst += take;
    return take;
}

// Reads the next block ahead. False at the end of the file, and on a
// failure when `quiet` (the caller then hands out what it has, and the
// failure comes again with the next call).
bool CFile::FillAhead(bool quiet) {
    if (!m_ahead) {
        m_ahead = std::make_unique<char[]>(kAheadSize);
    }
    m_aheadFirst = m_aheadLast = 0;
    const ssize_t n = ReadOnce(Descriptor(m_hFile), m_ahead.get(), kAheadSize);
    if (n < 0 && !quiet) {
        ThrowLastError(static_cast<int>(-n));
    }
    m_aheadLast = n > 0 ? static_cast<UINT>(n) : 0;
    return n > 0;
}

// Puts the descriptor back at the file position by giving back the bytes
// read ahead and not handed out.
void CFile::DropAhead() noexcept {
    if (m_aheadFirst < m_aheadLast) {
        ::lseek(Descriptor(m_hFile), -static_cast<off_t>(m_aheadLast - m_aheadFirst), SEEK_CUR);
    }
    m_aheadFirst = m_aheadLast = 0;
}

void CFile::Write(const void* buffer, UINT count) {
    DropAhead();
    const char* next = static_cast<const char*>(buffer);
    size_t left = count;
    while (left > 0) {
        const ssize_t put = ::write(Descriptor(m_hFile), next, left);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int failure = errno;
            // A descriptor that is open for reading only answers EBADF.
            if (failure == EBADF && ::fcntl(Descriptor(m_hFile), F_GETFL) >= 0) {
                AfxThrowFileException(CFileException::accessDenied, failure, m_strFileName);
            }
            ThrowLastError(failure);
        }
        if (put == 0) {
            ThrowLastError(ENOSPC);
        }
        next += put;
        left -= static_cast<size_t>(put);
    }
}

void CFile::Close() {
    const CString path = m_strFileName;
    m_strFileName.Empty();
    if (m_hFile == hFileNull) {
        return;
    }
    const int fd = Descriptor(m_hFile);
    m_hFile = hFileNull;
    m_aheadFirst = m_aheadLast = 0;
    m_readsAhead = false;
    // The descriptor is gone after close(2) even when it reports an error,
    // so it is never retried; EINTR loses no data on Linux.
    if (::close(fd) != 0 && errno != EINTR) {
        CFileException::ThrowErrno(errno, path);
    }
}

void CFile::Abort() {
    CloseDescriptor();
    m_strFileName.Empty();
}

void CFile::CloseDescriptor() noexcept {
    m_aheadFirst = m_aheadLast = 0;
    m_readsAhead = false;
    if (m_hFile != hFileNull) {
        ::close(Descriptor(m_hFile));
        m_hFile = hFileNull;
    }
}

void CFile::ThrowLastError(int errnoValue) const {
    CFileException::ThrowErrno(errnoValue, m_strFileName);
}

BOOL CFile::GetStatus(LPCTSTR name, CFileStatus& status) {
    status = CFileStatus{};
    if (name == nullptr) {
        return FALSE;
    }
    const std::string native = orvik::afx::NativeName(name);
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        return FALSE;
    }
    status.m_ctime = info.st_ctime;
    status.m_mtime = info.st_mtime;
    status.m_atime = info.st_atime;
    status.m_size = static_cast<uint64_t>(info.st_size);
    BYTE attribute = normal;
    if (S_ISDIR(info.st_mode)) {
        attribute |= directory;
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        attribute |= readOnly;
    }
    const std::string full = orvik::afx::FullPath(native);
    if (orvik::afx::LastComponent(full).rfind('.', 0) == 0) {
        attribute |= hidden;
    }
    status.m_attribute = attribute;
    const std::string handedBack = orvik::afx::HostName(full);
    if (handedBack.size() < sizeof status.m_szFullName) {
        std::memcpy(status.m_szFullName, handedBack.c_str(), handedBack.size() + 1);
    }
    return TRUE;
}

void CFile::Remove(LPCTSTR name) {
    const std::string native = orvik::afx::NativeName(name);
    if (::unlink(native.c_str()) != 0) {
        CFileException::ThrowErrno(errno, name);
    }
}

int AfxMkDir(LPCTSTR name) { return ::mkdir(orvik::afx::NativeName(name).c_str(), 0777); }

int AfxChDir(LPCTSTR name) { return ::chdir(orvik::afx::NativeName(name).c_str()); }

BOOL AfxMapDrive(char letter, LPCTSTR directory) {
    return orvik::afx::MapDrive(letter, directory) ? TRUE : FALSE;
}
