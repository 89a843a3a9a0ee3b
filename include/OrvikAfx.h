// OrvikAfx: the platform classes that host programs hold and derive from.
//
// This is the Linux stand-in for the desktop framework that file-handling
// hosts were written against: the fixed-width type names, CString, the
// exception classes, CFile over POSIX file descriptors, and the window and
// thread objects that the folder chooser asks for its owner window.
//
// Exceptions are thrown as pointers (throw new CFileException(...)) and the
// catcher releases them with Delete().
#ifndef ORVIK_AFX_H
#define ORVIK_AFX_H

#include <stdint.h>
#include <time.h>

#include <stddef.h>

#include <memory>

#if defined(__GNUC__)
#define ORVIK_AFX_API __attribute__((visibility("default")))
#else
#define ORVIK_AFX_API
#endif

// ---------------------------------------------------------------------------
// Fixed-width type names; exact widths also where long is 64 bits.
typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint32_t UINT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef char* LPSTR;
typedef char* LPTSTR;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef UINT* PUINT;
typedef struct HWND__* HWND;  // a window handle; null means none

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

// ---------------------------------------------------------------------------
class ORVIK_AFX_API CObject {
public:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
    virtual ~CObject();
};

// A small owning single-byte text. A null pointer is taken as the empty text.
// As the framework's, a copy shares the text instead of copying it, so
// copying (and handing a CString back by value) never allocates and never
// throws; a change to a shared text makes a text of its own first. Making a
// text from characters allocates and throws std::bad_alloc when memory runs
// out. Copies may be used from any thread; one object must not be changed
// by two threads at once.
class ORVIK_AFX_API CString {
public:
    CString() noexcept = default;
    CString(const char* text);  // NOLINT(google-explicit-constructor): as the framework's
    CString(const char* text, int length);
    CString(const CString& other) noexcept;
    CString(CString&& other) noexcept;
    CString& operator=(const CString& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    ~CString();

    // The length in bytes; INT32_MAX for a longer text.
    int GetLength() const noexcept;
    BOOL IsEmpty() const noexcept { return m_text == nullptr ? TRUE : FALSE; }
    void Empty() noexcept;
    const char* GetString() const noexcept;
    operator const char*() const noexcept { return GetString(); }  // NOLINT: as the framework's

    CString& operator=(const char* text);
    CString& operator+=(const char* text);

    // The text from byte `first` on (all of it for 0 or less, the empty text
    // past its end), sharing this one's text: it never allocates.
    CString Mid(int first) const noexcept;

    friend bool operator==(const CString& a, const CString& b) { return Equal(a, b.GetString()); }
    friend bool operator==(const CString& a, const char* b) { return Equal(a, b); }
    friend bool operator==(const char* a, const CString& b) { return Equal(b, a); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) { return !(b == a); }

private:
    struct Text;  // a shared, counted text
    static bool Equal(const CString& a, const char* b) noexcept;
    void Assign(const char* text, size_t length);
    void Release() noexcept;

    Text* m_text = nullptr;  // null for the empty text
    size_t m_first = 0;      // where this text starts in m_text
};

// ---------------------------------------------------------------------------
class ORVIK_AFX_API CException : public CObject {
public:
    explicit CException(BOOL autoDelete = TRUE);
    ~CException() override;

    // Writes a text that describes the exception into `error` (at most
    // `maxError` bytes, terminating zero included). The base class knows
    // nothing to say and returns FALSE.
    virtual BOOL GetErrorMessage(LPTSTR error, UINT maxError, PUINT helpContext = nullptr);

    // Deletes the object when it was made to auto-delete (the default for
    // thrown exceptions); an object made with autoDelete FALSE stays.
    void Delete();

protected:
    BOOL m_bAutoDelete;
};

class ORVIK_AFX_API CFileException : public CException {
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, LONG osError = -1, LPCTSTR fileName = nullptr);

    // "<what happened> <file name>[: <operating-system error>]", cut to
    // maxError - 1 bytes and always zero-terminated. The operating-system
    // error is the C library's text for it, also for an errno that has no
    // name of its own ("Unknown error 150"). Returns FALSE only when
    // nothing can be written (no buffer, capacity 0) or when the cause is
    // outside the table and no operating-system error is known.
    BOOL GetErrorMessage(LPTSTR error, UINT maxError, PUINT helpContext = nullptr) override;

