#include "OrvikFILE_Lib.h"
#include "report/report.h"

char* FILE_Write(CFile* file, const void* buffer, uint32_t count) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    if (buffer == nullptr) {
        return report::Fail(report::kNullArgument, report::kCodeNullArgument);
    }
    return report::Guarded([&] { file->Write(buffer, count); }, report::kCodeWriteFailed);
}
