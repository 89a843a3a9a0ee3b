/**
 * @file OrvikAfx.h
 * @brief OrvikAfx: the platform classes that host programs hold and derive
 *        from.
 *
 * This is the Linux stand-in for the desktop framework that file-handling
 * hosts were written against: the fixed-width type names, CString, the
 * exception classes, CFile over POSIX file descriptors, and the window and
 * thread objects that the folder chooser asks for its owner window. The
 * rules by which a name reaches the disk are under @ref afx_names below.
 *
 * Exceptions are thrown as pointers (`throw new CFileException(...)`) and
 * the catcher releases them with Delete():
 * @code
 * try {
 *     CFile file("C:\\DATA\\REPORT.TXT", CFile::modeRead | CFile::shareDenyWrite);
 * } catch (CFileException* e) {
 *     char text[256];
 *     e->GetErrorMessage(text, sizeof text);
 *     e->Delete();
 * }
 * @endcode
 */
#ifndef ORVIK_AFX_H
#define ORVIK_AFX_H

#include <stdint.h>
#include <time.h>

#include <stddef.h>

/** @cond ORVIK_INTERNAL */
#if defined(__GNUC__)
#define ORVIK_AFX_API __attribute__((visibility("default")))
#else
#define ORVIK_AFX_API
#endif
/** @endcond */

/// The size of the path buffers of the interface (CFileStatus, the folder
/// chooser, FILE_GetModulePathName), also where the host keeps a MAX_PATH
/// of its own.
#define ORVIK_MAX_PATH 260

// What a window handle points to; opaque.
struct HWND__;

// ---------------------------------------------------------------------------
/// The root of the framework's classes: a virtual destructor.
class ORVIK_AFX_API CObject {
public:
    /// @{
    /// An object; copies are plain.
    CObject() = default;
    CObject(const CObject&) = default;
    /// @}
    /// A plain copy. @return this object.
    CObject& operator=(const CObject&) = default;
    virtual ~CObject();  ///< virtual, so a derived object is deleted whole
};

/// A small owning single-byte text. A null pointer is taken as the empty text.
/// As the framework's, a copy shares the text instead of copying it, so
/// copying (and handing a CString back by value) never allocates and never
/// throws; a change to a shared text makes a text of its own first. Making a
/// text from characters allocates and throws std::bad_alloc when memory runs
/// out. Copies may be used from any thread; one object must not be changed
/// by two threads at once.
class ORVIK_AFX_API CString {
public:
    CString() noexcept = default;  ///< the empty text
    /// A copy of a text. @param text the text; null is the empty text.
    CString(const char* text);  // NOLINT(google-explicit-constructor): as the framework's
    /// A copy of the first bytes of a text.
    /// @param text the text. @param length how many of its bytes.
    CString(const char* text, int length);
    /// @{
    /// A text that shares another's. @param other the other text.
    CString(const CString& other) noexcept;
    CString(CString&& other) noexcept;
    /// @}
    /// @{
    /// Shares another's text. @param other the other text. @return this text.
    CString& operator=(const CString& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    /// @}
    ~CString();  ///< releases the text when no copy shares it

    /// The length in bytes.
    /// @return the length; INT32_MAX for a longer text.
    int GetLength() const noexcept;
    /// @return TRUE for the empty text.
    int32_t IsEmpty() const noexcept { return m_text == nullptr ? 1 : 0; }
    /// Makes the text empty.
    void Empty() noexcept;
    /// @return the zero-terminated text, never null; valid while this object
    ///         is neither changed nor destroyed.
    const char* GetString() const noexcept;
    /// @return GetString().
    operator const char*() const noexcept { return GetString(); }  // NOLINT: as the framework's

    /// @{
    /// Replaces the text with, or appends, a copy of `text`.
    /// @param text the text; null is the empty text. @return this text.
    CString& operator=(const char* text);
    CString& operator+=(const char* text);
    /// @}

    /// The text from a byte on, sharing this one's text: it never allocates.
    /// @param first the first byte kept; all of it for 0 or less, the empty
    ///              text past its end.
    /// @return the rest of the text.
    CString Mid(int first) const noexcept;

    /// @{
    /// Byte-wise comparison; a null `const char*` is the empty text.
    /// @param a one text. @param b the other. @return the comparison.
    friend bool operator==(const CString& a, const CString& b) { return Equal(a, b.GetString()); }
    friend bool operator==(const CString& a, const char* b) { return Equal(a, b); }
    friend bool operator==(const char* a, const CString& b) { return Equal(b, a); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, const CString& b) { return !(b == a); }
    /// @}

private:
    struct Text;  // a shared, counted text
    static bool Equal(const CString& a, const char* b) noexcept;
    void Assign(const char* text, size_t length);
    void Release() noexcept;

    Text* m_text = nullptr;  // null for the empty text
    size_t m_first = 0;      // where this text starts in m_text
};

// ---------------------------------------------------------------------------
/// An exception of the framework: thrown by pointer, released with Delete().
class ORVIK_AFX_API CException : public CObject {
public:
    /// @param autoDelete TRUE (the default, for thrown exceptions): Delete()
    ///                   deletes the object.
    explicit CException(int32_t autoDelete = 1);
    ~CException() override;  ///< deletes nothing else

