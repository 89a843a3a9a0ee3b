#include "OrvikFILE_Lib.h"
#include "report/report.h"

char* FILE_SetLength(CFile* file, uint32_t length) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    return report::Guarded([&] { file->SetLength(length); }, report::kCodeSetLengthFailed);
}
