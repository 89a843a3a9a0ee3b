#include <gtest/gtest.h>

#include <cstdio>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "tracked_exception.h"

using orvik::test::TrackedException;

TEST(ExceptionMsg, CausesOfTheTableSelectTheirMessage) {
    for (int cause = 0; cause <= 14; ++cause) {
        TrackedException e(cause, "own text");
        EXPECT_EQ(FILE_ExceptionMsg(&e), MSG_GetStr(52002 + cause)) << cause;
        EXPECT_EQ(e.m_messageCalls, 0) << "the table path asks the exception nothing";
    }
}

TEST(ExceptionMsg, TablePathLeavesTheTextBufferAndReturnCodeAlone) {
    std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "earlier text");
    GEN_SetRetCode(8);
    CFileException e(CFileException::diskFull);
    EXPECT_STREQ(FILE_ExceptionMsg(&e), MSG_GetStr(52015));
    EXPECT_STREQ(MSG_GetStr4Text(), "earlier text");
    EXPECT_EQ(GEN_GetRetCode(), 8);
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

TEST(ExceptionMsg, WithoutATextOfItsOwnGives52017) {
    const int aliveBefore = TrackedException::s_alive;
    {
        TrackedException e(15);
        EXPECT_EQ(FILE_ExceptionMsg(&e), MSG_GetStr(52017));
        EXPECT_EQ(e.m_messageCalls, 1);
        EXPECT_EQ(TrackedException::s_alive, aliveBefore + 1) << "the caller still owns it";
    }
    EXPECT_EQ(FILE_ExceptionMsg(nullptr), MSG_GetStr(52017));
}
