// Opening, closing and removing a file object's file.
#include <atomic>
#include <cstdio>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

// Only the bits of value 1 and 2 count: either one asks for writing.
bool AsksForWriting(uint32_t mode) {
    return (mode & 0x3u) != 0;
}

// Other bits change nothing, as the contract fixes. A host that hands in
// CFile's own open flags (modeCreate | modeWrite, 0x1001) expects them to,
// so a debug build of the library says so on standard error, once per
// process: the first such call is named, and no result changes.
void NoteIgnoredModeBits(uint32_t mode) {
#ifndef NDEBUG
    static std::atomic<bool> told{false};
    if ((mode & ~0x3u) != 0 && !told.exchange(true)) {
        std::fprintf(stderr,
                     "OrvikFILE_Lib: FILE_Open mode 0x%X: only the bits of value 1 and 2 count "
                     "(CFile::mode* flags are not FILE_Open modes); pass ORVIK_OPEN_READ or "
                     "ORVIK_OPEN_READ_WRITE, and ORVIK_OPEN_EMPTY to empty the file\n",
                     static_cast<unsigned>(mode));
    }
#else
    static_cast<void>(mode);
#endif
}

// Writing opens for reading and writing with no sharing and creates a
// missing file; reading needs an existing file and lets others read too.
// A nonzero create flag empties an existing file in either mode.
Outcome Open(CFile& file, const char* name, uint32_t mode, int32_t create) {
    if (name == nullptr) {
        return report::NullArgument();
    }
    NoteIgnoredModeBits(mode);
    file.SetFilePath(name);  // kept even when the open fails
    const bool writing = AsksForWriting(mode);
    UINT flags = writing ? (CFile::modeReadWrite | CFile::shareExclusive) : 0;
    const bool exists = FILE_FileExists(name) != 0;  // asked in both modes
    if (!writing) {
        if (!exists) {
            return report::Failure(ORVIK_MSG_FILE_NOT_FOUND, ORVIK_RC_OPEN_FAILED);
        }
        flags = CFile::modeRead | CFile::shareDenyWrite;
    }
    if (create != 0 || !exists) {
        flags |= CFile::modeCreate;
    }
    CFileException refusal;  // filled by a refused Open; lives in this call only
    if (!file.Open(name, flags, &refusal)) {
        return {FILE_ExceptionMsg(&refusal), ORVIK_RC_OPEN_FAILED};
    }
    return {};
}

// A file object that is not open is left alone: closing it succeeds.
Outcome Close(CFile& file) {
    if (!report::IsOpen(file)) {
        return {};
    }
    try {
        file.Close();
    } catch (CFileException* caught) {
        return report::Caught(caught, ORVIK_RC_CLOSE_FAILED);
    }
    return {};
}

// The path is taken before the close, which may forget it, and the deletion
// is tried whatever became of the close: FILE_Close's message is dropped,
// and FILE_Remove4Name wipes the code it left, so that only a failed
// deletion is reported.
Outcome CloseAndRemove(CFile& file) {
    const CString path = file.GetFilePath();
    FILE_Close(&file);
    char* const message = FILE_Remove4Name(path);
    return {message, GEN_GetRetCode()};
}

}  // namespace

char* FILE_Open(CFile* file, const char* name, uint32_t mode, int32_t create) {
    return report::ReportedOnFile(file, Open, name, mode, create).message;
}

char* FILE_Close(CFile* file) {
    return report::ReportedOnFile(file, Close).message;
}

char* FILE_Remove4Object(CFile* file) {
    return report::ReportedOnFile(file, CloseAndRemove).message;
}
