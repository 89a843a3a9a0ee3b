#include "OrvikFILE_Lib.h"
#include "report/report.h"

// The length out-value is required. It is left as it was for a null file
// object, and becomes 0 when the file object throws.
char* FILE_GetLength(CFile* file, uint32_t* length) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    if (length == nullptr) {
        return report::Fail(report::kNullArgument, report::kCodeNullArgument);
    }
    return report::GuardedWith([&] { *length = file->GetLength(); },
                               [length](int) {
                                   *length = 0;
                                   platform::SetRetCode(report::kCodeGetLengthFailed);
                               });
}
