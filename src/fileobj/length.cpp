// The file's length: FILE_SetLength, FILE_GetLength and FILE_Length.
#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

// The length out-value is required. It is left as it was for a null file
// object, and becomes 0 when the file object throws.
report::Outcome GetLength(CFile* file, uint32_t* length) {
    if (file == nullptr) {
        return report::NoFileObject();
    }
    if (length == nullptr) {
        return report::NullArgument();
    }
    return report::GuardedWith([&] { *length = file->GetLength(); },
                               [length](int) {
                                   *length = 0;
                                   return ORVIK_RC_GET_LENGTH_FAILED;
                               });
}

}  // namespace

char* FILE_SetLength(CFile* file, uint32_t length) {
    return report::ReportedMessage([&] {
        if (file == nullptr) {
            return report::NoFileObject();
        }
        return report::Guarded([&] { file->SetLength(length); }, ORVIK_RC_SET_LENGTH_FAILED);
    });
}

char* FILE_GetLength(CFile* file, uint32_t* length) {
    return report::ReportedMessage([&] { return GetLength(file, length); });
}

// 0 on every failure: only the return code, which FILE_GetLength leaves,
// tells an empty file from a failure.
uint32_t FILE_Length(CFile* file) {
    uint32_t length = 0;
    FILE_GetLength(file, &length);
    return length;
}
