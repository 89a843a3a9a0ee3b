#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

orvik::report::Outcome Remove(const char* name) {
    if (name == nullptr) {
        return orvik::report::NullArgument();
    }
    try {
        CFile::Remove(name);
    } catch (CFileException* caught) {
        return orvik::report::Caught(caught, ORVIK_RC_REMOVE_FAILED);
    }
    return {};
}

}  // namespace

char* FILE_Remove4Name(const char* name) {
    return orvik::report::Reported(Remove, name).message;
}