    // The cause that an errno value of a file operation stands for:
    //   ENOENT                                   fileNotFound
    //   ENOTDIR ENAMETOOLONG ELOOP ENXIO ENODEV  badPath
    //   EACCES EPERM EROFS EISDIR ETXTBSY EEXIST accessDenied
    //   EMFILE ENFILE                            tooManyOpenFiles
    //   EBADF                                    invalidFile
    //   EMLINK                                   directoryFull
    //   ESPIPE                                   badSeek
    //   EIO                                      hardIO
    //   EWOULDBLOCK (EAGAIN) EBUSY               sharingViolation
    //   EDEADLK ENOLCK                           lockViolation
    //   ENOSPC EDQUOT EFBIG                      diskFull
    //   0                                        none
    //   anything else                            generic
    // CFile refines it where the errno means more in its context (at one
    // place, CauseOf in src/afx/file.cpp): EOVERFLOW, a position or length
    // that 32 bits cannot express, is badSeek everywhere; a seek's EINVAL
    // is badSeek; SetLength's EINVAL is accessDenied on a descriptor open
    // for reading only and badSeek on a pipe or device (no length to set,
    // as there is no position); Write's EBADF on a descriptor open for
    // reading only is accessDenied.
    static int ErrnoToException(int errnoValue);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// Throws new CFileException(cause, osError, fileName). When memory for the
// exception runs out, a spare exception of the process is thrown instead,
// with the same cause, OS error and file name; its Delete() keeps it
// for the next such case.
[[noreturn]] ORVIK_AFX_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                      LPCTSTR fileName = nullptr);

// ---------------------------------------------------------------------------
struct CFileStatus {  // what GetStatus fills
    time_t m_ctime, m_mtime, m_atime;
    uint64_t m_size;
    BYTE m_attribute;  // CFile::Attribute bits
    // Absolute, as names are handed back (see Names); empty when it does not
    // fit, or when a name relative to the current directory was asked for
    // while the current directory has no name (removed since).
    char m_szFullName[MAX_PATH];
};

// A file over a POSIX file descriptor, kept in m_hFile.
//
// Open flags: modeRead/modeWrite/modeReadWrite choose the access;
// modeCreate creates the file and, without modeNoTruncate, empties it;
// modeNoInherit closes the descriptor across exec. The share modes become
// advisory flock(2) locks that bind every opener that asks for one (in this
// process or another): shareDenyWrite takes a shared lock (an exclusive one
// when the opener itself writes), shareExclusive and shareDenyRead an
// exclusive lock, shareCompat and shareDenyNone none. A lock held by another
// opener refuses the open with sharingViolation. Emptying is a write: an
// open that empties a file (modeCreate without modeNoTruncate, on a file
// that exists) first takes the exclusive lock, so it is refused while any
// other opener holds a share lock, empties the file, and only then settles
// to the lock its share mode asks for. A directory is refused with
// accessDenied. A name is resolved as "Names" below says; a link that leads
// out of a drive is refused with accessDenied (EACCES).
//
// The descriptor of a regular file keeps O_NONBLOCK, which Linux ignores
// for regular files; every other descriptor blocks as usual once open.
//
// Pipes, FIFOs and devices: Open never waits. The descriptor is opened
// without blocking and set back to blocking once open, so a FIFO that no
// writer holds open reads as an empty file (Read gives 0) instead of holding
// the open up; a FIFO or pipe with a writer reads as any blocking
// descriptor does. Writing to a FIFO needs a reader in another process: a
// FIFO opened for writing (modeWrite or modeReadWrite) while no process has
// it open for reading is refused with badPath (ENXIO), so that no byte is
// written where nobody reads it and no write waits forever. A FIFO opened
// with modeReadWrite is opened for writing only (this process would
// otherwise read back its own bytes); Read on it fails with accessDenied.
// A write to a pipe or FIFO whose reader has gone fails with generic
// (EPIPE) and never raises SIGPIPE in the host.
//
// Positions and lengths travel as 32-bit values: Seek, SetLength, GetLength
// and Read on a regular file throw badSeek (EOVERFLOW) rather than hand back
// or reach a position cut to 32 bits. Read hands out the bytes up to
// position 0xFFFFFFFF and throws with the next call, as Seek refuses to go
// further. Seek returns the position's 32 bits, so a position of 2 GiB or
// more reads back correctly as an unsigned value. Write is not limited: a
// file may grow past 4 GiB, and GetLength then refuses to tell its length.
//
// Every system call that a signal interrupts (EINTR) is made again, and a
// short write goes on with the rest; close(2) alone is never repeated.
//
// As in the framework this replaces, SetLength leaves the file position at
// the new length, and Close forgets the file's path. An operation that
// throws has moved nothing that the caller can see, except a Write that
// failed part of the way: the bytes before the failure are in the file.
//
// Memory: no operation lets std::bad_alloc out. Open and GetStatus fail
// (cause generic, OS error ENOMEM), Remove throws that cause, SetFilePath
// leaves the object without a path, and Read does without its read-ahead.
// GetFileName and GetFilePath hand back shared texts and never allocate.
//
// Read-ahead: on a regular file opened by Open, Read takes the bytes from
// the descriptor in blocks of 64 KiB and hands them out from memory, so
// that small reads (a line reader's one byte at a time) cost no system
// call each. Every other operation keeps the file position exact: Write,
// Seek, SetLength and Close first put the descriptor back at the position
// the caller has read to. A read that finds no byte asks the descriptor
// again, so data appended by another writer after the end was met is read.
// Bytes already read ahead are not read again when another writer changes
// them; Seek drops them. When putting the descriptor back fails, the
// operation throws and writes nothing, so no byte lands anywhere but at the
// file position. A host that also uses the descriptor m_hFile
// directly calls Seek(0, CFile::current) first: the descriptor's own offset
// may stand ahead of the file position until then.
#if defined(__clang__)
// The framework's name `system` for the attribute bit stays, although the C
// library declares a function of that name.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wshadow"
#endif
class ORVIK_AFX_API CFile : public CObject {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    static constexpr UINT hFileNull = 0xFFFFFFFFu;

