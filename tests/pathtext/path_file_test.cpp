#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"
#include "report_check.h"

namespace {

std::string WithBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// Joins writable copies of dir and file (null stays null) in a destination of
// exactly dir + file + 3 bytes: the path, its length, the sources with their
// forward slashes rewritten, and the return code left alone.
void ExpectJoined(const char* dirText, const char* fileText, const std::string& expected) {
    std::string dir = dirText ? dirText : "", file = fileText ? fileText : "";
    const std::string sources = WithBackslashes(dir + "|" + file);
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

}  // namespace