    /// Writes a text that describes the exception. The base class knows
    /// nothing to say.
    /// @param error       receives the text.
    /// @param maxError    the capacity of `error`, terminating zero included.
    /// @param helpContext not used.
    /// @return TRUE when a text was written; the base class returns FALSE.
    virtual int32_t GetErrorMessage(char* error, uint32_t maxError,
                                    uint32_t* helpContext = nullptr);

    /// Deletes the object when it was made to auto-delete (the default for
    /// thrown exceptions); an object made with autoDelete FALSE stays.
    void Delete();

protected:
    int32_t m_bAutoDelete;  ///< what Delete() does
};

/// A failed file operation: its cause, the operating system's error and the
/// file's name.
class ORVIK_AFX_API CFileException : public CException {
public:
    /// The causes. FILE_ExceptionMsg() (OrvikFILE_Lib.h) gives each its
    /// message, ::ORVIK_MSG_CAUSE_BASE + cause.
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

    /// @param cause    one of the causes above.
    /// @param osError  the errno behind it, or -1 for none.
    /// @param fileName the file's name, or null.
    CFileException(int cause = none, int32_t osError = -1, const char* fileName = nullptr);

    /// "<what happened> <file name>[: <operating-system error>]", cut to
    /// maxError - 1 bytes and always zero-terminated. The operating-system
    /// error is the C library's text for it, also for an errno that has no
    /// name of its own ("Unknown error 150").
    /// @param error       receives the text.
    /// @param maxError    the capacity of `error`, terminating zero included.
    /// @param helpContext not used.
    /// @return FALSE only when nothing can be written (no buffer, capacity
    ///         0) or when the cause is outside the table and no
    ///         operating-system error is known.
    int32_t GetErrorMessage(char* error, uint32_t maxError,
                            uint32_t* helpContext = nullptr) override;

    /// The cause that an errno value of a file operation stands for:
    /// @verbatim
    ///   ENOENT                                   fileNotFound
    ///   ENOTDIR ENAMETOOLONG ELOOP ENXIO ENODEV  badPath
    ///   EACCES EPERM EROFS EISDIR ETXTBSY EEXIST accessDenied
    ///   EMFILE ENFILE                            tooManyOpenFiles
    ///   EBADF                                    invalidFile
    ///   EMLINK                                   directoryFull
    ///   ESPIPE                                   badSeek
    ///   EIO                                      hardIO
    ///   EWOULDBLOCK (EAGAIN) EBUSY               sharingViolation
    ///   EDEADLK ENOLCK                           lockViolation
    ///   ENOSPC EDQUOT EFBIG                      diskFull
    ///   0                                        none
    ///   anything else                            generic
    /// @endverbatim
    /// CFile refines it where the errno means more in its context (at one
    /// place, CauseOf in src/afx/file.cpp): EOVERFLOW, a position or length
    /// that 32 bits cannot express, is badSeek everywhere; a seek's EINVAL
    /// is badSeek; SetLength's EINVAL is accessDenied on a descriptor open
    /// for reading only and badSeek on a pipe or device (no length to set,
    /// as there is no position); Write's EBADF on a descriptor open for
    /// reading only is accessDenied.
    /// @param errnoValue an errno value.
    /// @return the cause.
    static int ErrnoToException(int errnoValue);

