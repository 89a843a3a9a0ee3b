#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikMSG_Lib.h"

// The numbers of the library's messages run from 52000 to 52017, and 52200;
// each gives a text of its own, any other number one that names it. A few
// texts are held to their words.
TEST(Messages, EveryLibraryNumberGivesItsOwnDistinctText) {
    std::set<std::string> texts;
    for (int32_t number : {0, -1, INT32_MIN, 51999, 52018, 52199, 52201}) {
        EXPECT_NE(std::string(MSG_GetStr(number)).find(std::to_string(number)), std::string::npos);
    }
    for (int32_t number = 52000; number <= 52200; number += number == 52017 ? 183 : 1) {
        EXPECT_TRUE(texts.insert(MSG_GetStr(number)).second) << number;
        EXPECT_EQ(std::string(MSG_GetStr(number)).find("Unknown"), std::string::npos) << number;
    }
    EXPECT_STREQ(MSG_GetStr(ORVIK_MSG_FILE_NOT_FOUND), "The file was not found.");
    EXPECT_STREQ(MSG_GetStr(ORVIK_MSG_BAD_PATH), "All or part of the path is invalid.");
    EXPECT_STREQ(MSG_GetStr(ORVIK_MSG_NAME_TOO_LONG), "The name is too long for its destination.");
}

// Each thread has its own buffers, each of its full capacity.
TEST(Messages, BuffersArePerThreadAndTakeTheirFullCapacity) {
    EXPECT_GE(MSG_MaxChars4Text(), 1024u);
    EXPECT_GE(MSG_MaxChars4Path(), 4095);
    std::memset(MSG_GetStr4Text(), 'x', MSG_MaxChars4Text());
    std::memset(MSG_GetStr4Path(), 'y', static_cast<size_t>(MSG_MaxChars4Path()) + 1);
    std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "mine");
    std::snprintf(MSG_GetStr4Path(), 16, "/my/path");
    std::thread([] {
        std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "theirs");
        std::snprintf(MSG_GetStr4Path(), 16, "/their/path");
    }).join();
    EXPECT_STREQ(MSG_GetStr4Text(), "mine");
    EXPECT_STREQ(MSG_GetStr4Path(), "/my/path");
}
