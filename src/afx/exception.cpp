// CException and CFileException: the causes, the errno mapping and the texts.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <new>

#include "OrvikAfx.h"
#include "file_exception.h"

CException::CException(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}

CException::~CException() = default;

BOOL CException::GetErrorMessage(LPTSTR error, UINT maxError, PUINT helpContext) {
    if (helpContext) {
        *helpContext = 0;
    }
    if (error && maxError > 0) {
        error[0] = '\0';
    }
    return FALSE;
}

void CException::Delete() {
    if (m_bAutoDelete) {
        delete this;
    }
}

CFileException::CFileException(int cause, LONG osError, LPCTSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

namespace {

// What happened, phrased to be followed by the file's name.
const char* const kCauseTexts[] = {
    "No error was reported for",                     // none
    "An unspecified error occurred with",            // generic
    "File not found:",                               // fileNotFound
    "Invalid path:",                                 // badPath
    "Too many open files to open",                   // tooManyOpenFiles
    "Access denied to",                              // accessDenied
    "Invalid file handle for",                       // invalidFile
    "Cannot remove the current directory",           // removeCurrentDir
    "Directory full, cannot add",                    // directoryFull
    "Cannot set the position in",                    // badSeek
    "Hardware input/output error on",                // hardIO
    "Sharing violation: in use by another opener:",  // sharingViolation
    "Lock violation on",                             // lockViolation
    "Disk full while writing",                       // diskFull
    "Attempt to read past the end of",               // endOfFile
};
constexpr int kCauseCount = static_cast<int>(sizeof kCauseTexts / sizeof kCauseTexts[0]);

// strerror_r comes in two forms. The GNU one returns the text, which lies
// either in static storage or, for an errno without a name of its own
// ("Unknown error 150"), in the caller's buffer; the XSI one fills the
// buffer and returns 0 on success. The overload of the form at hand is used.
[[maybe_unused]] const char* DescribedBy(const char* text, const char*) {
    return text;
}
[[maybe_unused]] const char* DescribedBy(int failed, const char* buffer) {
    return failed == 0 ? buffer : "";
}

}  // namespace

BOOL CFileException::GetErrorMessage(LPTSTR error, UINT maxError, PUINT helpContext) {
    if (helpContext) {
        *helpContext = 0;
    }
    if (error == nullptr || maxError == 0) {
        return FALSE;
    }
    const bool knownCause = m_cause >= 0 && m_cause < kCauseCount;
    const bool knownOsError = m_lOsError > 0;
    if (!knownCause && !knownOsError) {
        error[0] = '\0';
        return FALSE;
    }
    const char* what = knownCause ? kCauseTexts[m_cause] : "The file operation failed on";
    const char* name = m_strFileName.IsEmpty() ? "an unnamed file" : m_strFileName.GetString();
    // The system's text is read where strerror_r left it, never copied
    // within the buffer that may hold it.
    char osText[128] = "";
    const char* described = "";
    if (knownOsError) {
        described =
            DescribedBy(strerror_r(static_cast<int>(m_lOsError), osText, sizeof osText), osText);
    }
    std::snprintf(error, maxError, "%s %s%s%s", what, name, knownOsError ? ": " : ".", described);
    return TRUE;
}

int CFileException::ErrnoToException(int errnoValue) {
    switch (errnoValue) {
        case 0:
            return none;
        case ENOENT:
            return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case ENXIO:
        case ENODEV:
            return badPath;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
        case EEXIST:
            return accessDenied;
        case EMFILE:
        case ENFILE:
            return tooManyOpenFiles;
        case EBADF:
            return invalidFile;
        case EMLINK:
            return directoryFull;
        case ESPIPE:
            return badSeek;
        case EIO:
            return hardIO;
        case EWOULDBLOCK:
        case EBUSY:
            return sharingViolation;
        case EDEADLK:
        case ENOLCK:
            return lockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return diskFull;
        default:
            return generic;
    }
}

namespace {

// Thrown when memory for an exception runs out. Its Delete() keeps it: it
// is made once, when the library is loaded, and serves every such case.
class SpareFileException final : public CFileException {
public:
    SpareFileException() { m_bAutoDelete = FALSE; }
};

SpareFileException g_spare;

CFileException* SpareFor(int cause, LONG osError) noexcept {
    g_spare.m_cause = cause;
    g_spare.m_lOsError = osError;
    return &g_spare;
}

}  // namespace

namespace orvik::afx {

void ThrowFileException(int cause, LONG osError, const CString& fileName) {
    CFileException* thrown = new (std::nothrow) CFileException(cause, osError);
    if (thrown == nullptr) {
        thrown = SpareFor(cause, osError);
    }
    thrown->m_strFileName = fileName;
    throw thrown;  // NOLINT(misc-throw-by-value-catch-by-reference): thrown as a pointer by design
}

}  // namespace orvik::afx

void AfxThrowFileException(int cause, LONG osError, LPCTSTR fileName) {
    CString name;
    try {
        name = fileName;
    } catch (const std::bad_alloc&) {
        name.Empty();
    }
    orvik::afx::ThrowFileException(cause, osError, name);
}
