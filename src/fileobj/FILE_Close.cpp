#include "OrvikFILE_Lib.h"
#include "report/report.h"

// A file object that is not open is left alone: closing it succeeds.
char* FILE_Close(CFile* file) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    if (!report::IsOpen(file)) {
        return nullptr;
    }
    return report::Guarded([file] { file->Close(); }, report::kCodeCloseFailed);
}
