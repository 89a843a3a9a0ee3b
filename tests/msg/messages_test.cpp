#include <gtest/gtest.h>

#include <set>
#include <string>

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
