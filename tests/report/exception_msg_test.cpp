#include <gtest/gtest.h>

#include <tuple>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "tracked_exception.h"

using orvik::test::TrackedException;

// The causes of the table select their message, 52002 + the cause, and ask
// the exception nothing. Other causes ask the exception for its text, into the text buffer
// of its full capacity; one without a text of its own gives the no-text
// message. Neither releases the exception nor touches the return code.
TEST(ExceptionMsg, TheTableOrTheExceptionsOwnText) {
    GEN_SetRetCode(ORVIK_RC_REMOVE_FAILED);
    for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
        TrackedException e(cause, "own text");
        EXPECT_EQ(FILE_ExceptionMsg(&e), MSG_GetStr(52002 + cause)) << cause;
        EXPECT_EQ(std::get<char*>(e.m_call), nullptr) << cause;
    }
    const char* const noText = MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT);
    for (int cause : {15, -1, INT32_MIN}) {
        for (const char* own : {"the exception's own words", static_cast<const char*>(nullptr)}) {
            TrackedException e(cause, own);
            const char* message = FILE_ExceptionMsg(&e);
            EXPECT_STREQ(message, own ? own : noText) << cause;
            EXPECT_EQ(message, own ? MSG_GetStr4Text() : noText);
            EXPECT_EQ(e.m_call, std::tuple(MSG_GetStr4Text(), MSG_MaxChars4Text(), nullptr));
            EXPECT_EQ(TrackedException::s_alive, 1);
        }
    }
    EXPECT_EQ(FILE_ExceptionMsg(nullptr), noText);
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_REMOVE_FAILED);
}
