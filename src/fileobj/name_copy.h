// Hands a file object's name to the caller: into the caller's buffer, or
// into the message service's path buffer when the caller gives none. A name
// that does not fit is refused whole, never cut.
#ifndef ORVIK_FILE_NAME_COPY_H
#define ORVIK_FILE_NAME_COPY_H

#include <cstdint>

#include "report/report.h"

namespace orvik::fileobj {

// Whether a limit of 1 or more also bounds a name that goes to the path
// buffer (FILE_GetName) or not (FILE_GetPath).
enum class LimitWithoutBuffer { binds, ignored };

inline char* HandOutName(const CString& name, char* dest, int32_t limit, LimitWithoutBuffer rule) {
    const int32_t length = platform::TextLength(name);
    if (dest != nullptr) {
        if (length <= limit) {
            return platform::CopyText(dest, name);
        }
    } else if (length <= platform::PathCapacity() &&
               !(rule == LimitWithoutBuffer::binds && limit >= 1 && length > limit)) {
        return platform::CopyText(platform::PathBuffer(), name);
    }
    return report::Fail(report::kNameTooLong, report::kCodeNameTooLong);
}

}  // namespace orvik::fileobj

#endif  // ORVIK_FILE_NAME_COPY_H
