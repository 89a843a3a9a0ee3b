// A file exception that counts how many of its kind live, and that can give
// its own text, to check that the library releases every exception it
// catches exactly once and calls GetErrorMessage as it should.
#ifndef ORVIK_TESTS_TRACKED_EXCEPTION_H
#define ORVIK_TESTS_TRACKED_EXCEPTION_H

#include <string>
#include <tuple>

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
        m_call = {error, maxError, helpContext};
        if (m_ownText == nullptr) {
            return FALSE;
        }
        error[std::string(m_ownText).copy(error, maxError ? maxError - 1 : 0)] = '\0';
        return TRUE;
    }

    static inline int s_alive = 0;  // objects made and not yet destroyed

    // The last call's buffer, capacity and help context (no buffer: no call).
    std::tuple<char*, UINT, PUINT> m_call{};

private:
    const char* m_ownText;  // the tests' texts are literals
};

}  // namespace orvik::test

#endif  // ORVIK_TESTS_TRACKED_EXCEPTION_H
