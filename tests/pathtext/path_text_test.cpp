// The path-text family against callers' buffers of exactly the capacity they
// owe (orvik::test::ExactBuffer): joining a directory and a file name,
// shrinking a name to a width, and finding or replacing a suffix. None of
// them sets the return code, but FILE_ShrinkName clears it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"

namespace {

constexpr int32_t kUntouched = 77;

// The sources are writable copies (null stays null), in a destination of
// exactly dir + file + 3 bytes; forward slashes are rewritten in place.
TEST(PathFile, JoinsAndNormalises) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"C:\\dir", "file.txt", "C:\\DIR\\FILE.TXT"},
        {"c:/dir", "a.txt", "C:\\DIR\\A.TXT"},
        {nullptr, "C:", "C:\\"},
        {"a:\\", "b:", "A:\\B:\\"},
        {"\\", "x", "\\X"},
        {"\\\\\\x", "y", "\\\\X\\Y"},
        {"dir", "x:  ", "DIR\\X:\\"},
        {"", "\\\\srv\\x", "\\SRV\\X"},
        {"//server/share", "x/y", "\\\\SERVER\\SHARE\\X\\Y"},
        {"\ta\t", "\tb\t ", "\tA\t\\\tB\t"},  // tabs are no blanks here
        {nullptr, nullptr, ""},
        {"d\xC3\xA9j\xC3\xA0", "\xE6\x97\xA5x", "D\xC3\xA9J\xC3\xA0\\\xE6\x97\xA5X"},  // UTF-8 kept
    };
    for (const auto& [dirText, fileText, expected] : rows) {
        std::string dir = dirText ? dirText : "", file = fileText ? fileText : "";
        std::string sources = dir + "|" + file;
        std::replace(sources.begin(), sources.end(), '/', '\\');
        auto dest = orvik::test::ExactBuffer(dir.size() + file.size() + 3);
        GEN_SetRetCode(kUntouched);
        const int32_t length = FILE_PathFile(dest.data(), dirText ? dir.data() : nullptr,
                                             fileText ? file.data() : nullptr);
        EXPECT_STREQ(dest.data(), expected) << sources;
        EXPECT_EQ(length, static_cast<int32_t>(std::strlen(expected))) << sources;
        EXPECT_EQ(dir + "|" + file, sources);
        EXPECT_EQ(GEN_GetRetCode(), kUntouched) << sources;
    }
}

// Into exactly maxChars + 1 bytes (at least 2, so that a cleared text shows).
TEST(ShrinkName, KeepsTheLastComponentAndAHeadCutAtABackslash) {
    const char* const name = "C:\\dir\\sub\\file.txt";
    // clang-format off
    // src: null stands for a null pointer
    // stripped: the source afterwards, when not src itself
    const struct { const char* src; const char* shrunk; int32_t maxChars, result; const char* stripped; } rows[] = {
        {name, name, 19, 19, nullptr},
        {name, "C:\\...\\file.txt", 18, 15, nullptr},
        {name, "...\\file.txt", 12, 12, nullptr},
        {name, "C:\\dir\\sub\\", 11, 11, nullptr},
        {"C:\\dir\\sub\\deeper\\file.txt", "C:\\dir\\sub\\...\\file.txt", 25, 23, nullptr},
        {"a\\bcdef\\ghij", "a\\...\\ghij", 10, 10, nullptr},  // a backslash just inside keep
        {"ab\\cdef\\ghij", "ab...\\ghij", 10, 10, nullptr},   // one at index keep is outside
        {"abc", "", 0, ORVIK_SHRINK_REFUSED, nullptr},
        {nullptr, "", 5, ORVIK_SHRINK_REFUSED, nullptr},
        {" abc ", "", -5, ORVIK_SHRINK_REFUSED, nullptr},  // refused: the source stays
        {" \tC:\\dir\\sub\\file.txt \t", "C:\\...\\file.txt", 18, 15, name},
    };
    // clang-format on
    for (const auto& row : rows) {
        std::string src = row.src ? row.src : "";
        const size_t room = static_cast<size_t>(std::max(row.maxChars, 1));
        auto dest = orvik::test::ExactBuffer(room + 1, std::string(room, '?'));
        GEN_SetRetCode(kUntouched);
        EXPECT_EQ(FILE_ShrinkName(dest.data(), row.src ? src.data() : nullptr, row.maxChars),
                  row.result)
            << src;
        EXPECT_STREQ(dest.data(), row.shrunk) << src;
        EXPECT_STREQ(src.c_str(), row.stripped ? row.stripped : (row.src ? row.src : "")) << src;
        EXPECT_EQ(GEN_GetRetCode(), ORVIK_RC_OK) << src;
    }
    char src[] = "  abc  ";
    EXPECT_EQ(FILE_ShrinkName(nullptr, src, 5), ORVIK_SHRINK_REFUSED);
    EXPECT_STREQ(src, "  abc  ") << "a null destination leaves the source unstripped";
}

// FILE_FindSuffix, plain and with the base limited (any nonzero flag); and
// FILE_NewSuffix in a buffer of exactly the capacity owed: the old name with
// its zero, or the suffix position plus 5.
TEST(Suffix, FindsAndReplacesTheSuffix) {
    const std::tuple<const char*, int32_t, int32_t, const char*, const char*> rows[] = {
        // name, plain, limited, new suffix, name after
        {"", 0, 0, "txt", ".txt"},
        {"a.b.c", 3, 3, nullptr, "a.b"},
        {"dir\\.profile", 4, 4, "", "dir\\"},
        {"a.b\\c", 5, 5, nullptr, "a.b\\c"},
        {"a.b:c", 5, 5, nullptr, "a.b:c"},  // a colon ends the directory part too
        {"a:b\\c.d", 5, 5, "txt", "a:b\\c.txt"},
        {"a.b/c", 1, 1, nullptr, "a"},
        {"abcdefgh.txt", 8, 8, "html", "abcdefgh.htm"},
        {"abcdefghi", 9, 8, "..doc", "abcdefghi..do"},  // one full stop skipped
        {"C:\\dir\\longfilename.txt", 19, 15, ".doc", "C:\\dir\\longfilename.doc"},
        {"a.b\\abcdefghij.x", 14, 12, "txt", "a.b\\abcdefghij.txt"},  // base from 4
    };
    GEN_SetRetCode(kUntouched);
    for (const auto& [before, plain, limited, suffix, after] : rows) {
        EXPECT_EQ(FILE_FindSuffix(before, 0), plain) << before;
        EXPECT_EQ(FILE_FindSuffix(before, -7), limited) << before;
        const size_t length = std::strlen(before), room = static_cast<size_t>(plain) + 5;
        auto name = orvik::test::ExactBuffer(std::max(length + 1, room), before);
        EXPECT_EQ(FILE_NewSuffix(name.data(), suffix), static_cast<int32_t>(std::strlen(after)));
        EXPECT_STREQ(name.data(), after) << before << " + " << (suffix ? suffix : "null");
    }
    EXPECT_EQ(GEN_GetRetCode(), kUntouched);
}

}  // namespace
