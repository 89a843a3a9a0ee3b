// The file object's name queries: FILE_GetName and FILE_GetPath.
#include <cstring>

#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {

using namespace orvik;
using report::Outcome;

// Whether a limit of 1 or more also bounds a name that goes to the path
// buffer (FILE_GetName) or not (FILE_GetPath).
enum class LimitWithoutBuffer { binds, ignored };

Outcome TooLong() {
    return report::Failure(ORVIK_MSG_NAME_TOO_LONG, ORVIK_RC_NAME_TOO_LONG);
}

// The name itself, copied into the caller's buffer (`limit` characters at
// most), or into the message service's path buffer when the caller gives
// none. A name that does not fit is refused whole, never cut.
Outcome HandOutName(const CString& name, char* dest, int32_t limit, LimitWithoutBuffer rule) {
    const size_t bytes = std::strlen(name) + 1;
    if (bytes - 1 > static_cast<size_t>(INT32_MAX)) {
        return TooLong();  // longer than any limit can be
    }
    const auto length = static_cast<int32_t>(bytes - 1);
    if (dest != nullptr) {
        if (length <= limit) {
            return {static_cast<char*>(std::memcpy(dest, name, bytes)), ORVIK_RC_OK};
        }
    } else if (length <= MSG_MaxChars4Path() &&
               !(rule == LimitWithoutBuffer::binds && limit >= 1 && length > limit)) {
        return {static_cast<char*>(std::memcpy(MSG_GetStr4Path(), name, bytes)), ORVIK_RC_OK};
    }
    return TooLong();
}

// The file's name without its directory. Without a buffer, a limit of 1 or
// more still bounds the name.
Outcome Name(CFile& file, char* dest, int32_t limit) {
    return HandOutName(file.GetFileName(), dest, limit, LimitWithoutBuffer::binds);
}

// The file's full path. Without a buffer, the limit plays no part.
Outcome Path(CFile& file, char* dest, int32_t limit) {
    return HandOutName(file.GetFilePath(), dest, limit, LimitWithoutBuffer::ignored);
}

}  // namespace

char* FILE_GetName(CFile* file, char* dest, int32_t limit) {
    return report::ReportedOnFile(file, Name, dest, limit).message;
}

char* FILE_GetPath(CFile* file, char* dest, int32_t limit) {
    return report::ReportedOnFile(file, Path, dest, limit).message;
}
