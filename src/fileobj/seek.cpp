// The file position: FILE_Seek, FILE_SeekToBegin and FILE_SeekToEnd.
#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;

// Seeks to `offset` from `origin`; `reached` becomes the new position.
report::Outcome Seek(CFile* file, LONG offset, UINT origin, uint32_t& reached) {
    if (file == nullptr) {
        return report::NoFileObject();
    }
    return report::Guarded([&] { reached = static_cast<uint32_t>(file->Seek(offset, origin)); },
                           ORVIK_RC_SEEK_FAILED);
}

}  // namespace

// The new position is not reported; offset and origin go to the file object
// as they are.
char* FILE_Seek(CFile* file, int32_t offset, uint32_t origin) {
    uint32_t reached = 0;
    return report::ReportedMessage([&] { return Seek(file, offset, origin, reached); });
}

char* FILE_SeekToBegin(CFile* file) {
    uint32_t reached = 0;
    return report::ReportedMessage([&] { return Seek(file, 0, CFile::begin, reached); });
}

// The position out-value is the file's length after success and 0 after
// any failure.
char* FILE_SeekToEnd(CFile* file, uint32_t* position) {
    uint32_t reached = 0;
    const report::Outcome outcome =
        report::Reported([&] { return Seek(file, 0, CFile::end, reached); });
    if (position) {
        *position = reached;  // set by a seek that returned only
    }
    return outcome.message;
}