    UINT m_hFile;  // hFileNull while not open

    CFile();
    CFile(LPCTSTR name, UINT openFlags);  // opens, throws CFileException*
    ~CFile() override;                    // closes an open file, never throws
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    virtual CString GetFileName() const;  // the last component of the path
    virtual CString GetFilePath() const;  // the full path once open (see Names)
    virtual void SetFilePath(LPCTSTR newName);
    virtual BOOL Open(LPCTSTR name, UINT openFlags, CFileException* error = nullptr);
    virtual LONG Seek(LONG offset, UINT from);
    virtual void SetLength(DWORD newLength);
    virtual DWORD GetLength() const;
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual void Close();

    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }

    // Closes without throwing; for clean-up paths.
    void Abort();

    // Reads up to `count` bytes, stopping after the first `delimiter` byte:
    // the same bytes, file position and failures as that many one-byte
    // Reads, without a call per byte. Bytes read before a failure are
    // returned, and the failure is thrown by the next call. Not virtual: it
    // serves this class's own Read, not an override of it.
    UINT ReadUntil(void* buffer, UINT count, char delimiter);

    // True when this object's Read is this class's own: the object is a
    // CFile, or of a class derived from it that does not override Read.
    // Only then does ReadUntil give what the object's one-byte Reads give;
    // an override of Read is owed every call.
    bool UsesPlatformRead() const;

    // TRUE with `status` filled when the entry exists. FALSE (errno set)
    // when the name reaches no entry for this process (ENOENT, ENOTDIR,
    // ENAMETOOLONG, ELOOP, EACCES, EPERM); TRUE with `status` zeroed (errno
    // set) when the status cannot be read for a reason that says nothing
    // about the entry (EIO, ENOMEM, EMFILE, ...). Never throws.
    static BOOL GetStatus(LPCTSTR name, CFileStatus& status);
    static void Remove(LPCTSTR name);  // throws CFileException*

protected:
    CString m_strFileName;  // the path: as set, or the full path once open

private:
    void CloseDescriptor() noexcept;
    void TakePath(const CString& path) noexcept;

    bool HasAheadBuffer() noexcept;
    UINT TakeAhead(char* buffer, UINT count, const char* delimiter);
    bool FillAhead(bool quiet);
    int DropAhead() noexcept;

    // Bytes read from the descriptor and not yet handed out:
    // m_ahead[m_aheadFirst .. m_aheadLast).
    std::unique_ptr<char[]> m_ahead;
    UINT m_aheadFirst = 0;
    UINT m_aheadLast = 0;
    bool m_readsAhead = false;  // set by Open for a regular file
    CString m_strFileTitle;     // the last component of m_strFileName
};
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

// ---------------------------------------------------------------------------
// Windows and threads, as far as the folder chooser needs them.
class ORVIK_AFX_API CWnd : public CObject {
public:
    HWND m_hWnd = nullptr;
};

