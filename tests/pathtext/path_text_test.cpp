// The path-text family against callers' buffers of exactly the capacity they
// owe: joining a directory and a file name, shrinking a name to a width, and
// finding or replacing a suffix.
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

// Joins writable copies of dir and file (null stays null) in a destination of
// exactly dir + file + 3 bytes: the path, its length, the sources with their
// forward slashes rewritten, and the return code left alone.
void ExpectJoined(const char* dirText, const char* fileText, const std::string& expected) {
    std::string dir = dirText ? dirText : "", file = fileText ? fileText : "";
    std::string sources = dir + "|" + file;
    std::replace(sources.begin(), sources.end(), '/', '\\');
    std::vector<char> dest = orvik::test::ExactBuffer(dir.size() + file.size() + 3);
    GEN_SetRetCode(orvik::test::kNoSuchCode);
    const int32_t length = FILE_PathFile(dest.data(), dirText ? dir.data() : nullptr,
                                         fileText ? file.data() : nullptr);
    EXPECT_EQ(dest.data(), expected) << sources;
    EXPECT_EQ(length, static_cast<int32_t>(expected.size())) << sources;
    EXPECT_EQ(dir + "|" + file, sources) << "forward slashes are rewritten in place";
    EXPECT_EQ(GEN_GetRetCode(), orvik::test::kNoSuchCode) << sources;
}

TEST(PathFile, JoinsAndNormalises) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        // dir, file, path
        // clang-format off
        {"C:\\dir", "file.txt", "C:\\DIR\\FILE.TXT"}, {"c:/dir", "a.txt", "C:\\DIR\\A.TXT"},
        {"a//b", "/c", "A\\B\\C"}, {"a\\\\b", "c\\\\d", "A\\B\\C\\D"}, {"C:\\", "\\x", "C:\\X"},
        {"C:", "", "C:\\"}, {"C:", nullptr, "C:\\"}, {nullptr, "C:", "C:\\"}, {"C:\\", "", "C:\\"},
        {"C:\\dir\\", "", "C:\\DIR"}, {"dir", "\\", "DIR"}, {"a", "b\\", "A\\B"},
        {"a:\\", "b:", "A:\\B:\\"}, {"x", ":", "X\\:\\"}, {"\\", "", ""}, {"\\", "x", "\\X"},
        {"\\\\", "", "\\"}, {"\\\\\\x", "y", "\\\\X\\Y"}, {"", "\\\\srv\\x", "\\SRV\\X"},
        {"\\\\server\\share", "x", "\\\\SERVER\\SHARE\\X"},
        {"dir", "  my file.txt  ", "DIR\\MY FILE.TXT"}, {"a", "b  c", "A\\B  C"},
        {"dir", "   ", "DIR"}, {"a:", "  ", "A:\\"}, {"dir", "x:  ", "DIR\\X:\\"},
        {"  d  ", "x", "  D  \\X"}, {nullptr, nullptr, ""}, {"", "", ""},
        // Slashes make the leading pair too; the file name never keeps one.
        {"//server/share", "x/y", "\\\\SERVER\\SHARE\\X\\Y"}, {"\\\\", "\\\\x", "\\\\X"},
        // Only the blank is trimmed: tabs are characters like any.
        {"\ta\t", "\tb\t ", "\tA\t\\\tB\t"},
        // Every copied byte goes through the string service's upper-casing,
        // which leaves the bytes of UTF-8 characters alone.
        {"d\xC3\xA9j\xC3\xA0", "\xE6\x97\xA5x", "D\xC3\xA9J\xC3\xA0\\\xE6\x97\xA5X"},
        // clang-format on
    };
    for (const auto& [dir, file, path] : rows) {
        ExpectJoined(dir, file, path);
    }
}

struct ShrinkRow {
    const char* src;  // null stands for a null pointer
    const char* shrunk;
    int32_t maxChars;
    int32_t result;
    const char* stripped = nullptr;  // the source afterwards, when not src itself
};

// Shrinks a writable copy of src into exactly maxChars + 1 bytes (at least
// 2, so that a cleared text shows): the result, dest, the source afterwards
// and the return code, which is cleared.
void ExpectShrunk(const ShrinkRow& row) {
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
    const ShrinkRow rows[] = {
        // source, shrunk to, maxChars, result (, the source afterwards)
        // clang-format off
        {name, name, 100, 19}, {name, name, 19, 19}, {name, "C:\\...\\file.txt", 18, 15},
        {name, "C:\\...\\file.txt", 15, 15}, {name, "C:...\\file.txt", 14, 14},
        {name, "C...\\file.txt", 13, 13}, {name, "...\\file.txt", 12, 12},
        {name, "C:\\dir\\sub\\", 11, 11}, {name, "C:\\di", 5, 5},
        {deeper, "C:\\dir\\sub\\...\\file.txt", 25, 23}, {deeper, "C:\\dir\\...\\file.txt", 22, 19},
        {"C:\\very\\long\\dir\\", "C:\\...\\", 10, 7},
        {"\\verylongname.txt", "\\verylongn", 10, 10}, {"abcdefghij", "abcdefghij", 10, 10},
        {"abcdefghij", "abcde", 5, 5}, {"", "", 1, 0}, {"abc", "", 0, ORVIK_SHRINK_REFUSED}, {nullptr, "", 5, ORVIK_SHRINK_REFUSED},
        {"a\\bcdef\\ghij", "a\\...\\ghij", 10, 10},  // a backslash just inside keep
        {"ab\\cdef\\ghij", "ab...\\ghij", 10, 10},  // one at index keep is outside
        // The source is stripped for good, but not when the call is refused.
        {" \tC:\\dir\\sub\\file.txt \t", "C:\\...\\file.txt", 18, 15, name},
        {"  \t ", "", 1, 0, ""}, {" abc ", "", -5, ORVIK_SHRINK_REFUSED},
        // clang-format on
    };
    for (const ShrinkRow& row : rows) {
        ExpectShrunk(row);
    }

    char src[] = "  abc  ";
    GEN_SetRetCode(orvik::test::kNoSuchCode);
    EXPECT_EQ(FILE_ShrinkName(nullptr, src, 5), ORVIK_SHRINK_REFUSED);
    EXPECT_STREQ(src, "  abc  ") << "a null destination leaves the source unstripped";
    EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_OK);
}

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
