#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"

namespace {

using orvik::test::GuardedBuffer;

class Suffix : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(77); }
    void TearDown() override { EXPECT_EQ(GEN_GetRetCode(), 77) << "the return code is left alone"; }
};

TEST_F(Suffix, FindSuffixGivesTheSuffixOrTheCutBase) {
    const struct {
        const char* name;
        int32_t plain, limited;
    } rows[] = {
        {"", 0, 0},
        {"abc", 3, 3},
        {"abc.txt", 3, 3},
        {"a.b.c", 3, 3},
        {"x.", 1, 1},
        {".profile", 0, 0},
        {"dir\\.profile", 4, 4},
        {"C:\\dir\\file.txt", 11, 11},
        {"C:file.txt", 6, 6},
        {"C:", 2, 2},
        {"dir\\", 4, 4},
        {"a.b\\c", 5, 5},
        {"a.b:c", 5, 5},
        {"a:b\\c.d", 5, 5},
        {"a\\b:c.d", 5, 5},
        {"a.b/c", 1, 1},
        {"abcdefgh", 8, 8},
        {"abcdefgh.txt", 8, 8},
        {"abcdefghi", 9, 8},
        {"abcdefghi.txt", 9, 8},
        {"C:\\dir\\longfilename.txt", 19, 15},
        {"...", 2, 2},
        {"abcdefghi.", 9, 8},
        {"a.b\\abcdefghij.x", 14, 12},                     // base start 4 after a dotted directory
        {"C:\\x.y\\abcdefghi", 16, 15},                    // no suffix: the length, or cut
        {"\xE4\xF6\xFC\xDF\xE9\xE8\xE0\xE2\xEA.t", 9, 8},  // every byte counts once
        {"a\tb.\tc", 3, 3},                                // a tab is an ordinary character
        {"a:b:c\\d\\e.f", 9, 9},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FILE_FindSuffix(row.name, 0), row.plain) << row.name;
        EXPECT_EQ(FILE_FindSuffix(row.name, 1), row.limited) << row.name;
        EXPECT_EQ(FILE_FindSuffix(row.name, -7), row.limited) << "any nonzero flag: " << row.name;
    }
}

// Runs FILE_NewSuffix in a buffer of exactly the capacity that the caller
// owes it: the old name with its zero, or the suffix position plus 5.
struct NewSuffixResult {
    std::string name;
    int32_t result;
};
NewSuffixResult NewSuffix(const std::string& name, const char* suffix) {
    const size_t position = static_cast<size_t>(FILE_FindSuffix(name.c_str(), 0));
    GuardedBuffer buffer(std::max(name.size() + 1, position + 5), name);
    const int32_t result = FILE_NewSuffix(buffer.data(), suffix);
    EXPECT_TRUE(buffer.GuardIntact()) << "wrote past the capacity: " << name;
    return {buffer.text(), result};
}

TEST_F(Suffix, NewSuffixReplacesOrRemovesInPlace) {
    const struct {
        const char* before;
        const char* suffix;
        const char* after;
    } rows[] = {
        {"abc.txt", nullptr, "abc"},
        {"abc.txt", "", "abc"},
        {"abc.txt", ".", "abc"},
        {"abc", "", "abc"},
        {"a.b\\c", nullptr, "a.b\\c"},
        {"dir\\.profile", "", "dir\\"},
        {"abc.txt", "doc", "abc.doc"},
        {"abc.txt", ".doc", "abc.doc"},
        {"abc", "txt", "abc.txt"},
        {"", "txt", ".txt"},
        {".profile", "txt", ".txt"},
        {"dir\\.profile", "txt", "dir\\.txt"},
        {"a.b\\c", "txt", "a.b\\c.txt"},
        {"C:\\dir\\longfilename.txt", "htm", "C:\\dir\\longfilename.htm"},
        {"abc.txt", "html", "abc.htm"},
        {"abc.txt", "..doc", "abc..do"},
        {"abc.txt", "..", "abc.."},  // the second stop is the suffix
        {"abc.t", "x", "abc.x"},
        {"abc.t", "\t", "abc.\t"},  // a tab is a character like any
        {"abc.txt", " ", "abc. "},
        {"abc.txt", "\xE4\xF6\xFC\xDF", "abc.\xE4\xF6\xFC"},  // not upper-cased
        {"abcdefghijk.txt", "a\\b", "abcdefghijk.a\\b"},      // the long base is never cut
        {"C:", "txt", "C:.txt"},
        {"x.", "y", "x.y"},
    };
    for (const auto& row : rows) {
        const NewSuffixResult got = NewSuffix(row.before, row.suffix);
        EXPECT_EQ(got.name, row.after) << row.before << " + " << (row.suffix ? row.suffix : "null");
        EXPECT_EQ(got.result, static_cast<int32_t>(std::strlen(row.after))) << row.before;
    }
}

}  // namespace
