#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "guarded_buffer.h"

namespace {

using orvik::test::GuardedBuffer;

struct Row {
    const char* dir;  // null stands for a null pointer
    const char* file;
    const char* path;
};

std::optional<std::vector<char>> Writable(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::vector<char>(text, text + std::strlen(text) + 1);
}

std::string WithBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// Joins the row in a destination of exactly dir + file + 3 bytes and checks
// the path, its length, the guard bytes and the rewritten sources.
void ExpectJoined(const Row& row) {
    const std::string label =
        std::string(row.dir ? row.dir : "null") + " + " + (row.file ? row.file : "null");
    auto dir = Writable(row.dir);
    auto file = Writable(row.file);
    GuardedBuffer dest(std::strlen(row.dir ? row.dir : "") + std::strlen(row.file ? row.file : "") +
                       3);
    const int32_t length =
        FILE_PathFile(dest.data(), dir ? dir->data() : nullptr, file ? file->data() : nullptr);
    EXPECT_EQ(dest.text(), row.path) << label;
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(row.path))) << label;
    EXPECT_TRUE(dest.GuardIntact()) << label;
    if (dir) {
        EXPECT_EQ(std::string(dir->data()), WithBackslashes(row.dir)) << label;
    }
    if (file) {
        EXPECT_EQ(std::string(file->data()), WithBackslashes(row.file)) << label;
    }
}

class PathFile : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(77); }
    void TearDown() override { EXPECT_EQ(GEN_GetRetCode(), 77) << "the return code is left alone"; }
};

TEST_F(PathFile, JoinsAndNormalises) {
    const Row rows[] = {
        {"C:\\dir", "file.txt", "C:\\DIR\\FILE.TXT"},
        {"c:/dir", "a.txt", "C:\\DIR\\A.TXT"},
        {"a//b", "/c", "A\\B\\C"},
        {"a\\\\b", "c\\\\d", "A\\B\\C\\D"},
        {"C:\\", "\\x", "C:\\X"},
        {"C:", "", "C:\\"},
        {"C:", nullptr, "C:\\"},
        {nullptr, "C:", "C:\\"},
        {"C:\\", "", "C:\\"},
        {"C:\\dir\\", "", "C:\\DIR"},
        {"dir", "\\", "DIR"},
        {"a", "b\\", "A\\B"},
        {"a:\\", "b:", "A:\\B:\\"},
        {"x", ":", "X\\:\\"},
        {"\\", "", ""},
        {"\\", "x", "\\X"},
        {"\\\\", "", "\\"},
        {"\\\\server\\share", "x", "\\\\SERVER\\SHARE\\X"},
        {"\\\\\\x", "y", "\\\\X\\Y"},
        {"", "\\\\srv\\x", "\\SRV\\X"},
        {nullptr, nullptr, ""},
        {"", "", ""},
        {"a/\\/b", "c", "A\\B\\C"},
        {"//server/share", "x/y", "\\\\SERVER\\SHARE\\X\\Y"},
        {"/", "/", ""},
        {"C:", "\\x", "C:\\X"},
        {"", "a:", "A:\\"},
        {"a\\\\", "\\\\b", "A\\B"},
    };
    for (const Row& row : rows) {
        ExpectJoined(row);
    }
}

TEST_F(PathFile, LeadingDoubleBackslashesKeepOnlyInTheDirectory) {
    const Row rows[] = {
        {"\\\\srv", "\\\\x", "\\\\SRV\\X"},
        {"\\\\", "\\\\x", "\\\\X"},
        {"\\", "\\\\x", "\\X"},
        {nullptr, "\\\\srv\\x", "\\SRV\\X"},
        {"", "\\\\", ""},
        {"x\\\\\\\\y", "z", "X\\Y\\Z"},
    };
    for (const Row& row : rows) {
        ExpectJoined(row);
    }
}

// Only the blank (0x20) is trimmed, and only from the file name: tabs and
// the directory's blanks are characters like any.
TEST_F(PathFile, BlanksAndTabs) {
    const Row rows[] = {
        {"dir", "  my file.txt  ", "DIR\\MY FILE.TXT"},
        {"a", "b  c", "A\\B  C"},
        {"dir", "   ", "DIR"},
        {"a:", "  ", "A:\\"},
        {"dir", "x:  ", "DIR\\X:\\"},
        {"  d  ", "x", "  D  \\X"},
        {"   ", "x", "   \\X"},
        {"  ", "", "  "},
        {"  ", nullptr, "  "},
        {"\ta\t", "\tb\t ", "\tA\t\\\tB\t"},
        {"dir", "  \t  ", "DIR\\\t"},
        {"dir", "b/ /", "DIR\\B\\ "},
        {"dir", " \\ ", "DIR"},
    };
    for (const Row& row : rows) {
        ExpectJoined(row);
    }
}

TEST_F(PathFile, UpperCasesEachCopiedByteAsTheStringServiceDoes) {
    const Row rows[] = {
        {"\xE4\xF6", "\xFF\xDF\xB5x", "\xC4\xD6\\\x9F\xDF\xB5X"},
        {"\x9A\x9C\x9E", "\xE0\xFE\xF7", "\x8A\x8C\x8E\\\xC0\xDE\xF7"},
        {"abcxyz{}`~", "\x80\xA0", "ABCXYZ{}`~\\\x80\xA0"},
    };
    for (const Row& row : rows) {
        ExpectJoined(row);
    }
}

}  // namespace