class ORVIK_AFX_API CWinThread : public CObject {
public:
    CWnd* m_pMainWnd = nullptr;
    virtual CWnd* GetMainWnd();
};

// The calling thread's object, or null when none was registered.
ORVIK_AFX_API CWinThread* AfxGetThread();
// Registers `thread` as the calling thread's object (null forgets it). A host
// does this once per thread that owns windows, as its application object
// would have done.
ORVIK_AFX_API void AfxSetThread(CWinThread* thread);

// ---------------------------------------------------------------------------
// The folder browser: a GTK 3 folder dialog in a module of its own,
// libOrvikAfxGtk.so, that OrvikAfx loads (dlopen) the first time a browse
// needs it, so that neither OrvikAfx nor a library above it links GTK, and
// a host that never browses never takes GTK in. The module is looked for,
// in this order, and the first that loads is kept for the process:
//   1. only the file that the environment variable ORVIK_BROWSER_MODULE
//      names, when it is set and not empty;
//   2. beside the file that holds OrvikAfx's code (libOrvikAfx.so, or the
//      program that links OrvikAfx statically), and in its subdirectory
//      orvikfile/ (where the packages and `cmake --install` put it, in the
//      private directory <libdir>/orvikfile/);
//   3. beside the running program;
//   4. in a static build, the directory in which the build made the
//      module (a subproject's build tree);
//   5. the installed private directory, <prefix>/<libdir>/orvikfile/.
// Shipping a host: with the shared libraries, install libOrvikAfxGtk.so
// into an orvikfile/ directory beside libOrvikAfx.so (the packages and
// `cmake --install` do so); with OrvikAfx linked statically, copy it beside
// the program, or set ORVIK_BROWSER_MODULE to where it lies. Without it
// (or without GTK 3 on the machine, or a display) every browse ends at
// once as a cancel; AfxFolderBrowserStatus says which.
//
// Window handles: a host that wants the dialog owned by one of its windows
// passes its GTK toplevel window (GtkWindow*, cast to HWND). A handle that
// is not a toplevel GtkWindow of the process leaves the dialog without a
// parent. The dialog only ever runs on the thread that first showed it.

// Outcomes of AfxBrowseForFolder.
enum : int {
    AFX_BROWSE_CHOSEN = 0,     // a folder was chosen; its path is in `chosen`
    AFX_BROWSE_CANCELLED = 1,  // the user cancelled, or no dialog could be shown
    AFX_BROWSE_NO_PATH = 2,    // the chosen item has no path of fewer than MAX_PATH bytes
};

// Runs the modal folder dialog, owned by `owner` (or none when null), with
// `title` above the folders (none when null), and returns when it closes.
// With an `initial` name (any name that the operations below accept; one
// that reaches nothing selects nothing) the dialog opens with that folder
// selected, and its status line shows the path of each folder selected, in
// the form of names handed back, cut to its first 32 bytes and "..." when
// it is longer than 35 bytes (an item with no such path leaves the line as
// it was); without one the status line stays empty. On AFX_BROWSE_CHOSEN
// `chosen` (MAX_PATH bytes) holds the folder's name in the form of names
// handed back; on AFX_BROWSE_NO_PATH the empty text; on
// AFX_BROWSE_CANCELLED it is untouched. A null `chosen` shows nothing and
// gives AFX_BROWSE_CANCELLED.
ORVIK_AFX_API int AfxBrowseForFolder(HWND owner, LPCTSTR title, LPCTSTR initial, LPTSTR chosen);

// What AfxFolderBrowserStatus found.
enum : int {
    AFX_BROWSER_READY = 0,       // the module is loaded; the last browse showed its dialog
    AFX_BROWSER_NOT_FOUND = 1,   // no module file in any place it was looked for
    AFX_BROWSER_NOT_LOADED = 2,  // a module file failed to load (dlerror's text)
    AFX_BROWSER_NO_DIALOG = 3,   // the module showed no dialog: no display, or another thread
};

// Why a browse showed no dialog, for a host to tell its user or its log:
// returns one of the codes above and, when `text` is not null and `size` is
// not 0, writes a text that says more (the places looked in, dlerror's
// text, the module's reason), cut to `size` - 1 bytes and terminated.
// Reports the last browse; before the first one, it finds and loads the
// module as a browse would, opening no display. Safe from any thread.
ORVIK_AFX_API int AfxFolderBrowserStatus(LPTSTR text, UINT size);

