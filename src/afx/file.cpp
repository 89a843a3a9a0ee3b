// CFile over POSIX file descriptors.
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <typeinfo>

#include "OrvikAfx.h"
#include "descriptor.h"
#include "drives.h"
#include "file_exception.h"
#include "host_name.h"
#include "resolve.h"
#include "system_calls.h"

namespace {

using orvik::afx::Descriptor;
using orvik::afx::Retried;
using orvik::afx::Sys;

constexpr int64_t kLargest32 = 0xFFFFFFFFLL;
constexpr UINT kAheadSize = 64 * 1024;  // one read(2) of read-ahead

// What the failing call was for: the same errno can say different things.
enum class Doing { opening, positioning, settingLength, reading, writing, closing, removing };

// The calls that only ask or move, retried after a signal like the rest.
off_t Lseek(int fd, off_t offset, int whence) {
    return Retried([&] { return Sys().lseek(fd, offset, whence); });
}

int Fstat(int fd, struct stat* info) {
    return Retried([&] { return Sys().fstat(fd, info); });
}

int Fcntl(int fd, int command, int argument) {
    return Retried([&] { return Sys().fcntl(fd, command, argument); });
}

bool OpenForReadingOnly(int fd) {
    const int flags = Fcntl(fd, F_GETFL, 0);
    return flags >= 0 && (flags & O_ACCMODE) == O_RDONLY;
}

bool OpenForWritingOnly(int fd) {
    const int flags = Fcntl(fd, F_GETFL, 0);
    return flags >= 0 && (flags & O_ACCMODE) == O_WRONLY;
}

bool IsRegular(int fd) {
    struct stat info {};
    return Fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// The one place where an errno of the platform file becomes a cause: the
// errno's own cause (CFileException::ErrnoToException), refined where the
// operation gives the errno a meaning of its own. `fd` is the descriptor the
// call worked on, or -1.
int CauseOf(Doing doing, int failure, int fd) {
    switch (failure) {
        case EOVERFLOW:  // a position or length that 32 bits cannot express
            return CFileException::badSeek;
        case EINVAL:
            if (doing == Doing::positioning) {
                return CFileException::badSeek;
            }
            if (doing == Doing::settingLength) {
                // Refused for a descriptor open for reading only; a pipe or a
                // device has no length to set, as it has no position.
                return OpenForReadingOnly(fd) ? CFileException::accessDenied
                       : IsRegular(fd)        ? CFileException::generic
                                              : CFileException::badSeek;
            }
            break;
        case EBADF:  // also what a descriptor opened for the other direction answers
            if (doing == Doing::writing && OpenForReadingOnly(fd)) {
                return CFileException::accessDenied;
            }
            if (doing == Doing::reading && OpenForWritingOnly(fd)) {
                return CFileException::accessDenied;
            }
            break;
        default:
            break;
    }
    return CFileException::ErrnoToException(failure);
}

[[noreturn]] void Throw(Doing doing, int failure, int fd, const CString& name) {
    orvik::afx::ThrowFileException(CauseOf(doing, failure, fd), failure, name);
}

// Every helper below reports the same way: 0, or the errno of the call that
// failed.

// One read(2): `got` bytes, 0 at the end of the file.
int ReadOnce(int fd, void* buffer, size_t count, size_t& got) {
    const ssize_t n = Retried([&] { return Sys().read(fd, buffer, count); });
    got = n > 0 ? static_cast<size_t>(n) : 0;
    return n < 0 ? errno : 0;
}

// How many of `wanted` bytes a read may take from a regular file before the
// file position passes what 32 bits express. None left is the end of the
// file when the file ends there, else EOVERFLOW, the refusal a seek there
// meets.
int RoomBefore32(int fd, size_t wanted, size_t& room) {
    room = 0;
    const off_t position = Lseek(fd, 0, SEEK_CUR);
    if (position < 0) {
        return errno;
    }
    if (position < kLargest32) {
        room = std::min<size_t>(wanted, static_cast<size_t>(kLargest32 - position));
        return 0;
    }
    struct stat info {};
    if (Fstat(fd, &info) != 0) {
        return errno;
    }
    return info.st_size <= position ? 0 : EOVERFLOW;
}

// A read that stops where the 32-bit position ends, on a regular file; a
// pipe or a device has no position to guard.
int ReadGuarded(int fd, bool regular, void* buffer, size_t count, size_t& got) {
    got = 0;
    size_t room = count;
    if (regular) {
        if (const int failure = RoomBefore32(fd, count, room)) {
            return failure;
        }
        if (room == 0) {
            return 0;  // the end of the file
        }
    }
    return ReadOnce(fd, buffer, room, got);
}

// Writes to a pipe or FIFO whose reader has gone fail with EPIPE instead of
// ending the process with SIGPIPE: the signal is held back in this thread
// for the length of the write, and one that the write raised is taken away.
class PipeSignalHeldBack {
public:
    PipeSignalHeldBack() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
        sigset_t pending;
        m_wasPending = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }
    ~PipeSignalHeldBack() {
        if (m_raised && !m_wasPending) {
            const struct timespec none {};
            ::sigtimedwait(&m_pipe, nullptr, &none);
        }
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    PipeSignalHeldBack(const PipeSignalHeldBack&) = delete;
    PipeSignalHeldBack& operator=(const PipeSignalHeldBack&) = delete;

    void Raised() { m_raised = true; }

private:
    sigset_t m_pipe{};
    sigset_t m_before{};
    bool m_wasPending = false;
    bool m_raised = false;
};

// Writes every byte, going on after a short write. `regular`: the
// descriptor is known to be a regular file, which raises no SIGPIPE.
int WriteAll(int fd, bool regular, const char* next, size_t left) {
    std::optional<PipeSignalHeldBack> held;
    if (!regular) {
        held.emplace();
    }
    while (left > 0) {
        const ssize_t put = Retried([&] { return Sys().write(fd, next, left); });
        if (put < 0) {
            if (errno == EPIPE && held) {
                held->Raised();
            }
            return errno;
        }
        if (put == 0) {
            return ENOSPC;
        }
        next += put;
        left -= static_cast<size_t>(put);
    }
    return 0;
}

int SetLengthOf(int fd, off_t length) {
    return Retried([&] { return Sys().ftruncate(fd, length); }) == 0 ? 0 : errno;
}

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

// Takes the share lock `lock` (0 for none). Only a lock held by another
// opener refuses the open (EWOULDBLOCK): a file system without flock
// support opens unguarded rather than not at all.
int TakeShareLock(int fd, int lock) {
    const int operation = lock != 0 ? lock : LOCK_UN;
    if (Retried([&] { return Sys().flock(fd, operation | LOCK_NB); }) == 0) {
        return 0;
    }
    return errno == EWOULDBLOCK ? EWOULDBLOCK : 0;
}

// The descriptor was opened without blocking, so that a FIFO with no writer
// or a device that waits for a line does not hold the open up; reads and
// writes block as usual from here on.
int BlockAgain(int fd) {
    const int flags = Fcntl(fd, F_GETFL, 0);
    if (flags < 0 || Fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        return errno;
    }
    return 0;
}

// A second descriptor of what `fd` refers to, through /proc. Allocates
// nothing: it runs after a file was made or emptied.
int Reopen(int fd, int flags) {
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return Retried([&] { return Sys().openat(AT_FDCWD, self, flags, 0); });
}

// Empties an open file. A descriptor opened for reading cannot be truncated,
// so a second, writing one is opened on the same file.
int Truncate(int fd, bool writable) {
    if (writable) {
        return SetLengthOf(fd, 0);
    }
    const Descriptor writer(Reopen(fd, O_WRONLY | O_CLOEXEC));
    if (!writer.Valid()) {
        return errno;
    }
    return SetLengthOf(writer.Get(), 0);
}

// A FIFO is written to only for a reader in another process. The
// descriptor that this process opened for reading and writing (a reader
// itself) gives way to one for writing only, opened while the first still
// holds the FIFO, so that a reader elsewhere never sees its last writer go;
// then a FIFO that nobody else reads reports an error to poll(2), and the
// open is refused with ENXIO, as the kernel refuses a write-only open.
int WriteOnlyFifo(Descriptor& fd, int flags) {
    const int writer = Reopen(fd.Get(), (flags & ~O_ACCMODE) | O_WRONLY);
    if (writer < 0) {
        return errno;
    }
    fd.Reset(writer);
    struct pollfd ask {
        writer, POLLOUT, 0
    };
    if (Retried([&] { return Sys().poll(&ask, 1, 0); }) < 0) {
        return errno;
    }
    return (ask.revents & POLLERR) != 0 ? ENXIO : 0;
}

// Checks and prepares a freshly opened descriptor (`flags` as it was
// opened; `created` when this open made the file): 0, or the errno that
// refuses the open.
int Prepare(Descriptor& fd, UINT openFlags, int flags, bool created, bool seenRegular,
            struct stat& info) {
    if (seenRegular || created) {
        info.st_mode = S_IFREG;  // as the status just read says, or as this open made it
    } else if (Fstat(fd.Get(), &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    const bool writes = (flags & O_ACCMODE) != O_RDONLY;
    if (S_ISFIFO(info.st_mode) && (flags & O_ACCMODE) == O_RDWR) {
        if (const int failure = WriteOnlyFifo(fd, flags)) {
            return failure;
        }
    }
    const bool empties = (openFlags & CFile::modeCreate) && !(openFlags & CFile::modeNoTruncate) &&
                         S_ISREG(info.st_mode) && !created;
    const int lock = LockFor(openFlags);
    if (const int failure = TakeShareLock(fd.Get(), empties ? LOCK_EX : lock)) {
        return failure;
    }
    if (!S_ISREG(info.st_mode)) {
        if (const int failure = BlockAgain(fd.Get())) {
            return failure;
        }
    }
    if (!empties) {
        return 0;
    }
    if (const int failure = Truncate(fd.Get(), writes)) {
        return failure;
    }
    info.st_size = 0;
    return lock == LOCK_EX ? 0 : TakeShareLock(fd.Get(), lock);
}

void Fill(CFileException* error, int errnoValue, int cause, LPCTSTR name) {
    if (error) {
        error->m_cause = cause;
        error->m_lOsError = errnoValue;
        try {
            error->m_strFileName = name;
        } catch (const std::bad_alloc&) {
            error->m_strFileName.Empty();
        }
    }
}

int FdOf(UINT handle) {
    return static_cast<int>(handle);
}

// The open(2) flags of a CFile open.
int OpenFlagsOf(UINT openFlags) {
    int flags = AccessFlags(openFlags) | O_NONBLOCK | O_NOCTTY;
    if (openFlags & CFile::modeNoInherit) {
        flags |= O_CLOEXEC;
    }
    if (openFlags & CFile::modeCreate) {
        flags |= O_CREAT;  // emptying waits until the share lock is held
    }
    return flags;
}

// What GetStatus found last on this thread: FILE_Open asks for a file's
// status right before it opens the file for reading, and the open then
// takes the file's type from it instead of asking the disk again. Taken
// once, by an open of the same name within kSeenFor, and only for a
// regular file. Should the entry be replaced in that moment by a FIFO or a
// device, it is read as a regular file, and reads fail (badSeek); a
// directory put there fails its reads too (accessDenied).
// Kept in place, with nothing to destroy: a thread-local object with a
// destructor is registered at its first use, and the C library ends the
// process when memory has run out just then. Longer names are not kept.
struct SeenStatus {
    char name[MAX_PATH];
    struct timespec when;
    bool regular;
};
thread_local SeenStatus t_seen;
constexpr long kSeenForMilliseconds = 100;

long MillisecondsSince(const struct timespec& then) {
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return (now.tv_sec - then.tv_sec) * 1000 + (now.tv_nsec - then.tv_nsec) / 1000000;
}

void RememberStatus(const char* name, const struct stat& info) noexcept {
    t_seen.regular = false;
    const size_t length = name == nullptr ? 0 : std::strlen(name);
    if (name == nullptr || !S_ISREG(info.st_mode) || length >= sizeof t_seen.name) {
        return;
    }
    std::memcpy(t_seen.name, name, length + 1);
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &t_seen.when);
    t_seen.regular = true;
}

bool SeenRegularJustNow(const char* name) noexcept {
    const bool seen = t_seen.regular && std::strcmp(t_seen.name, name) == 0 &&
                      MillisecondsSince(t_seen.when) < kSeenForMilliseconds;
    t_seen.regular = false;
    return seen;
}

}  // namespace

// What a CFile keeps beyond its descriptor, in the room that the class
// reserves for it (so a change here changes nothing that a host was built
// against, as long as it fits).
struct CFile::State {
    CString path;   // as set, or the full path once open
    CString title;  // the last component of path, sharing its text

    // Bytes read from the descriptor and not yet handed out:
    // ahead[aheadFirst .. aheadLast). The block is made at the first read
    // that wants it.
    std::unique_ptr<char[]> ahead;
    UINT aheadFirst = 0;
    UINT aheadLast = 0;
    bool readsAhead = false;  // set by Open for a regular file

    // The path and its last component.
    void TakePath(const CString& newPath) noexcept {
        const char* text = newPath.GetString();
        const char* slash = std::strrchr(text, '/');
        const char* backslash = std::strrchr(text, '\\');
        const char* last = std::max(slash, backslash);
        path = newPath;
        title = newPath.Mid(last != nullptr ? static_cast<int>(last - text) + 1 : 0);
    }

    bool HasAhead() const noexcept { return aheadFirst < aheadLast; }
    void ForgetAhead() noexcept { aheadFirst = aheadLast = 0; }

    // The read-ahead block; without memory for it, reads go straight to
    // the descriptor.
    bool HasAheadBuffer() noexcept {
        if (!ahead) {
            ahead.reset(new (std::nothrow) char[kAheadSize]);
        }
        return ahead != nullptr;
    }

    // Copies up to `count` read-ahead bytes, and no further than the first
    // `*delimiter` when one is given.
    UINT TakeAhead(char* buffer, UINT count, const char* delimiter) noexcept {
        const char* const from = ahead.get() + aheadFirst;
        UINT take = std::min(count, aheadLast - aheadFirst);
        if (delimiter) {
            if (const void* hit = std::memchr(from, *delimiter, take)) {
                take = static_cast<UINT>(static_cast<const char*>(hit) - from) + 1;
            }
        }
        std::memcpy(buffer, from, take);
        aheadFirst += take;
        return take;
    }

    // Reads the next block ahead from `fd`. False at the end of the file,
    // and on a failure when `quiet` (the caller then hands out what it has,
    // and the failure comes again with the next call).
    bool FillAhead(int fd, bool quiet) {
        ForgetAhead();
        size_t n = 0;
        const int failure = ReadGuarded(fd, true, ahead.get(), kAheadSize, n);
        if (failure != 0 && !quiet) {
            Throw(Doing::reading, failure, fd, path);
        }
        aheadLast = static_cast<UINT>(n);
        return n > 0;
    }

    // Closes `handle` without throwing, for clean-up paths.
    void CloseDescriptor(UINT& handle) noexcept {
        ForgetAhead();
        readsAhead = false;
        if (handle != hFileNull) {
            Sys().close(FdOf(handle));
            handle = hFileNull;
        }
    }

    // Puts `fd` back at the file position by giving back the bytes read
    // ahead and not handed out: 0, or the errno of a failed lseek(2), and
    // then the bytes stay cached, so the position is still known.
    int DropAhead(int fd) noexcept {
        if (HasAhead()) {
            const off_t back = -static_cast<off_t>(aheadLast - aheadFirst);
            if (Lseek(fd, back, SEEK_CUR) < 0) {
                return errno;
            }
        }
        ForgetAhead();
        return 0;
    }
};

// The state lives in m_state from the constructor to the destructor; only
// this file knows its type, so only this file reaches it.
inline CFile::State& CFile::Own() noexcept {
    return *std::launder(reinterpret_cast<State*>(m_state));
}
inline const CFile::State& CFile::Own() const noexcept {
    return *std::launder(reinterpret_cast<const State*>(m_state));
}

CFile::CFile() : m_hFile(hFileNull) {
    static_assert(sizeof(State) <= sizeof m_state, "the state outgrew the room CFile keeps for it");
    static_assert(alignof(State) <= 8, "the room for the state is aligned to 8 bytes only");
    new (m_state) State;
}

CFile::CFile(LPCTSTR name, UINT openFlags) : CFile() {
    CFileException error;
    if (!CFile::Open(name, openFlags, &error)) {  // no override runs in a constructor
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
    }
}

CFile::~CFile() {
    Own().CloseDescriptor(m_hFile);
    Own().~State();
}

CString CFile::GetFileName() const {
    return Own().title;
}

CString CFile::GetFilePath() const {
    return Own().path;
}

void CFile::SetFilePath(LPCTSTR newName) {
    try {
        Own().TakePath(CString(newName));
    } catch (const std::bad_alloc&) {
        Own().TakePath(CString());  // no path rather than the one before
    }
}

BOOL CFile::Open(LPCTSTR name, UINT openFlags, CFileException* error) {
    State& own = Own();
    own.CloseDescriptor(m_hFile);  // reopening an open object releases its earlier file
    const int flags = OpenFlagsOf(openFlags);
    Descriptor fd;
    struct stat info {};
    int failure = 0;
    try {
        const bool readsOnly = (flags & (O_ACCMODE | O_CREAT)) == O_RDONLY;
        const bool seenRegular = readsOnly && name != nullptr && SeenRegularJustNow(name);
        CString path;
        // The path is made before the file is readied: once a file is
        // emptied or made, nothing is left that can run out of memory.
        auto prepare = [&](Descriptor& file, bool created, const std::string& handedBack) {
            try {
                path = handedBack.empty() ? name : handedBack.c_str();
            } catch (const std::bad_alloc&) {
                return ENOMEM;
            }
            return Prepare(file, openFlags, flags, created, seenRegular, info);
        };
        failure = orvik::afx::OpenByName(name, flags, prepare, fd);
        if (failure == 0) {
            own.TakePath(path);
        }
    } catch (const std::bad_alloc&) {
        failure = ENOMEM;
    }
    if (failure != 0) {
        Fill(error, failure, CauseOf(Doing::opening, failure, -1), name);
        return FALSE;
    }
    m_hFile = static_cast<UINT>(fd.Release());
    own.readsAhead = S_ISREG(info.st_mode);
    return TRUE;
}

LONG CFile::Seek(LONG offset, UINT from) {
    State& own = Own();
    const int fd = FdOf(m_hFile);
    if (const int failure = own.DropAhead(fd)) {
        Throw(Doing::positioning, failure, fd, own.path);
    }
    int64_t base = 0;
    if (from == current) {
        base = Lseek(fd, 0, SEEK_CUR);
    } else if (from == end) {
        struct stat info {};
        base = Fstat(fd, &info) == 0 ? info.st_size : -1;
    } else if (from != begin) {
        Throw(Doing::positioning, EINVAL, fd, own.path);
    }
    if (base < 0) {
        Throw(Doing::positioning, errno, fd, own.path);
    }
    const int64_t target = base + offset;
    if (target < 0 || target > kLargest32) {
        Throw(Doing::positioning, target < 0 ? EINVAL : EOVERFLOW, fd, own.path);
    }
    if (Lseek(fd, target, SEEK_SET) < 0) {
        Throw(Doing::positioning, errno, fd, own.path);
    }
    return static_cast<LONG>(static_cast<uint32_t>(target));
}

void CFile::SetLength(DWORD newLength) {
    State& own = Own();
    const int fd = FdOf(m_hFile);
    int failure = own.DropAhead(fd);
    if (failure == 0) {
        failure = SetLengthOf(fd, static_cast<off_t>(newLength));
    }
    if (failure == 0 && Lseek(fd, static_cast<off_t>(newLength), SEEK_SET) < 0) {
        failure = errno;
    }
    if (failure != 0) {
        Throw(Doing::settingLength, failure, fd, own.path);
    }
}

DWORD CFile::GetLength() const {
    const int fd = FdOf(m_hFile);
    struct stat info {};
    if (Fstat(fd, &info) != 0) {
        Throw(Doing::positioning, errno, fd, Own().path);
    }
    if (info.st_size > kLargest32) {
        Throw(Doing::positioning, EOVERFLOW, fd, Own().path);
    }
    return static_cast<DWORD>(info.st_size);
}

UINT CFile::Read(void* buffer, UINT count) {
    State& own = Own();
    char* const into = static_cast<char*>(buffer);
    const int fd = FdOf(m_hFile);
    UINT got = 0;
    while (got < count) {
        const UINT left = count - got;
        if (!own.HasAhead() && (!own.readsAhead || left >= kAheadSize || !own.HasAheadBuffer())) {
            // Nothing cached and nothing worth caching: straight into the buffer.
            size_t n = 0;
            if (const int failure = ReadGuarded(fd, own.readsAhead, into + got, left, n)) {
                if (got == 0) {
                    Throw(Doing::reading, failure, fd, own.path);
                }
                return got;  // the failure waits for the next call
            }
            got += static_cast<UINT>(n);
            if (n == 0 || !own.readsAhead) {
                return got;
            }
        } else if (own.HasAhead() || own.FillAhead(fd, got > 0)) {
            got += own.TakeAhead(into + got, left, nullptr);
        } else {
            break;  // the end of the file
        }
    }
    return got;
}

UINT CFile::ReadUntil(void* buffer, UINT count, char delimiter) {
    State& own = Own();
    char* const into = static_cast<char*>(buffer);
    UINT got = 0;
    if (!own.readsAhead || !own.HasAheadBuffer()) {
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
    const int fd = FdOf(m_hFile);
    while (got < count && (own.HasAhead() || own.FillAhead(fd, got > 0))) {
        got += own.TakeAhead(into + got, count - got, &delimiter);
        if (into[got - 1] == delimiter) {
            break;
        }
    }
    return got;
}

namespace {

// The function that a call of Read on `file` runs. GCC documents how to
// take it from a bound pointer to member ("Extracting the Function Pointer
// from a Bound Pointer to Member Function"); the function pointer is only
// compared, never called.
#if defined(__GNUC__) && !defined(__clang__)
using ReadFunction = UINT (*)(CFile*, void*, UINT);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wpmf-conversions"
ReadFunction ReadOf(const CFile& file) {
    return reinterpret_cast<ReadFunction>(const_cast<CFile&>(file).*(&CFile::Read));
}
#pragma GCC diagnostic pop
#endif

}  // namespace

bool CFile::UsesPlatformRead() const {
#if defined(__GNUC__) && !defined(__clang__)
    static const ReadFunction platform = [] {
        const CFile plain;
        return ReadOf(plain);
    }();
    return ReadOf(*this) == platform;
#else
    // Clang rejects the extraction above, and C++ itself has no way to ask:
    // only a CFile itself is known to keep this class's Read.
    return typeid(*this) == typeid(CFile);
#endif
}

void CFile::Write(const void* buffer, UINT count) {
    State& own = Own();
    const int fd = FdOf(m_hFile);
    int failure = own.DropAhead(fd);  // a write must land at the position read to, or not at all
    if (failure == 0) {
        failure = WriteAll(fd, own.readsAhead, static_cast<const char*>(buffer), count);
    }
    if (failure != 0) {
        Throw(Doing::writing, failure, fd, own.path);
    }
}

void CFile::Close() {
    State& own = Own();
    const CString path = own.path;
    own.TakePath(CString());
    if (m_hFile == hFileNull) {
        return;
    }
    const int fd = FdOf(m_hFile);
    m_hFile = hFileNull;
    own.ForgetAhead();
    own.readsAhead = false;
    // The descriptor is gone after close(2) even when it reports an error,
    // so it is never retried; EINTR loses no data on Linux.
    if (Sys().close(fd) != 0 && errno != EINTR) {
        Throw(Doing::closing, errno, -1, path);
    }
}

void CFile::Abort() {
    State& own = Own();
    own.CloseDescriptor(m_hFile);
    own.TakePath(CString());
}

namespace {

// Whether a failure to read an entry's status says that there is no entry
// by that name for this process (none, or none it may reach). Any other
// failure (an I/O error, no memory, no descriptor left, ...) says nothing
// about the entry.
bool MeansAbsent(int failure) {
    switch (failure) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EACCES:
        case EPERM:
            return true;
        default:
            return false;
    }
}

}  // namespace

BOOL CFile::GetStatus(LPCTSTR name, CFileStatus& status) {
    status = CFileStatus{};
    struct stat info {};
    std::string handedBack;
    const int failure = orvik::afx::StatusByName(name, info, handedBack);
    RememberStatus(failure == 0 ? name : nullptr, info);
    if (failure != 0) {
        errno = failure;
        return MeansAbsent(failure) ? FALSE : TRUE;
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
    const char* last = std::strrchr(handedBack.c_str(), '\\');
    if (last != nullptr && last[1] == '.') {
        attribute |= hidden;
    }
    status.m_attribute = attribute;
    if (handedBack.size() < sizeof status.m_szFullName) {
        std::memcpy(status.m_szFullName, handedBack.c_str(), handedBack.size() + 1);
    }
    return TRUE;
}

void CFile::Remove(LPCTSTR name) {
    if (const int failure = orvik::afx::RemoveByName(name)) {
        AfxThrowFileException(CauseOf(Doing::removing, failure, -1), failure, name);
    }
}

namespace {

// The C runtime's _mkdir reports a read-only medium, and a file system that
// takes no directory, as access denied.
int AsTheRuntimeReports(int failure) {
    return failure == EROFS || failure == EPERM ? EACCES : failure;
}

int Refused(int failure) {
    errno = failure;
    return -1;
}

}  // namespace

int AfxMkDir(LPCTSTR name) {
    const int failure = orvik::afx::MakeDirectoryByName(name);
    return failure == 0 ? 0 : Refused(AsTheRuntimeReports(failure));
}

int AfxChDir(LPCTSTR name) {
    const int failure = orvik::afx::ChangeDirectoryByName(name);
    return failure == 0 ? 0 : Refused(failure);
}

BOOL AfxGetLinuxPath(LPCTSTR name, CString& linuxPath) {
    linuxPath.Empty();
    if (name == nullptr || *name == '\0') {
        errno = EINVAL;
        return FALSE;
    }
    try {
        std::string path;
        if (const int failure = orvik::afx::LinuxPathByName(name, path)) {
            errno = failure;
            return FALSE;
        }
        linuxPath = path.c_str();
        return TRUE;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return FALSE;
    }
}

namespace {

int MapDrive(char letter, LPCTSTR directory, UINT options) {
    Descriptor mapped;
    if (directory != nullptr) {
        if (const int failure = orvik::afx::DirectoryByName(directory, mapped)) {
            return failure;
        }
    }
    try {
        return orvik::afx::MapDriveOnto(letter, std::move(mapped),
                                        (options & AFX_DRIVE_WIDE_LINKS) != 0);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
}

}  // namespace

BOOL AfxMapDrive(char letter, LPCTSTR directory, UINT options) {
    const char lower = static_cast<char>(letter | 0x20);
    if (lower < 'a' || lower > 'z' || (directory != nullptr && *directory == '\0')) {
        errno = EINVAL;
        return FALSE;
    }
    if (const int failure = MapDrive(lower, directory, options)) {
        errno = failure;
        return FALSE;
    }
    return TRUE;
}