    int m_cause;            ///< one of the causes above
    int32_t m_lOsError;     ///< the errno behind it, or -1
    CString m_strFileName;  ///< the file's name, or empty
};

/// Throws `new CFileException(cause, osError, fileName)`. When memory for the
/// exception runs out, a spare exception of the process is thrown instead,
/// with the same cause, OS error and file name; its Delete() keeps it
/// for the next such case.
/// @param cause    the cause.
/// @param osError  the errno behind it, or -1.
/// @param fileName the file's name, or null.
[[noreturn]] ORVIK_AFX_API void AfxThrowFileException(int cause, int32_t osError = -1,
                                                      const char* fileName = nullptr);

// ---------------------------------------------------------------------------
/// What CFile::GetStatus fills.
struct CFileStatus {
    /// @{
    /// The entry's change, modification and access times.
    time_t m_ctime, m_mtime, m_atime;
    /// @}
    uint64_t m_size;      ///< the entry's size in bytes
    uint8_t m_attribute;  ///< CFile::Attribute bits
    /// Absolute, as names are handed back (@ref afx_names); empty when it does
    /// not fit, or when a name relative to the current directory was asked
    /// for while the current directory has no name (removed since).
    char m_szFullName[ORVIK_MAX_PATH];
};

/// A file over a POSIX file descriptor, kept in m_hFile.
///
/// Open flags: modeRead/modeWrite/modeReadWrite choose the access;
/// modeCreate creates the file and, without modeNoTruncate, empties it;
/// modeNoInherit closes the descriptor across exec. The share modes become
/// advisory flock(2) locks that bind every opener that asks for one (in this
/// process or another): shareDenyWrite takes a shared lock (an exclusive one
/// when the opener itself writes), shareExclusive and shareDenyRead an
/// exclusive lock, shareCompat and shareDenyNone none. A lock held by another
/// opener refuses the open with sharingViolation. Emptying is a write: an
/// open that empties a file (modeCreate without modeNoTruncate, on a file
/// that exists) first takes the exclusive lock, so it is refused while any
/// other opener holds a share lock, empties the file, and only then settles
/// to the lock its share mode asks for. A directory is refused with
/// accessDenied. A name is resolved as @ref afx_names says; a link that
/// leads out of a drive is refused with accessDenied (EACCES).
///
/// The descriptor of a regular file keeps O_NONBLOCK, which Linux ignores
/// for regular files; every other descriptor blocks as usual once open.
///
/// Pipes, FIFOs and devices: Open never waits. The descriptor is opened
/// without blocking and set back to blocking once open, so a FIFO that no
/// writer holds open reads as an empty file (Read gives 0) instead of holding
/// the open up; a FIFO or pipe with a writer reads as any blocking
/// descriptor does. Writing to a FIFO needs a reader in another process: a
/// FIFO opened for writing (modeWrite or modeReadWrite) while no process has
/// it open for reading is refused with badPath (ENXIO), so that no byte is
/// written where nobody reads it and no write waits forever. A FIFO opened
/// with modeReadWrite is opened for writing only (this process would
/// otherwise read back its own bytes); Read on it fails with accessDenied.
/// A write to a pipe or FIFO whose reader has gone fails with generic
/// (EPIPE) and never raises SIGPIPE in the host.
///
/// Positions and lengths travel as 32-bit values: Seek, SetLength, GetLength
/// and Read on a regular file throw badSeek (EOVERFLOW) rather than hand back
/// or reach a position cut to 32 bits. Read hands out the bytes up to
/// position 0xFFFFFFFF and throws with the next call, as Seek refuses to go
/// further. Seek returns the position's 32 bits, so a position of 2 GiB or
/// more reads back correctly as an unsigned value. Write is not limited: a
/// file may grow past 4 GiB, and GetLength then refuses to tell its length.
///
/// Every system call that a signal interrupts (EINTR) is made again, and a
/// short write goes on with the rest; close(2) alone is never repeated.
///
/// As in the framework this replaces, SetLength leaves the file position at
/// the new length, and Close forgets the file's path. An operation that
/// throws has moved nothing that the caller can see, except a Write that
/// failed part of the way: the bytes before the failure are in the file.
///
/// Memory: no operation lets std::bad_alloc out. Open and GetStatus fail
/// (cause generic, OS error ENOMEM), Remove throws that cause, SetFilePath
/// leaves the object without a path, and Read does without its read-ahead.
/// GetFileName and GetFilePath hand back shared texts and never allocate.
///
/// Read-ahead: on a regular file opened by Open, Read takes the bytes from
/// the descriptor in blocks of 64 KiB and hands them out from memory, so
/// that small reads (a line reader's one byte at a time) cost no system
/// call each. Every other operation keeps the file position exact: Write,
/// Seek, SetLength and Close first put the descriptor back at the position
/// the caller has read to. A read that finds no byte asks the descriptor
/// again, so data appended by another writer after the end was met is read.
/// Bytes already read ahead are not read again when another writer changes
/// them; Seek drops them. When putting the descriptor back fails, the
/// operation throws and writes nothing, so no byte lands anywhere but at the
/// file position. A host that also uses the descriptor m_hFile
/// directly calls Seek(0, CFile::current) first: the descriptor's own offset
/// may stand ahead of the file position until then.
#if defined(__clang__)
// The framework's name `system` for the attribute bit stays, although the C
// library declares a function of that name.
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wshadow"
#endif
class ORVIK_AFX_API CFile : public CObject {
public:
    /// Open's flags: one access, one share mode, and options.
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
    /// Where Seek counts from: the start, the present position, the end.
    enum SeekPosition { begin = 0, current = 1, end = 2 };
    /// CFileStatus::m_attribute's bits.
    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };
    static constexpr uint32_t hFileNull = 0xFFFFFFFFu;  ///< m_hFile of a file that is not open

    uint32_t m_hFile;  ///< the descriptor; hFileNull while not open

