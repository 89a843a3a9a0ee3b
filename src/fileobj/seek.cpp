// The file position: FILE_Seek, FILE_SeekToBegin and FILE_SeekToEnd.
#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

// Seeks to `offset` from `origin`; `reached` becomes the new position.
report::Outcome Seek(CFile& file, LONG offset, UINT origin, uint32_t& reached) {
    try {
        reached = static_cast<uint32_t>(file.Seek(offset, origin));
    } catch (CFileException* caught) {
        return report::Caught(caught, ORVIK_RC_SEEK_FAILED);
    }
    return {};
}

}  // namespace

// The new position is not reported; offset and origin go to the file object
// as they are.
char* FILE_Seek(CFile* file, int32_t offset, uint32_t origin) {
    uint32_t reached = 0;
    return report::ReportedOnFile(file, Seek, offset, origin, reached).message;
}

char* FILE_SeekToBegin(CFile* file) {
    uint32_t reached = 0;
    return report::ReportedOnFile(file, Seek, 0, CFile::begin, reached).message;
}

// The position out-value is the file's length after success and 0 after
// any failure.
char* FILE_SeekToEnd(CFile* file, uint32_t* position) {
    uint32_t reached = 0;  // set by a seek that returned only
    char* const message = report::ReportedOnFile(file, Seek, 0, CFile::end, reached).message;
    if (position) {
        *position = reached;
    }
    return message;
}
