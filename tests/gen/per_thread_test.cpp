#include <gtest/gtest.h>

#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikGEN_Lib.h"

TEST(ReturnCode, KeepsTheLastCodeSetOnEachThread) {
    GEN_SetRetCode(INT32_MIN);
    EXPECT_EQ(GEN_GetRetCode(), INT32_MIN);
    GEN_SetRetCode(ORVIK_RC_OPEN_FAILED);
    int32_t seenByOther = -1;
    std::thread other([&] {
        seenByOther = GEN_GetRetCode();  // a new thread starts at success
        GEN_SetRetCode(ORVIK_RC_REMOVE_FAILED);
    });
    other.join();
    EXPECT_EQ(seenByOther, ORVIK_RC_OK);
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_OPEN_FAILED);
}