// ---------------------------------------------------------------------------
// By-name services of the C runtime, with its calling conventions: 0 on
// success, else -1 with errno set.
ORVIK_AFX_API int AfxMkDir(LPCTSTR name);  // mode 0777, less the umask
ORVIK_AFX_API int AfxChDir(LPCTSTR name);

// ---------------------------------------------------------------------------
// The full name of the running program's executable file (not of a library
// that asks), as GetModuleFileName with no module handle gives it. Linux
// names it at /proc/self/exe, whatever name the program was started by; the
// name is handed back in the form of every name a host gets back (see Names
// below: /opt/tool/bin/tool comes back as C:\opt\tool\bin\tool), so that a
// host that takes a path apart at backslashes finds its directories. An
// executable deleted since start keeps the kernel's name for it, which ends
// in " (deleted)".
//
// Writes the name and its terminating zero into `buffer` and returns the
// name's length. Returns 0, with errno set, when `buffer` is null or `size`
// is 0 (EINVAL), when the name cannot be read (readlink's errno), or when
// the name and its zero do not fit into `size` bytes (ENAMETOOLONG): a name
// that does not fit is refused, never cut short. On every failure with room
// for it, `buffer` holds the empty text.
ORVIK_AFX_API DWORD AfxGetModuleFileName(LPTSTR buffer, DWORD size);