    CFile();  ///< a file object that is not open
    /// Opens, as Open does.
    /// @param name      the file's name.
    /// @param openFlags OpenFlags.
    /// @throws CFileException* when the open fails.
    CFile(const char* name, uint32_t openFlags);
    ~CFile() override;  ///< closes an open file, never throws
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// @return the last component of the path.
    virtual CString GetFileName() const;
    /// @return the path as set, or the full path once open (@ref afx_names).
    virtual CString GetFilePath() const;
    /// Sets the path that GetFilePath gives.
    /// @param newName the path.
    virtual void SetFilePath(const char* newName);
    /// Opens a file; a name is resolved as @ref afx_names says.
    /// @param name      the file's name.
    /// @param openFlags OpenFlags.
    /// @param error     optional: receives the cause of a failure.
    /// @return TRUE when open.
    virtual int32_t Open(const char* name, uint32_t openFlags, CFileException* error = nullptr);
    /// Moves the file position.
    /// @param offset bytes from `from`, may be negative.
    /// @param from   a SeekPosition.
    /// @return the new position's 32 bits.
    /// @throws CFileException* (badSeek) for a position before the start or
    ///         past 32 bits.
    virtual int32_t Seek(int32_t offset, uint32_t from);
    /// Cuts or extends the file; the position moves to the new length.
    /// @param newLength the length in bytes.
    /// @throws CFileException* on failure.
    virtual void SetLength(uint32_t newLength);
    /// @return the file's length.
    /// @throws CFileException* (badSeek) for a length past 32 bits.
    virtual uint32_t GetLength() const;
    /// Reads up to `count` bytes.
    /// @param buffer at least `count` bytes.
    /// @param count  the most bytes to read.
    /// @return the bytes read; 0 at the end of the file.
    /// @throws CFileException* on failure.
    virtual uint32_t Read(void* buffer, uint32_t count);
    /// Writes `count` bytes.
    /// @param buffer the bytes.
    /// @param count  how many.
    /// @throws CFileException* on failure; the bytes before it are written.
    virtual void Write(const void* buffer, uint32_t count);
    /// Closes the file and forgets its path.
    /// @throws CFileException* on failure.
    virtual void Close();

    /// Seek(0, begin).
    void SeekToBegin() { Seek(0, begin); }
    /// Seek(0, end).
    /// @return the new position, the file's length.
    uint32_t SeekToEnd() { return static_cast<uint32_t>(Seek(0, end)); }

    /// Closes without throwing; for clean-up paths.
    void Abort();

    /// Reads up to `count` bytes, stopping after the first `delimiter` byte:
    /// the same bytes, file position and failures as that many one-byte
    /// Reads, without a call per byte. Bytes read before a failure are
    /// returned, and the failure is thrown by the next call. Not virtual: it
    /// serves this class's own Read, not an override of it.
    /// @param buffer    at least `count` bytes.
    /// @param count     the most bytes to read.
    /// @param delimiter the byte to stop after.
    /// @return the bytes read, the delimiter included when it came.
    uint32_t ReadUntil(void* buffer, uint32_t count, char delimiter);

    /// Whether this object's Read is this class's own: the object is a
    /// CFile, or of a class derived from it that does not override Read.
    /// Only then does ReadUntil give what the object's one-byte Reads give;
    /// an override of Read is owed every call. Built with GCC, the library
    /// asks the compiler which function a call of Read on the object runs
    /// (GCC's documented extraction of the function from a bound pointer to
    /// member). Clang offers no such way: built with Clang, only an object
    /// of class CFile itself counts, and a derived class gets one Read call
    /// per byte, with the same bytes, only slower.
    /// @return true when Read is CFile's own.
    bool UsesPlatformRead() const;

    /// The status of a named entry. Never throws.
    /// @param name   the name (@ref afx_names).
    /// @param status receives the status.
    /// @return TRUE with `status` filled when the entry exists. FALSE (errno
    ///  set) when the name reaches no entry for this process (ENOENT,
    ///  ENOTDIR, ENAMETOOLONG, ELOOP, EACCES, EPERM); TRUE with `status`
    ///  zeroed (errno set) when the status cannot be read for a reason that
    ///  says nothing about the entry (EIO, ENOMEM, EMFILE, ...).
    static int32_t GetStatus(const char* name, CFileStatus& status);
    /// Deletes a named file (not a directory).
    /// @param name the name (@ref afx_names).
    /// @throws CFileException* on failure.
    static void Remove(const char* name);

private:
    // Everything else the object keeps (its path, the path's last
    // component, the read-ahead) is a State of src/afx/file.cpp, made in
    // this reserved room rather than on the heap, so that opening and
    // closing allocate nothing, and so that State can change, or grow up
    // to this size, without changing the layout that hosts' classes were
    // built against (checked by the ABI baseline in abi/).
    struct State;
    State& Own() noexcept;
    const State& Own() const noexcept;

    alignas(8) unsigned char m_state[112];
};
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

// ---------------------------------------------------------------------------
// Windows and threads, as far as the folder chooser needs them.

/// A window, known by its handle.
class ORVIK_AFX_API CWnd : public CObject {
public:
    HWND__* m_hWnd = nullptr;  ///< the window's handle (a GtkWindow*), or null
};

/// A thread's object: it names the thread's main window.
class ORVIK_AFX_API CWinThread : public CObject {
public:
    CWnd* m_pMainWnd = nullptr;  ///< the main window, or null
    /// @return m_pMainWnd.
    virtual CWnd* GetMainWnd();
};

/// @return the calling thread's object, or null when none was registered.
ORVIK_AFX_API CWinThread* AfxGetThread();
/// Registers the calling thread's object. A host does this once per thread
/// that owns windows, as its application object would have done.
/// @param thread the object; null forgets it.
ORVIK_AFX_API void AfxSetThread(CWinThread* thread);

