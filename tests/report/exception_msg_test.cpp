#include <gtest/gtest.h>

#include <cstdio>

#include "OrvikFILE_Codes.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "tracked_exception.h"

using orvik::test::TrackedException;

// The table path asks the exception nothing and leaves the text buffer and
// the return code alone.
TEST(ExceptionMsg, CausesOfTheTableSelectTheirMessage) {
    std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "earlier text");
    GEN_SetRetCode(ORVIK_RC_REMOVE_FAILED);
    for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
        TrackedException e(cause, "own text");
        EXPECT_EQ(FILE_ExceptionMsg(&e), MSG_GetStr(ORVIK_MSG_CAUSE_BASE + cause)) << cause;
        EXPECT_EQ(e.m_messageCalls, 0) << cause;
    }
    EXPECT_STREQ(MSG_GetStr4Text(), "earlier text");
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_REMOVE_FAILED);
}

TEST(ExceptionMsg, OtherCausesAskTheExceptionForItsOwnText) {
    for (int cause : {15, -1, 1000, INT32_MIN}) {
        TrackedException e(cause, "the exception's own words");
        char* message = FILE_ExceptionMsg(&e);
        EXPECT_EQ(message, MSG_GetStr4Text()) << cause;
        EXPECT_STREQ(message, "the exception's own words");
        EXPECT_EQ(e.m_messageCalls, 1);
        EXPECT_EQ(e.m_lastBuffer, MSG_GetStr4Text());
        EXPECT_EQ(e.m_lastCapacity, MSG_MaxChars4Text());
        EXPECT_EQ(e.m_lastHelpContext, nullptr);
    }
}

TEST(ExceptionMsg, WithoutATextOfItsOwnGivesTheNoTextMessage) {
    const int aliveBefore = TrackedException::s_alive;
    {
        TrackedException e(15);
        EXPECT_EQ(FILE_ExceptionMsg(&e), MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT));
        EXPECT_EQ(e.m_messageCalls, 1);
        EXPECT_EQ(TrackedException::s_alive, aliveBefore + 1) << "the caller still owns it";
    }
    EXPECT_EQ(FILE_ExceptionMsg(nullptr), MSG_GetStr(ORVIK_MSG_NO_EXCEPTION_TEXT));
}