// ---------------------------------------------------------------------------
// Names. Every operation that takes a name (CFile::Open, CFile::GetStatus,
// CFile::Remove, AfxMkDir, AfxChDir, AfxMapDrive, the folder chooser's
// initial folder) accepts it in the host's own form (C:\DATA\REPORT.TXT)
// as well as a POSIX name (/data/report.txt):
//
// - Backslash and slash both separate components; runs of them count as one
//   (so \\server\share is /server/share). "." and ".." are resolved as
//   text before anything on disk is asked: D:\a\..\b.txt is D:\b.txt even
//   when D:\a does not exist, and ".." at the top of a drive or of the root
//   stays there. Only a relative name keeps its leading ".." components,
//   which climb from the current directory. A name that ends in a
//   separator, "." or ".." names a directory. The empty name names nothing.
// - A drive prefix, an ASCII letter and a colon at the start, stands for
//   the directory that the drive is mapped onto (AfxMapDrive): by default
//   the root of the file system for every letter, so C:\tmp\a.txt is
//   /tmp/a.txt and "C:" alone is "/". A drive has no current directory of
//   its own: "C:rel" is "C:\rel". (An entry whose name starts with a letter
//   and a colon is reached as .\a:b.) A name that starts with a separator
//   starts at the root of the file system, whatever the drives are mapped
//   onto; any other name is relative to the current directory (AfxChDir).
// - A drive mapped onto a directory is a boundary: nothing outside that
//   directory is reached through it, by ".." or by a symbolic link. A link
//   inside the drive is followed while its target stays inside: a relative
//   target, or an absolute one that lies under the directory's path as it
//   was when the drive was mapped (it is then taken from the drive's
//   directory). A link that leads out of the drive, and a ".." in a link's
//   target that climbs above the drive's directory, is refused with EACCES:
//   the entry is there, but not for a name on this drive, as a share that
//   does not allow wide links refuses it; CFile reports accessDenied,
//   FILE_MkDir -3, and GetStatus finds nothing. A drive mapped with
//   AFX_DRIVE_WIDE_LINKS follows links wherever they lead, as the kernel
//   does (its names' ".." still stays inside). With no drive mapped, or a
//   drive mapped onto the root, nothing is outside.
// - A drive holds the directory it was mapped onto by a descriptor, not by
//   its name: the directory renamed, moved or replaced by another of the
//   same name, the drive stays with it.
// - Case: each component is looked for as given, then in its lower-case
//   spelling, then among the entries that match it without regard to case;
//   the first that finds an entry decides. So an exact match always wins,
//   the lower-case spelling comes next, and among other spellings the
//   byte-wise smallest name is taken (A.Txt before a.TXT). What matches
//   depends on the code page of names (STR_SetCodePage in OrvikSTR_Lib.h):
//   in UTF-8, the default, names match when they are equal under Unicode
//   case folding (RÉSUMÉ.TXT, Résumé.txt and RéSUMé.TXT find résumé.txt;
//   STRASSE finds straße), the lower-case spelling is the Unicode lower
//   case, and bytes that are not valid UTF-8 match only themselves (ASCII
//   letters without regard to case). Names are not normalised: a
//   precomposed é and an e with a combining accent are different names, as
//   they are to the kernel. In Windows-1252 every byte matches as
//   STR_ANSI2Upper4Char upper-cases it, and the lower-case spelling lowers
//   ASCII letters only. A directory with the kernel's own case-insensitive
//   lookup (ext4 or tmpfs "casefold", chattr +F) finds every spelling at
//   the first try; the name is then handed back as given.
// - A lookup that cannot finish fails with its cause: when a component is
//   missing as given and its directory cannot be read (no read permission,
//   as a drop box has; no descriptor left; no memory), the operation fails
//   (accessDenied, tooManyOpenFiles, generic with ENOMEM, ...). Nothing is
//   made or acted on under a spelling that was guessed.
// - When the last component finds no entry in any spelling, a new file or
//   directory gets the name as the host spelled it, inside the directory
//   that the earlier components found. Should another process make an
//   entry of another spelling of that name in the same moment, the one
//   made first stays: a file that this call made a moment before, and that
//   is still empty, is removed again and the other one opened (a directory
//   is removed again and the call finds that one exists).
// - Cost: a name spelled as on disk is resolved by the kernel in one call.
//   The first component that matches neither cheap spelling reads its
//   directory once into an index of folded names, which later lookups use
//   instead of the disk, for names found and names missing alike (so
//   creating a file by a name with no match reads nothing). The index is
//   kept true by the kernel's change notification (inotify): a lookup sees
//   every change to the directory that completed before it began, by any
//   process, exchanges and renames over other entries included; when the
//   kernel's queue of changes overflows, every index is dropped and made
//   again when needed. At most 64 directories and 200,000 names are
//   indexed, the least recently used dropped first. Only directories on
//   ext2/3/4, tmpfs, ramfs, XFS, Btrfs, F2FS and overlay file systems are
//   indexed; on others (NFS, CIFS, FUSE, ...), where changes made elsewhere
//   raise no notification, and when the kernel grants no more inotify
//   instances or watches (fs.inotify.max_user_instances, max_user_watches;
//   a process takes one instance, at its first lookup that needs an index,
//   and one watch per indexed directory), every such lookup reads the
//   directory. Lookups from many threads at once are safe, and so is a
//   fork() while they run. Figures in bench/README.md.
//
// Names handed back (CFile::GetFilePath of an open file, the full name of
// CFileStatus, AfxGetModuleFileName, the folder chooser's path) are
// absolute, in the host's form: a drive letter, a colon and backslashes,
// each component with the case on disk. A name given with a mapped drive
// comes back with that drive; any other name with the drive whose directory
// holds the entry most closely (ties go to C:, then D: to Z:, then A: and
// B:; a mapped drive counts while its directory still has the path it had
// when it was mapped), else starting with a backslash. They are made from
// the components that the resolution found, links not expanded, never by
// cutting a path that the kernel gives, so a name handed back opens the
// same entry when it is handed in again. A character of a Linux name that
// the host form reads as a separator comes back as a private-use character,
// U+F000 plus its byte, in UTF-8 (a backslash as U+F05C, a colon as
// U+F03A), and is taken back when the name is handed in: /tmp/Backup\2023
// comes back as C:\tmp\Backup<U+F05C>2023. (An entry whose Linux name
// holds U+F05C or U+F03A itself is found by that name too, unless an entry
// with the backslash or colon in its place exists.)

// Options of AfxMapDrive.
enum : UINT {
    AFX_DRIVE_WIDE_LINKS = 0x0001,  // links inside the drive may lead out of it
};

// Maps drive `letter` (a to z, either case) onto the directory that
// `directory` reaches now: any name that the operations above accept (made
// absolute against the current directory, resolved through the drives as
// they are mapped at the time of the call). The drive holds that directory
// from then on. A null directory maps the letter back onto the root of the
// file system. Returns FALSE, with errno set and nothing changed, for a
// letter that is not an ASCII letter or an empty directory (EINVAL), or a
// directory that cannot be opened (its errno: ENOENT, ENOTDIR, EACCES,
// ...). Safe to call from any thread; a name being resolved at the same
// time sees either the old or the new directory.
ORVIK_AFX_API BOOL AfxMapDrive(char letter, LPCTSTR directory, UINT options = 0);

#endif  // ORVIK_AFX_H