// ---------------------------------------------------------------------------
/**
 * @file OrvikAfx.h
 * @section afx_browser The folder browser
 * The folder browser: a GTK 3 folder dialog in a module of its own,
 * libOrvikAfxGtk.so, that OrvikAfx loads (dlopen) the first time a browse
 * needs it, so that neither OrvikAfx nor a library above it links GTK, and
 * a host that never browses never takes GTK in. The module is looked for,
 * in this order, and the first that loads is kept for the process:
 *   1. only the file that the environment variable ORVIK_BROWSER_MODULE
 *      names, when it is set and not empty;
 *   2. beside the file that holds OrvikAfx's code (libOrvikAfx.so, or the
 *      program that links OrvikAfx statically), and in its subdirectory
 *      orvikfile/ (where the packages and `cmake --install` put it, in the
 *      private directory `<libdir>/orvikfile/`);
 *   3. beside the running program;
 *   4. in a static build, the directory in which the build made the
 *      module (a subproject's build tree);
 *   5. the installed private directory, `<prefix>/<libdir>/orvikfile/`.
 * Shipping a host: with the shared libraries, install libOrvikAfxGtk.so
 * into an orvikfile/ directory beside libOrvikAfx.so (the packages and
 * `cmake --install` do so); with OrvikAfx linked statically, copy it beside
 * the program, or set ORVIK_BROWSER_MODULE to where it lies. Without it
 * (or without GTK 3 on the machine, or a display) every browse ends at
 * once as a cancel; AfxFolderBrowserStatus says which.
 *
 * Window handles: a host that wants the dialog owned by one of its windows
 * passes its GTK toplevel window (GtkWindow*, cast to HWND). A handle that
 * is not a toplevel GtkWindow of the process leaves the dialog without a
 * parent. The dialog only ever runs on the thread that first showed it.
 */

/// Outcomes of AfxBrowseForFolder.
enum : int {
    AFX_BROWSE_CHOSEN = 0,     ///< a folder was chosen; its path is in `chosen`
    AFX_BROWSE_CANCELLED = 1,  ///< the user cancelled, or no dialog could be shown
    AFX_BROWSE_NO_PATH = 2,    ///< the chosen item has no path of fewer than ORVIK_MAX_PATH bytes
};

/// Runs the modal folder dialog, owned by `owner` (or none when null), with
/// `title` above the folders (none when null), and returns when it closes.
/// With an `initial` name (any name that the operations below accept; one
/// that reaches nothing selects nothing) the dialog opens with that folder
/// selected, and its status line shows the path of each folder selected, in
/// the form of names handed back, cut to its first 32 bytes and "..." when
/// it is longer than 35 bytes (an item with no such path leaves the line as
/// it was); without one the status line stays empty. On AFX_BROWSE_CHOSEN
/// `chosen` (ORVIK_MAX_PATH bytes) holds the folder's name in the form of names
/// handed back; on AFX_BROWSE_NO_PATH the empty text; on
/// AFX_BROWSE_CANCELLED it is untouched. A null `chosen` shows nothing and
/// gives AFX_BROWSE_CANCELLED.
/// @param owner   the host's GTK toplevel window, or null.
/// @param title   the text above the folders, or null.
/// @param initial the folder selected first, or null.
/// @param chosen  receives the chosen folder's name (ORVIK_MAX_PATH bytes).
/// @return AFX_BROWSE_CHOSEN, AFX_BROWSE_CANCELLED or AFX_BROWSE_NO_PATH.
ORVIK_AFX_API int AfxBrowseForFolder(HWND__* owner, const char* title, const char* initial,
                                     char* chosen);

/// What AfxFolderBrowserStatus found.
enum : int {
    AFX_BROWSER_READY = 0,       ///< the module is loaded; the last browse showed its dialog
    AFX_BROWSER_NOT_FOUND = 1,   ///< no module file in any place it was looked for
    AFX_BROWSER_NOT_LOADED = 2,  ///< a module file failed to load (dlerror's text)
    AFX_BROWSER_NO_DIALOG = 3,   ///< the module showed no dialog: no display, or another thread
};

/// Why a browse showed no dialog, for a host to tell its user or its log:
/// returns one of the codes above and, when `text` is not null and `size` is
/// not 0, writes a text that says more (the places looked in, dlerror's
/// text, the module's reason), cut to `size` - 1 bytes and terminated.
/// Reports the last browse; before the first one, it finds and loads the
/// module as a browse would, opening no display. Safe from any thread.
/// @param text receives the explanation, or null.
/// @param size the capacity of `text`, terminating zero included.
/// @return one of the AFX_BROWSER_ codes.
ORVIK_AFX_API int AfxFolderBrowserStatus(char* text, uint32_t size);

// ---------------------------------------------------------------------------
/// Makes a directory, mode 0777 less the umask, as the C runtime does.
/// @param name the directory (@ref afx_names).
/// @return 0 on success, else -1 with errno set.
ORVIK_AFX_API int AfxMkDir(const char* name);
/// Makes a directory the current directory of the process, as the C runtime
/// does. @param name the directory. @return 0 on success, else -1 with errno
/// set.
ORVIK_AFX_API int AfxChDir(const char* name);

