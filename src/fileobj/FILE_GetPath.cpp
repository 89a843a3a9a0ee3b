#include "OrvikFILE_Lib.h"
#include "fileobj/name_copy.h"

// The file's full path. Without a buffer, the limit plays no part.
char* FILE_GetPath(CFile* file, char* dest, int32_t limit) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    return fileobj::HandOutName(file->GetFilePath(), dest, limit,
                                fileobj::LimitWithoutBuffer::ignored);
}
