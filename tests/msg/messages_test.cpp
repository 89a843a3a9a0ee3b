#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "OrvikMSG_Lib.h"

namespace {

std::set<int32_t> LibraryNumbers() {
    std::set<int32_t> numbers{52200};
    for (int32_t n = 52000; n <= 52017; ++n) {
        numbers.insert(n);
    }
    return numbers;
}

}  // namespace

TEST(Messages, EveryLibraryNumberHasADistinctText) {
    std::set<std::string> texts;
    for (int32_t number : LibraryNumbers()) {
        const char* text = MSG_GetStr(number);
        ASSERT_NE(text, nullptr) << number;
        EXPECT_GT(std::strlen(text), 10u) << number;
        EXPECT_TRUE(texts.insert(text).second) << "shared text: " << text;
    }
}

TEST(Messages, TextsSayWhatHappened) {
    EXPECT_NE(std::string(MSG_GetStr(52004)).find("not found"), std::string::npos);
    EXPECT_NE(std::string(MSG_GetStr(52016)).find("end of the file"), std::string::npos);
    EXPECT_NE(std::string(MSG_GetStr(52015)).find("disk is full"), std::string::npos);
}

TEST(Messages, UnknownNumberNamesTheNumber) {
    for (int32_t number : {0, -1, 51999, 52018, 52199, INT32_MIN}) {
        const char* text = MSG_GetStr(number);
        ASSERT_NE(text, nullptr);
        EXPECT_NE(std::string(text).find(std::to_string(number)), std::string::npos) << text;
        EXPECT_EQ(LibraryNumbers().count(number), 0u);
    }
}

TEST(Messages, BuffersTakeTheirFullCapacity) {
    EXPECT_GE(MSG_MaxChars4Text(), 1024u);
    EXPECT_GE(MSG_MaxChars4Path(), 4095);
    std::memset(MSG_GetStr4Text(), 'x', MSG_MaxChars4Text());
    std::memset(MSG_GetStr4Path(), 'y', static_cast<size_t>(MSG_MaxChars4Path()) + 1);
}

TEST(Messages, BuffersArePerThread) {
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
