#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "OrvikFILE_Codes.h"
#include "OrvikMSG_Lib.h"

namespace {

// Every message number of the library, with the text it must give.
#define ORVIK_MESSAGE_ROW(name, value, text) {value, text},
#define ORVIK_CAUSE_ROW(cause, name, value, text) {value, text},
const std::map<int32_t, std::string> kLibraryMessages = {
    ORVIK_FILE_MESSAGES(ORVIK_MESSAGE_ROW) ORVIK_FILE_CAUSE_MESSAGES(ORVIK_CAUSE_ROW)};

}  // namespace

TEST(Messages, EveryLibraryNumberGivesItsOwnDistinctText) {
    std::set<std::string> texts;
    for (const auto& [number, text] : kLibraryMessages) {
        ASSERT_NE(MSG_GetStr(number), nullptr) << number;
        EXPECT_EQ(MSG_GetStr(number), text) << number;
        EXPECT_TRUE(texts.insert(text).second) << "shared text: " << text;
    }
}

TEST(Messages, UnknownNumberNamesTheNumber) {
    for (int32_t number : {0, -1, ORVIK_MSG_NO_FILE_OBJECT - 1, ORVIK_MSG_NO_EXCEPTION_TEXT + 1,
                           ORVIK_MSG_NAME_TOO_LONG - 1, INT32_MIN}) {
        const char* text = MSG_GetStr(number);
        ASSERT_NE(text, nullptr);
        EXPECT_NE(std::string(text).find(std::to_string(number)), std::string::npos) << text;
        EXPECT_EQ(kLibraryMessages.count(number), 0u);
    }
}

// Each thread has its own buffers, each of its full capacity.
TEST(Messages, BuffersArePerThreadAndTakeTheirFullCapacity) {
    EXPECT_GE(MSG_MaxChars4Text(), 1024u);
    EXPECT_GE(MSG_MaxChars4Path(), 4095);
    std::memset(MSG_GetStr4Text(), 'x', MSG_MaxChars4Text());
    std::memset(MSG_GetStr4Path(), 'y', static_cast<size_t>(MSG_MaxChars4Path()) + 1);
    std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "mine");
    std::snprintf(MSG_GetStr4Path(), 16, "/my/path");
    char* otherText = nullptr;
    std::thread other([&] {
        otherText = MSG_GetStr4Text();
        std::snprintf(MSG_GetStr4Text(), MSG_MaxChars4Text(), "theirs");
        std::snprintf(MSG_GetStr4Path(), 16, "/their/path");
    });
    other.join();
    EXPECT_NE(otherText, MSG_GetStr4Text());
    EXPECT_STREQ(MSG_GetStr4Text(), "mine");
    EXPECT_STREQ(MSG_GetStr4Path(), "/my/path");
}
