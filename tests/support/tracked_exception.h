// A file exception that counts how many of its kind live, and that can give
// its own text, to check that the library releases every exception it
// catches exactly once and calls GetErrorMessage as it should.
#ifndef ORVIK_TESTS_TRACKED_EXCEPTION_H
#define ORVIK_TESTS_TRACKED_EXCEPTION_H

#include <string>

#include "OrvikAfx.h"

namespace orvik::test {

class TrackedException : public CFileException {
public:
    explicit TrackedException(int cause, const char* ownText = nullptr)
        : CFileException(cause), m_ownText(ownText) {
        ++s_alive;
    }
    ~TrackedException() override { --s_alive; }
    TrackedException(const TrackedException&) = delete;
    TrackedException& operator=(const TrackedException&) = delete;

    // Notes the call; copies the own text, if any, cut to the capacity.
    BOOL GetErrorMessage(LPTSTR error, UINT maxError, PUINT helpContext) override {
        ++m_messageCalls;
        m_lastBuffer = error;
        m_lastCapacity = maxError;
        m_lastHelpContext = helpContext;
        if (m_ownText == nullptr) {
            return FALSE;
        }
        error[std::string(m_ownText).copy(error, maxError ? maxError - 1 : 0)] = '\0';
        return TRUE;
    }

    static inline int s_alive = 0;  // objects made and not yet destroyed

    int m_messageCalls = 0;
    char* m_lastBuffer = nullptr;
    UINT m_lastCapacity = 0;
    PUINT m_lastHelpContext = reinterpret_cast<PUINT>(1);  // not null until called

private:
    const char* m_ownText;  // the tests' texts are literals
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_TRACKED_EXCEPTION_H
