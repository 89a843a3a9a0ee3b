#include "OrvikFILE_Lib.h"
#include "fileobj/name_copy.h"

// The file's name without its directory. Without a buffer, a limit of 1 or
// more still bounds the name.
char* FILE_GetName(CFile* file, char* dest, int32_t limit) {
    using namespace orvik;
    report::Begin();
    if (file == nullptr) {
        return report::Fail(report::kNoFileObject, report::kCodeNoFileObject);
    }
    return fileobj::HandOutName(file->GetFileName(), dest, limit,
                                fileobj::LimitWithoutBuffer::binds);
}
