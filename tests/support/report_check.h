// What a reporting call of the file library hands back, checked as one:
// the message it returns (none on success), the return code it leaves for
// the thread and, for the reads, the transfer status it writes.
//
//     EXPECT_REPORT(FILE_Close(&file), kNoMessage, ORVIK_RC_OK);
//     EXPECT_REPORT(FILE_Read(&file, buffer, 4, &status), ORVIK_MSG_END_OF_FILE,
//                   ORVIK_RC_END_OF_FILE, status, ORVIK_STATUS_END_OF_FILE);
#ifndef ORVIK_TESTS_REPORT_CHECK_H
#define ORVIK_TESTS_REPORT_CHECK_H

#include <gtest/gtest.h>

#include <cstdint>

#include "OrvikFILE_Codes.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"

namespace orvik::test {

// The "message number" of a call that succeeded: it returns no text.
constexpr int32_t kNoMessage = 0;

// A return code that no function hands: set before a call, it shows whether
// the call touched the code at all.
constexpr int32_t kNoSuchCode = 77;

// `status` is taken by reference: it is read only here, after the call.
inline ::testing::AssertionResult Reported(const char* message, int32_t number, int32_t code,
                                           const uint32_t& status = 0, uint32_t wantedStatus = 0) {
    const char* const wanted = number == kNoMessage ? nullptr : MSG_GetStr(number);
    if (message == wanted && GEN_GetRetCode() == code && status == wantedStatus) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "gave " << (message ? message : "no message") << ", code " << GEN_GetRetCode()
           << ", status " << status << "; wanted " << (wanted ? wanted : "no message") << " ("
           << number << "), code " << code << ", status " << wantedStatus;
}

}  // namespace orvik::test

// EXPECT_REPORT(call, message number, return code[, status variable, status])
#define EXPECT_REPORT(call, ...) EXPECT_TRUE(::orvik::test::Reported((call), __VA_ARGS__)) << #call

#endif  // ORVIK_TESTS_REPORT_CHECK_H
