#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikMSG_Lib.h"

namespace {

// Each cause's message lies at ORVIK_MSG_CAUSE_BASE + cause: a cause list
// and a message list that drifted apart would fail to build here.
#define ORVIK_CHECK_CAUSE_MESSAGE(cause, name, value, text)                \
    static_assert(ORVIK_MSG_CAUSE_BASE + CFileException::cause == (value), \
                  "the message of CFileException::" #cause " is not its cause's");
ORVIK_FILE_CAUSE_MESSAGES(ORVIK_CHECK_CAUSE_MESSAGE)
#undef ORVIK_CHECK_CAUSE_MESSAGE

constexpr uint32_t kLastCause = CFileException::endOfFile;
static_assert(ORVIK_MSG_CAUSE_BASE + kLastCause == ORVIK_MSG_END_OF_FILE,
              "endOfFile is the last cause with a message");

}  // namespace

char* FILE_ExceptionMsg(CFileException* e) {
    if (e == nullptr) {
        return MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT);
    }
    // Read unsigned, a negative cause lies beyond the table too.
    const auto cause = static_cast<uint32_t>(e->m_cause);
    if (cause <= kLastCause) {
        return MSG_GetStr(ORVIK_MSG_CAUSE_BASE + static_cast<int32_t>(cause));
    }
    char* buffer = MSG_GetStr4Text();
    if (e->GetErrorMessage(buffer, MSG_MaxChars4Text(), nullptr)) {
        return buffer;
    }
    return MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT);
}
