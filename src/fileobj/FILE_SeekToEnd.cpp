#include "OrvikFILE_Lib.h"
#include "report/report.h"

// The position out-value is the file's length after success and 0 after
// any failure.
char* FILE_SeekToEnd(CFile* file, uint32_t* position) {
    using namespace orvik;
    uint32_t reached = 0;
    char* message = nullptr;
    report::Begin();
    if (file == nullptr) {
        message = report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    } else {
        message =
            report::Guarded([&] { reached = static_cast<uint32_t>(file->Seek(0, CFile::end)); },
                            report::kCodeSeekFailed);
    }
    if (position) {
        *position = reached;
    }
    return message;
}
