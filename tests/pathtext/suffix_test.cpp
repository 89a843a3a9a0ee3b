#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"
#include "report_check.h"

namespace {

class Suffix : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(orvik::test::kNoSuchCode); }
    void TearDown() override {
        EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode) << "the return code is left alone";
    }
};

TEST_F(Suffix, FindSuffixGivesTheSuffixOrTheCutBase) {
    const std::tuple<const char*, int32_t, int32_t> rows[] = {
        // name, plain, limited
        // clang-format off
        {"", 0, 0}, {"abc", 3, 3}, {"abc.txt", 3, 3}, {"a.b.c", 3, 3}, {"x.", 1, 1},
        {".profile", 0, 0}, {"dir\\.profile", 4, 4}, {"C:\\dir\\file.txt", 11, 11},
        {"C:file.txt", 6, 6}, {"C:", 2, 2}, {"dir\\", 4, 4}, {"a.b\\c", 5, 5}, {"a.b:c", 5, 5},
        {"a:b\\c.d", 5, 5}, {"a\\b:c.d", 5, 5}, {"a.b/c", 1, 1}, {"abcdefgh", 8, 8},
        {"abcdefgh.txt", 8, 8}, {"abcdefghi", 9, 8}, {"abcdefghi.txt", 9, 8},
        {"C:\\dir\\longfilename.txt", 19, 15},
        {"a.b\\abcdefghij.x", 14, 12},  // base start 4 after a dotted directory
        // clang-format on
    };
    for (const auto& [name, plain, limited] : rows) {
        EXPECT_EQ(FILE_FindSuffix(name, 0), plain) << name;
        EXPECT_EQ(FILE_FindSuffix(name, 1), limited) << name;
        EXPECT_EQ(FILE_FindSuffix(name, -7), limited) << "any nonzero flag: " << name;
    }
}

// In a buffer of exactly the capacity that the caller owes: the old name
// with its zero, or the suffix position plus 5.
TEST_F(Suffix, NewSuffixReplacesOrRemovesInPlace) {
    const std::tuple<std::string, const char*, const char*> rows[] = {
        // before, suffix, after
        // clang-format off
        {"abc.txt", nullptr, "abc"}, {"abc.txt", "", "abc"}, {"abc.txt", ".", "abc"},
        {"abc", "", "abc"}, {"a.b\\c", nullptr, "a.b\\c"}, {"dir\\.profile", "", "dir\\"},
        {"abc.txt", "doc", "abc.doc"}, {"abc.txt", ".doc", "abc.doc"}, {"abc", "txt", "abc.txt"},
        {"", "txt", ".txt"}, {".profile", "txt", ".txt"}, {"dir\\.profile", "txt", "dir\\.txt"},
        {"a.b\\c", "txt", "a.b\\c.txt"}, {"abc.txt", "html", "abc.htm"},
        {"abc.txt", "..doc", "abc..do"},
        {"C:\\dir\\longfilename.txt", "htm", "C:\\dir\\longfilename.htm"},
        // clang-format on
    };
    for (const auto& [before, suffix, after] : rows) {
        const size_t position = static_cast<size_t>(FILE_FindSuffix(before.c_str(), 0));
        std::vector<char> name =
            orvik::test::ExactBuffer(std::max(before.size() + 1, position + 5), before);
        EXPECT_EQ(FILE_NewSuffix(name.data(), suffix), static_cast<int32_t>(std::strlen(after)))
            << before;
        EXPECT_STREQ(name.data(), after) << before << " + " << (suffix ? suffix : "null");
    }
}

}  // namespace
