#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

// Only the bits of value 1 and 2 count: either one asks for writing.
bool AsksForWriting(uint32_t mode) {
    return (mode & 0x3u) != 0;
}

}  // namespace

// Writing opens for reading and writing with no sharing and creates a
// missing file; reading needs an existing file and lets others read too.
// A nonzero create flag empties an existing file in either mode.
char* FILE_Open(CFile* file, const char* name, uint32_t mode, int32_t create) {
    using namespace orvik;
    CFileException record;  // filled by a refused Open; lives in this call only
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    if (name == nullptr) {
        return report::Fail(report::kNullArgument, report::kCodeNullArgument);
    }
    file->SetFilePath(name);  // kept even when the open fails
    const bool writing = AsksForWriting(mode);
    UINT flags = writing ? (CFile::modeReadWrite | CFile::shareExclusive) : 0;
    const bool exists = FILE_FileExists(name) != 0;
    if (!writing) {
        if (!exists) {
            return report::Fail(report::kFileNotFound, report::kCodeOpenFailed);
        }
        flags = CFile::modeRead | CFile::shareDenyWrite;
    }
    if (create != 0 || !exists) {
        flags |= CFile::modeCreate;
    }
    if (!file->Open(name, flags, &record)) {
        char* message = FILE_ExceptionMsg(&record);
        platform::SetRetCode(report::kCodeOpenFailed);
        return message;
    }
    return nullptr;
}
