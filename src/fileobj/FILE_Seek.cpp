#include "OrvikFILE_Lib.h"
#include "report/report.h"

// The new position is not reported; offset and origin go to the file object
// as they are.
char* FILE_Seek(CFile* file, int32_t offset, uint32_t origin) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    return report::Guarded([&] { file->Seek(offset, origin); }, report::kCodeSeekFailed);
}