// ---------------------------------------------------------------------------
/// The full name of the running program's executable file (not of a library
/// that asks), as GetModuleFileName with no module handle gives it. Linux
/// names it at /proc/self/exe, whatever name the program was started by; the
/// name is handed back in the form of every name a host gets back (see
/// @ref afx_names; `/opt/tool/bin/tool` comes back as `C:\opt\tool\bin\tool`),
/// so that a host that takes a path apart at backslashes finds its
/// directories. An executable deleted since start keeps the kernel's name for
/// it, which ends in " (deleted)".
///
/// @param buffer receives the name and its terminating zero; on every
///               failure with room for it, the empty text.
/// @param size   the capacity of `buffer`.
/// @return the name's length. 0, with errno set, when `buffer` is null or
///  `size` is 0 (EINVAL), when the name cannot be read (readlink's errno),
///  or when the name and its zero do not fit into `size` bytes
///  (ENAMETOOLONG): a name that does not fit is refused, never cut short.
ORVIK_AFX_API uint32_t AfxGetModuleFileName(char* buffer, uint32_t size);

// ---------------------------------------------------------------------------
/**
 * @file OrvikAfx.h
 * @section afx_names Names
 * Every operation that takes a name (CFile::Open, CFile::GetStatus,
 * CFile::Remove, AfxMkDir, AfxChDir, AfxMapDrive, the folder chooser's
 * initial folder) accepts it in the host's own form (`C:\DATA\REPORT.TXT`)
 * as well as a POSIX name (`/data/report.txt`):
 *
 * - Backslash and slash both separate components; runs of them count as one
 *   (so `\\server\share` is `/server/share`). "." and ".." are resolved as
 *   text before anything on disk is asked: `D:\a\..\b.txt` is `D:\b.txt` even
 *   when `D:\a` does not exist, and ".." at the top of a drive or of the root
 *   stays there. Only a relative name keeps its leading ".." components,
 *   which climb from the current directory. A name that ends in a
 *   separator, "." or ".." names a directory. The empty name names nothing.
 * - A drive prefix, an ASCII letter and a colon at the start, stands for
 *   the directory that the drive is mapped onto (AfxMapDrive): by default
 *   the root of the file system for every letter, so `C:\tmp\a.txt` is
 *   `/tmp/a.txt` and `C:` alone is `/`. A drive has no current directory of
 *   its own: `C:rel` is `C:\rel`. (An entry whose name starts with a letter
 *   and a colon is reached as `.\a:b`.) A name that starts with a separator
 *   starts at the root of the file system, whatever the drives are mapped
 *   onto; any other name is relative to the current directory (AfxChDir).
 * - A drive mapped onto a directory is a boundary: nothing outside that
 *   directory is reached through it, by ".." or by a symbolic link. A link
 *   inside the drive is followed while its target stays inside: a relative
 *   target, or an absolute one that lies under the directory's path as it
 *   was when the drive was mapped (it is then taken from the drive's
 *   directory). A link that leads out of the drive, and a ".." in a link's
 *   target that climbs above the drive's directory, is refused with EACCES:
 *   the entry is there, but not for a name on this drive, as a share that
 *   does not allow wide links refuses it; CFile reports accessDenied,
 *   FILE_MkDir -3, and GetStatus finds nothing. A drive mapped with
 *   AFX_DRIVE_WIDE_LINKS follows links wherever they lead, as the kernel
 *   does (its names' ".." still stays inside). With no drive mapped, or a
 *   drive mapped onto the root, nothing is outside.
 * - A drive holds the directory it was mapped onto by a descriptor, not by
 *   its name: the directory renamed, moved or replaced by another of the
 *   same name, the drive stays with it.
 * - Case: each component is looked for as given, then in its lower-case
 *   spelling, then among the entries that match it without regard to case;
 *   the first that finds an entry decides. So an exact match always wins,
 *   the lower-case spelling comes next, and among other spellings the
 *   byte-wise smallest name is taken (`A.Txt` before `a.TXT`). What matches
 *   depends on the code page of names (STR_SetCodePage in OrvikSTR_Lib.h):
 *   in UTF-8, the default, names match when they are equal under Unicode
 *   case folding (`RÉSUMÉ.TXT`, `Résumé.txt` and `RéSUMé.TXT` find
 *   `résumé.txt`; `STRASSE` finds `straße`), the lower-case spelling is the
 *   Unicode lower case, and bytes that are not valid UTF-8 match only
 *   themselves (ASCII letters without regard to case). Names are not
 *   normalised: a precomposed é and an e with a combining accent are
 *   different names, as they are to the kernel. In Windows-1252 every byte
 *   matches as STR_ANSI2Upper4Char upper-cases it, and the lower-case
 *   spelling lowers ASCII letters only. A directory with the kernel's own
 *   case-insensitive lookup (ext4 or tmpfs "casefold", chattr +F) finds
 *   every spelling at the first try; the name is then handed back as given.
 * - A lookup that cannot finish fails with its cause: when a component is
 *   missing as given and its directory cannot be read (no read permission,
 *   as a drop box has; no descriptor left; no memory), the operation fails
 *   (accessDenied, tooManyOpenFiles, generic with ENOMEM, ...). Nothing is
 *   made or acted on under a spelling that was guessed.
 * - When the last component finds no entry in any spelling, a new file or
 *   directory gets the name as the host spelled it, inside the directory
 *   that the earlier components found. Should another process make an
 *   entry of another spelling of that name in the same moment, the one
 *   made first stays: a file that this call made a moment before, and that
 *   is still empty, is removed again and the other one opened (a directory
 *   is removed again and the call finds that one exists).
 * - Cost: a name spelled as on disk is resolved by the kernel in one call.
 *   The first component that matches neither cheap spelling reads its
 *   directory once into an index of folded names, which later lookups use
 *   instead of the disk, for names found and names missing alike (so
 *   creating a file by a name with no match reads nothing). The index is
 *   kept true by the kernel's change notification (inotify): a lookup sees
 *   every change to the directory that completed before it began, by any
 *   process, exchanges and renames over other entries included; when the
 *   kernel's queue of changes overflows, every index is dropped and made
 *   again when needed. At most 64 directories and 200,000 names are
 *   indexed, the least recently used dropped first. Only directories on
 *   ext2/3/4, tmpfs, ramfs, XFS, Btrfs, F2FS and overlay file systems are
 *   indexed; on others (NFS, CIFS, FUSE, ...), where changes made elsewhere
 *   raise no notification, and when the kernel grants no more inotify
 *   instances or watches (fs.inotify.max_user_instances, max_user_watches;
 *   a process takes one instance, at its first lookup that needs an index,
 *   and one watch per indexed directory), every such lookup reads the
 *   directory. Lookups from many threads at once are safe, and so is a
 *   fork() while they run. Figures in bench/README.md.
 *
 * Names handed back (CFile::GetFilePath of an open file, the full name of
 * CFileStatus, AfxGetModuleFileName, the folder chooser's path) are
 * absolute, in the host's form: a drive letter, a colon and backslashes,
 * each component with the case on disk. A name given with a mapped drive
 * comes back with that drive; any other name with the drive whose directory
 * holds the entry most closely (ties go to C:, then D: to Z:, then A: and
 * B:; a mapped drive counts while its directory still has the path it had
 * when it was mapped), else starting with a backslash. They are made from
 * the components that the resolution found, links not expanded, never by
 * cutting a path that the kernel gives, so a name handed back opens the
 * same entry when it is handed in again. A character of a Linux name that
 * the host form reads as a separator comes back as a private-use character,
 * U+F000 plus its byte, in UTF-8 (a backslash as U+F05C, a colon as
 * U+F03A), and is taken back when the name is handed in: `/tmp/Backup\2023`
 * comes back as `C:\tmp\Backup<U+F05C>2023`. (An entry whose Linux name
 * holds U+F05C or U+F03A itself is found by that name too, unless an entry
 * with the backslash or colon in its place exists.)
 */

