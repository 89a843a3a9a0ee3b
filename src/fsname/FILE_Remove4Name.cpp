#include "OrvikFILE_Lib.h"
#include "report/report.h"

char* FILE_Remove4Name(const char* name) {
    using namespace orvik;
    report::Begin();
    if (name == nullptr) {
        return report::Fail(report::kNullArgument, report::kCodeNullArgument);
    }
    return report::Guarded([name] { platform::RemoveFile(name); }, report::kCodeRemoveFailed);
}
