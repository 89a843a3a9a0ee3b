#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"

// Each thread has its own return code, which starts at success, and its own
// message buffers, each of its full capacity.
TEST(PerThread, ReturnCodeAndMessageBuffers) {
    GEN_SetRetCode(INT32_MIN);
    EXPECT_GE(MSG_MaxChars4Text(), 1024u);
    EXPECT_GE(MSG_MaxChars4Path(), 4095);
    std::memset(MSG_GetStr4Text(), 'x', MSG_MaxChars4Text());
    std::memset(MSG_GetStr4Path(), 'y', static_cast<size_t>(MSG_MaxChars4Path()) + 1);
    std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "mine");
    std::snprintf(MSG_GetStr4Path(), 16, "/my/path");
    int32_t seenByOther = -1;
    std::thread([&] {
        seenByOther = GEN_GetRetCode();
        GEN_SetRetCode(ORVIK_RC_REMOVE_FAILED);
        std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "theirs");
        std::snprintf(MSG_GetStr4Path(), 16, "/their/path");
    }).join();
    EXPECT_EQ(seenByOther, ORVIK_RC_OK);
    EXPECT_EQ(GEN_GetRetCode(), INT32_MIN);
    EXPECT_STREQ(MSG_GetStr4Text(), "mine");
    EXPECT_STREQ(MSG_GetStr4Path(), "/my/path");
}