/// Options of AfxMapDrive.
enum : uint32_t {
    AFX_DRIVE_WIDE_LINKS = 0x0001,  ///< links inside the drive may lead out of it
};

/// Maps a drive letter onto the directory that `directory` reaches now. The
/// drive holds that directory from then on (@ref afx_names). Safe to call
/// from any thread; a name being resolved at the same time sees either the
/// old or the new directory.
/// @code
/// if (!AfxMapDrive('D', "/srv/data")) {
///     std::perror("drive D:");  // D:\REPORT.TXT would stay /REPORT.TXT
/// }
/// @endcode
/// @param letter    a to z, either case.
/// @param directory any name that the operations above accept (made absolute
///                  against the current directory, resolved through the
///                  drives as they are mapped at the time of the call); null
///                  maps the letter back onto the root of the file system.
/// @param options   0, or AFX_DRIVE_WIDE_LINKS.
/// @return TRUE when mapped; FALSE, with errno set and nothing changed, for
///  a letter that is not an ASCII letter or an empty directory (EINVAL), or
///  a directory that cannot be opened (its errno: ENOENT, ENOTDIR, EACCES,
///  ...).
ORVIK_AFX_API int32_t AfxMapDrive(char letter, const char* directory, uint32_t options = 0);

/**
 * @file OrvikAfx.h
 * @section afx_drives_environment Drives from the environment
 * Drives from the environment: ORVIK_DRIVES="D=/srv/data;E=/mnt/x" maps
 * each LETTER=DIRECTORY entry, in order, as AfxMapDrive(LETTER, DIRECTORY)
 * maps it (DIRECTORY is any name that AfxMapDrive takes: a relative one
 * starts at the current directory, and a drive of an earlier entry may be
 * used). The variable is read once, just before the first use of any drive
 * (a name with a drive, a name handed back, AfxMapDrive), as ORVIK_CODEPAGE
 * is read at the first use of the code page (OrvikSTR_Lib.h); a later
 * AfxMapDrive of the same letter replaces the entry's mapping. Entries are
 * separated by ';' (a directory's name cannot hold one); empty entries are
 * skipped; no entry sets AFX_DRIVE_WIDE_LINKS. An entry that is not of the
 * form LETTER=DIRECTORY, or whose directory AfxMapDrive refuses, is
 * ignored, its letter left as it was (the root of the file system), and
 * named on standard error with the reason, one line each:
 * @verbatim
   OrvikAfx: ORVIK_DRIVES entry "R=/srv/none" ignored: No such file or directory
   @endverbatim
 * A host that must not go on without a drive maps it with AfxMapDrive and
 * checks the result.
 */

