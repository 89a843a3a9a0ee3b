#include "OrvikFILE_Lib.h"
#include "report/report.h"

namespace {
constexpr uint32_t kLastCause = CFileException::endOfFile;
}  // namespace

char* FILE_ExceptionMsg(CFileException* e) {
    using namespace orvik;
    if (e == nullptr) {
        return platform::Message(report::kNoExceptionText);
    }
    // Read unsigned, a negative cause lies beyond the table too.
    const auto cause = static_cast<uint32_t>(e->m_cause);
    if (cause <= kLastCause) {
        return platform::Message(report::kCauseBase + static_cast<int32_t>(cause));
    }
    char* buffer = platform::TextBuffer();
    const uint32_t capacity = platform::TextCapacity();
    if (e->GetErrorMessage(buffer, capacity, nullptr)) {
        return buffer;
    }
    return platform::Message(report::kNoExceptionText);
}
