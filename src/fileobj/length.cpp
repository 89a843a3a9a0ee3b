// The file's length: FILE_SetLength, FILE_GetLength and FILE_Length.
#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

Outcome SetLength(CFile& file, uint32_t length) {
    try {
        file.SetLength(length);
    } catch (CFileException* caught) {
        return report::Caught(caught, ORVIK_RC_SET_LENGTH_FAILED);
    }
    return {};
}

// The length out-value is required. It is left as it was for a null file
// object, and becomes 0 when the file object throws.
Outcome GetLength(CFile& file, uint32_t* length) {
    if (length == nullptr) {
        return report::NullArgument();
    }
    try {
        *length = file.GetLength();
    } catch (CFileException* caught) {
        *length = 0;
        return report::Caught(caught, ORVIK_RC_GET_LENGTH_FAILED);
    }
    return {};
}

}  // namespace

char* FILE_SetLength(CFile* file, uint32_t length) {
    return report::ReportedOnFile(file, SetLength, length).message;
}

char* FILE_GetLength(CFile* file, uint32_t* length) {
    return report::ReportedOnFile(file, GetLength, length).message;
}

// 0 on every failure: only the return code, which FILE_GetLength leaves,
// tells an empty file from a failure.
uint32_t FILE_Length(CFile* file) {
    uint32_t length = 0;
    FILE_GetLength(file, &length);
    return length;
}
