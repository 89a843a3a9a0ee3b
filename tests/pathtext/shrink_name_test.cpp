#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"

namespace {

using orvik::test::GuardedBuffer;

struct Row {
    const char* src;
    int32_t maxChars;
    const char* shrunk;
    int32_t result;
};

// Shrinks a writable copy of the row's source into maxChars + 1 bytes.
void ExpectShrunk(const Row& row, const char* stripped = nullptr) {
    const std::string label = std::string(row.src) + " to " + std::to_string(row.maxChars);
    std::vector<char> src(row.src, row.src + std::strlen(row.src) + 1);
    const size_t room = static_cast<size_t>(std::max(row.maxChars, 0));
    GuardedBuffer dest(room + 1, std::string(room, '?'));
    GEN_SetRetCode(77);
    EXPECT_EQ(FILE_ShrinkName(dest.data(), src.data(), row.maxChars), row.result) << label;
    EXPECT_EQ(dest.text(), row.shrunk) << label;
    EXPECT_TRUE(dest.GuardIntact()) << label;
    EXPECT_EQ(GEN_GetRetCode(), 0) << label;
    EXPECT_EQ(std::string(src.data()), stripped ? stripped : row.src) << label;
}

TEST(ShrinkName, KeepsTheLastComponentAndAHeadCutAtABackslash) {
    const Row rows[] = {
        {"C:\\dir\\sub\\file.txt", 100, "C:\\dir\\sub\\file.txt", 19},
        {"C:\\dir\\sub\\file.txt", 19, "C:\\dir\\sub\\file.txt", 19},
        {"C:\\dir\\sub\\file.txt", 18, "C:\\...\\file.txt", 15},
        {"C:\\dir\\sub\\file.txt", 15, "C:\\...\\file.txt", 15},
        {"C:\\dir\\sub\\file.txt", 14, "C:...\\file.txt", 14},
        {"C:\\dir\\sub\\file.txt", 13, "C...\\file.txt", 13},
        {"C:\\dir\\sub\\file.txt", 12, "...\\file.txt", 12},
        {"C:\\dir\\sub\\file.txt", 11, "C:\\dir\\sub\\", 11},
        {"C:\\dir\\sub\\file.txt", 5, "C:\\di", 5},
        {"C:\\dir\\sub\\deeper\\file.txt", 25, "C:\\dir\\sub\\...\\file.txt", 23},
        {"C:\\dir\\sub\\deeper\\file.txt", 22, "C:\\dir\\...\\file.txt", 19},
        {"C:\\very\\long\\dir\\", 10, "C:\\...\\", 7},
        {"\\verylongname.txt", 10, "\\verylongn", 10},
        {"abcdefghij", 10, "abcdefghij", 10},
        {"abcdefghij", 5, "abcde", 5},
        {"", 1, "", 0},
        {"a\\bcdef\\ghij", 10, "a\\...\\ghij", 10},  // backslash just inside keep
        {"ab\\cdef\\ghij", 10, "ab...\\ghij", 10},   // backslash at index keep: outside
        {"C:\\my dir\\my file.txt", 18, "C:\\...\\my file.txt", 18},  // inner blanks stay
        {"C:\\a b c\\d e f\\x y", 16, "C:\\a b c\\...\\x y", 16},
        {"\xE4\\\xF6\xFC", 3, "\xE4\\\xF6", 3},           // bytes are not upper-cased
        {"C:/dir/sub/file.txt", 12, "C:/dir/sub/f", 12},  // a forward slash separates nothing
    };
    for (const Row& row : rows) {
        ExpectShrunk(row);
    }
}

TEST(ShrinkName, StripsTheSourceForGood) {
    ExpectShrunk({"  C:\\dir\\sub\\file.txt\t ", 19, "C:\\dir\\sub\\file.txt", 19},
                 "C:\\dir\\sub\\file.txt");
    ExpectShrunk({" \tC:\\dir\\sub\\file.txt \n", 18, "C:\\...\\file.txt", 15},
                 "C:\\dir\\sub\\file.txt");
    ExpectShrunk({"\tabcdefghij  ", 5, "abcde", 5}, "abcdefghij");
    ExpectShrunk({"  \t ", 1, "", 0}, "");
}

TEST(ShrinkName, RefusesBadArgumentsAndClearsTheCode) {
    ExpectShrunk({"abc", 0, "", -1});
    ExpectShrunk({" abc ", -5, "", -1}, nullptr);  // refused before the source is stripped

    GuardedBuffer dest(6, "old");
    GEN_SetRetCode(77);
    EXPECT_EQ(FILE_ShrinkName(dest.data(), nullptr, 5), -1);
    EXPECT_EQ(dest.text(), "");
    EXPECT_EQ(GEN_GetRetCode(), 0);

    char src[] = "  abc  ";
    GEN_SetRetCode(77);
    EXPECT_EQ(FILE_ShrinkName(nullptr, src, 5), -1);
    EXPECT_STREQ(src, "  abc  ") << "a null destination leaves the source unstripped";
    EXPECT_EQ(GEN_GetRetCode(), 0);
}

}  // namespace
