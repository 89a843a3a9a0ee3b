#include "OrvikFILE_Lib.h"
#include "report/report.h"

// Closes the file object and deletes its file. The path is taken before the
// close, which may forget it, and the deletion is tried whatever became of
// the close: only a failed deletion is reported.
char* FILE_Remove4Object(CFile* file) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    const CString path = file->GetFilePath();
    FILE_Close(file);
    report::Begin();  // a failed close leaves no trace
    return report::Guarded([&path] { platform::RemoveFile(path); }, report::kCodeRemoveFailed);
}
