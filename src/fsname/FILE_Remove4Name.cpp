#include "OrvikFILE_Lib.h"
#include "report/report.h"

char* FILE_Remove4Name(const char* name) {
    using namespace orvik;
    return report::ReportedMessage([name] {
        if (name == nullptr) {
            return report::NullArgument();
        }
        return report::Guarded([name] { CFile::Remove(name); }, ORVIK_RC_REMOVE_FAILED);
    });
}
