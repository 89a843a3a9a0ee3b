#include <gtest/gtest.h>

#include <thread>

#include "OrvikGEN_Lib.h"

TEST(ReturnCode, KeepsTheLastCodeSet) {
    for (int32_t code : {0, 4, -7, 16, INT32_MIN, INT32_MAX}) {
        GEN_SetRetCode(code);
        EXPECT_EQ(GEN_GetRetCode(), code);
    }
}

TEST(ReturnCode, EachThreadReadsItsOwnCode) {
    GEN_SetRetCode(13);
    int32_t seenByOther = -1;
    std::thread other([&] {
        seenByOther = GEN_GetRetCode();  // a new thread starts at 0
        GEN_SetRetCode(8);
    });
    other.join();
    EXPECT_EQ(seenByOther, 0);
    EXPECT_EQ(GEN_GetRetCode(), 13);
}
