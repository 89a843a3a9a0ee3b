#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"
#include "report_check.h"

namespace {

struct Row {
    const char* src;  // null stands for a null pointer
    const char* shrunk;
    int32_t maxChars;
    int32_t result;
    const char* stripped = nullptr;  // the source afterwards, when not src itself
};

// Shrinks a writable copy of src into exactly maxChars + 1 bytes (at least
// 2, so that a cleared text shows): the result, dest, the source afterwards
// and the return code, which is cleared.
void ExpectShrunk(const Row& row) {
    std::string src = row.src ? row.src : "";
    const std::string label = src + " to " + std::to_string(row.maxChars);
    const size_t room = static_cast<size_t>(std::max(row.maxChars, 1));
    std::vector<char> dest = orvik::test::ExactBuffer(room + 1, std::string(room, '?'));
    GEN_SetRetCode(orvik::test::kNoSuchCode);
    EXPECT_EQ(FILE_ShrinkName(dest.data(), row.src ? src.data() : nullptr, row.maxChars),
              row.result)
        << label;
    EXPECT_STREQ(dest.data(), row.shrunk) << label;
    EXPECT_STREQ(src.c_str(), row.stripped ? row.stripped : (row.src ? row.src : "")) << label;
    EXPECT_EQ(GEN_GetRetCode(), 0) << label;
}

TEST(ShrinkName, KeepsTheLastComponentAndAHeadCutAtABackslash) {
    const char* const name = "C:\\dir\\sub\\file.txt";
    const char* const deeper = "C:\\dir\\sub\\deeper\\file.txt";
    const Row rows[] = {
        // source, shrunk to, maxChars, result (, the source afterwards)
        // clang-format off
        {name, name, 100, 19}, {name, name, 19, 19}, {name, "C:\\...\\file.txt", 18, 15},
        {name, "C:\\...\\file.txt", 15, 15}, {name, "C:...\\file.txt", 14, 14},
        {name, "C...\\file.txt", 13, 13}, {name, "...\\file.txt", 12, 12},
        {name, "C:\\dir\\sub\\", 11, 11}, {name, "C:\\di", 5, 5},
        {deeper, "C:\\dir\\sub\\...\\file.txt", 25, 23}, {deeper, "C:\\dir\\...\\file.txt", 22, 19},
        {"C:\\very\\long\\dir\\", "C:\\...\\", 10, 7},
        {"\\verylongname.txt", "\\verylongn", 10, 10}, {"abcdefghij", "abcdefghij", 10, 10},
        {"abcdefghij", "abcde", 5, 5}, {"", "", 1, 0}, {"abc", "", 0, -1}, {nullptr, "", 5, -1},
        {"a\\bcdef\\ghij", "a\\...\\ghij", 10, 10},  // a backslash just inside keep
        {"ab\\cdef\\ghij", "ab...\\ghij", 10, 10},  // one at index keep is outside
        // The source is stripped for good, but not when the call is refused.
        {" \tC:\\dir\\sub\\file.txt \t", "C:\\...\\file.txt", 18, 15, name},
        {"  \t ", "", 1, 0, ""}, {" abc ", "", -5, -1},
        // clang-format on
    };
    for (const Row& row : rows) {
        ExpectShrunk(row);
    }

    char src[] = "  abc  ";
    GEN_SetRetCode(orvik::test::kNoSuchCode);
    EXPECT_EQ(FILE_ShrinkName(nullptr, src, 5), -1);
    EXPECT_STREQ(src, "  abc  ") << "a null destination leaves the source unstripped";
    EXPECT_EQ(GEN_GetRetCode(), 0);
}

}  // namespace