/// The Linux path that `name` reaches, to hand to another library or
/// program. `name` is resolved as every operation above resolves it (see
/// Names): drives and their boundaries, any case, links. TRUE with
/// `linuxPath` the absolute path, each component spelled as on disk, of:
/// - the entry that the name reaches, with every symbolic link on the way,
///   the last one included, expanded: the kernel's own name of the entry, so
///   that a library that knows nothing of drives reaches the same entry;
/// - when only the last component finds no entry in any spelling, the place
///   where a file or directory made by that name would be: the directory
///   that the earlier components reach, and the last component as the host
///   spelled it (a link whose target is missing: the target's place).
/// FALSE, with errno set and `linuxPath` empty: EINVAL for a null or empty
/// name; ENOENT when an earlier component is missing, or when the kernel
/// cannot name the entry (removed meanwhile, outside this process's root, a
/// path of 4096 bytes or more); EACCES for a link that leads out of a drive
/// (as the other operations refuse it) or a directory that cannot be
/// searched; ENOTDIR, ELOOP and ENOMEM as their names say. The path is true
/// when the call returns; a rename afterwards is not followed.
/// @param name      the name, in the host's form or a POSIX one.
/// @param linuxPath receives the Linux path, or the empty text.
/// @return TRUE or FALSE as above.
ORVIK_AFX_API int32_t AfxGetLinuxPath(const char* name, CString& linuxPath);

/// The version of the Orvik libraries running in the process, "1.2.3", as
/// ORVIK_FILE_VERSION_STRING (OrvikFILE_Version.h) names the version that a
/// host was compiled against. The libraries are built and installed at one
/// version together; a host built against one version runs with any later
/// minor or patch version of the same major version.
/// @return the version text, valid for the life of the process.
ORVIK_AFX_API const char* AfxGetVersion();

#endif  // ORVIK_AFX_H

// ---------------------------------------------------------------------------
/**
 * @file OrvikAfx.h
 * @section afx_type_names The framework's type names
 * The framework's type names, of exact widths also where long is 64 bits:
 * @verbatim
 *   BOOL   int32_t (TRUE 1, FALSE 0)   LPSTR, LPTSTR     char*
 *   BYTE   uint8_t                     LPCSTR, LPCTSTR   const char*
 *   UINT   uint32_t                    PUINT             UINT*
 *   DWORD  uint32_t                    HWND              a window handle (null: none)
 *   LONG   int32_t                     MAX_PATH          ORVIK_MAX_PATH (260)
   @endverbatim
 *
 * Every declaration of the Orvik headers is written in the standard types
 * that these names stand for, so neither the interface nor the libraries'
 * ABI depends on them. A host whose own headers give any of these names
 * another meaning (`<X11/Xmd.h>` makes BOOL an unsigned char; a port's
 * compatibility header often makes DWORD an unsigned long and LONG a long)
 * defines ORVIK_HOST_TYPES before it includes an Orvik header, best on the
 * compiler's command line. The Orvik headers then define none of the names
 * above, and the host's own names stand. A value passed or returned
 * converts as any value does; where the widths must agree, the compiler
 * refuses a host name of another width: a pointer handed in
 * (FILE_GetLength fills a uint32_t, not an 8-byte DWORD) and the override
 * of a virtual operation (CFile::Open returns int32_t, not an
 * unsigned-char BOOL). The host writes those with the standard types.
 *
 * OrvikFILE.hpp, the C++ layer, brings none of these names in: a unit that
 * includes it (and the GEN, MSG and STR headers, which use none), but not
 * OrvikAfx.h or OrvikFILE_Lib.h themselves, needs no macro beside any
 * header of its own.
 */
#if !defined(ORVIK_HOST_TYPES) && !defined(ORVIK_AFX_TYPE_NAMES)
#define ORVIK_AFX_TYPE_NAMES  ///< set once the names below are defined
typedef int32_t BOOL;         ///< int32_t; TRUE or FALSE
typedef uint8_t BYTE;         ///< uint8_t
typedef uint32_t UINT;        ///< uint32_t
typedef uint32_t DWORD;       ///< uint32_t
typedef int32_t LONG;         ///< int32_t
typedef char* LPSTR;          ///< char*
typedef char* LPTSTR;         ///< char*
typedef const char* LPCSTR;   ///< const char*
typedef const char* LPCTSTR;  ///< const char*
typedef UINT* PUINT;          ///< UINT*
typedef struct HWND__* HWND;  ///< a window handle; null means none
#ifndef TRUE
#define TRUE 1  ///< BOOL's true
#endif
#ifndef FALSE
#define FALSE 0  ///< BOOL's false
#endif
#ifndef MAX_PATH
#define MAX_PATH ORVIK_MAX_PATH  ///< the framework's path buffer size
#endif
#endif  // the framework's type names
