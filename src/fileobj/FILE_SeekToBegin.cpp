#include "OrvikFILE_Lib.h"
#include "report/report.h"

char* FILE_SeekToBegin(CFile* file) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    return report::Guarded([file] { file->Seek(0, CFile::begin); }, report::kCodeSeekFailed);
}
