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
    const char* shrunk;
    int32_t maxChars;
    int32_t result;
};

// Shrinks a writable copy of the row's source into maxChars + 1 bytes; a
// row reads: source, what it shrinks to, maxChars, result.
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
        {"C:\\dir\\sub\\file.txt", "C:\\dir\\sub\\file.txt", 100, 19},
        {"C:\\dir\\sub\\file.txt", "C:\\dir\\sub\\file.txt", 19, 19},
        {"C:\\dir\\sub\\file.txt", "C:\\...\\file.txt", 18, 15},
        {"C:\\dir\\sub\\file.txt", "C:\\...\\file.txt", 15, 15},
        {"C:\\dir\\sub\\file.txt", "C:...\\file.txt", 14, 14},
        {"C:\\dir\\sub\\file.txt", "C...\\file.txt", 13, 13},
        {"C:\\dir\\sub\\file.txt", "...\\file.txt", 12, 12},
        {"C:\\dir\\sub\\file.txt", "C:\\dir\\sub\\", 11, 11},
        {"C:\\dir\\sub\\file.txt", "C:\\di", 5, 5},
        {"C:\\dir\\sub\\deeper\\file.txt", "C:\\dir\\sub\\...\\file.txt", 25, 23},
        {"C:\\dir\\sub\\deeper\\file.txt", "C:\\dir\\...\\file.txt", 22, 19},
        {"C:\\very\\long\\dir\\", "C:\\...\\", 10, 7},
        {"\\verylongname.txt", "\\verylongn", 10, 10},
        {"abcdefghij", "abcdefghij", 10, 10},
        {"abcdefghij", "abcde", 5, 5},
        {"", "", 1, 0},
        {"a\\bcdef\\ghij", "a\\...\\ghij", 10, 10},  // backslash just inside keep
        {"ab\\cdef\\ghij", "ab...\\ghij", 10, 10},   // backslash at index keep: outside
        {"C:\\my dir\\my file.txt", "C:\\...\\my file.txt", 18, 18},  // inner blanks stay
        {"C:\\a b c\\d e f\\x y", "C:\\a b c\\...\\x y", 16, 16},
        {"\xE4\\\xF6\xFC", "\xE4\\\xF6", 3, 3},           // bytes are not upper-cased
        {"C:/dir/sub/file.txt", "C:/dir/sub/f", 12, 12},  // a forward slash separates nothing
    };
    for (const Row& row : rows) {
        ExpectShrunk(row);
    }
}

TEST(ShrinkName, StripsTheSourceForGood) {
    ExpectShrunk({"  C:\\dir\\sub\\file.txt\t ", "C:\\dir\\sub\\file.txt", 19, 19},
                 "C:\\dir\\sub\\file.txt");
    ExpectShrunk({" \tC:\\dir\\sub\\file.txt \n", "C:\\...\\file.txt", 18, 15},
                 "C:\\dir\\sub\\file.txt");
    ExpectShrunk({"\tabcdefghij  ", "abcde", 5, 5}, "abcdefghij");
    ExpectShrunk({"  \t ", "", 1, 0}, "");
}

TEST(ShrinkName, RefusesBadArgumentsAndClearsTheCode) {
    ExpectShrunk({"abc", "", 0, -1});
    ExpectShrunk({" abc ", "", -5, -1}, nullptr);  // refused before the source is stripped

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
