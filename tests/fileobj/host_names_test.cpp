// Round trips through the whole library with names as hosts compose them:
// upper case, backslashes, a drive, names in several scripts, against the
// names that the operating system lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikSTR_Lib.h"
#include "temp_dir.h"

namespace {

using orvik::test::HostPath;
using orvik::test::TempDir;
namespace fs = std::filesystem;

// `dir` and `file` joined by FILE_PathFile: backslashes, upper case.
std::string PathFile(std::string dir, std::string file) {
    std::vector<char> dest(dir.size() + file.size() + 3);
    FILE_PathFile(dest.data(), dir.data(), file.data());
    return dest.data();
}

// Opens `name` through the library, writes `text` into it when there is one,
// and gives back the name the file object hands back, or "(none)".
std::string OpenAs(const std::string& name, uint32_t mode, int32_t create = 0,
                   const char* text = nullptr) {
    CFile file;
    if (FILE_Open(&file, name.c_str(), mode, create) != nullptr ||
        (text != nullptr && FILE_WriteStr(&file, text) != nullptr)) {
        return "(none)";
    }
    const std::string handedBack = FILE_GetPath(&file, nullptr, 0);
    return FILE_Close(&file) == nullptr ? handedBack : "(none)";
}

// The names in `dir` as the operating system lists them.
std::set<std::string> Listed(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class HostNameRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        fs::create_directories(dir.path() / "data" / "reports");
        dir.Write("data/reports/report.txt", "old\n");
    }
    void TearDown() override {
        fs::current_path(before);
        AfxMapDrive('R', nullptr);
        STR_SetCodePage(STR_CODEPAGE_UTF8);
    }
    TempDir dir;
    fs::path before;
};

TEST_F(HostNameRoundTrip, ComposedNamesReachTheLowerCaseFilesAndCreateNothingElse) {
    const std::string report = PathFile("c:" + dir / "data/reports", "report.txt");
    EXPECT_EQ(OpenAs(report, 2, 1, "new line\n"), dir.Host("data/reports/report.txt"));
    EXPECT_EQ(dir.Read("data/reports/report.txt"), "new line\n");
    // No drive, and a new suffix: a new file named as composed, beside it.
    std::string fresh = PathFile(dir / "data/reports", " fresh name.txt ") + "        ";
    fresh.resize(static_cast<size_t>(FILE_NewSuffix(fresh.data(), "bak")));
    EXPECT_EQ(OpenAs(fresh, 1, 0, "backup\n"), dir.Host("data/reports/FRESH NAME.bak"));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 4)
        << "nothing made in the wrong place";
    EXPECT_EQ(dir.Read("data/reports/FRESH NAME.bak"), "backup\n");
    EXPECT_EQ(FILE_Remove4Name(report.c_str()), nullptr);
    EXPECT_EQ(FILE_FileExists(report.c_str()), 0);
}

// A file name composed by FILE_PathFile, the name it gets on disk, and
// other spellings that reopen it, in the code page of the row.
struct ComposedName {
    uint32_t codePage;
    std::string given, onDisk;
    std::vector<std::string> others;
};

TEST_F(HostNameRoundTrip, NamesInEveryScriptAreCreatedAsComposedAndReopenedInOtherCases) {
    // clang-format off
    const ComposedName rows[] = {
        {STR_CODEPAGE_UTF8, "r\xC3\xA9sum\xC3\xA9.txt", "R\xC3\xA9SUM\xC3\xA9.TXT", {"R\xC3\x89SUM\xC3\x89.TXT", "R\xC3\xA9sum\xC3\xA9.txt"}},
        {STR_CODEPAGE_UTF8, "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1.txt", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1.TXT",
         {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91.TXT"}},  // Greek
        {STR_CODEPAGE_UTF8, "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.txt", "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.TXT", {"\xD0\xA4\xD0\x90\xD0\x99\xD0\x9B.txt"}},
        {STR_CODEPAGE_UTF8, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.TXT",
         {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt"}},
        {STR_CODEPAGE_UTF8, "\xF0\x9F\x98\x80 smile.txt", "\xF0\x9F\x98\x80 SMILE.TXT", {"\xF0\x9F\x98\x80 Smile.txt"}},
        {STR_CODEPAGE_UTF8, "\xE9t\xE9.txt", "\xE9T\xE9.TXT", {"\xE9t\xE9.txt"}},  // not UTF-8: bytes as they are
        {STR_CODEPAGE_WINDOWS_1252, "d\xE9j\xE0.txt", "D\xC9J\xC0.TXT", {"d\xE9j\xE0.txt", "D\xE9j\xC0.Txt"}},
    };
    // clang-format on
    fs::create_directories(dir.path() / "names");
    ASSERT_TRUE(AfxMapDrive('R', (dir / "names").c_str()));
    std::set<std::string> made;
    for (const ComposedName& row : rows) {
        ASSERT_NE(STR_SetCodePage(row.codePage), 0);
        const std::string composed = PathFile("r:", row.given);
        EXPECT_EQ(OpenAs(composed, 2, 1, "x"), "R:\\" + row.onDisk) << row.given;
        made.insert(row.onDisk);
        EXPECT_EQ(Listed(dir.path() / "names"), made) << "the bytes as composed, and nothing else";
        for (const std::string& other : row.others) {
            EXPECT_EQ(OpenAs("R:\\" + other, 0), "R:\\" + row.onDisk) << other;
        }
    }
    // Names that cannot be created fail and make nothing anywhere.
    for (const char* name :
         {"R:\\NONE\\X.TXT", "R:\\..\\NONE\\X.TXT", "R:\\D\xC9J\xC0.TXT\\X", ""}) {
        EXPECT_EQ(OpenAs(name, 2, 1), "(none)") << name;
    }
    EXPECT_EQ(Listed(dir.path() / "names"), made);
    EXPECT_EQ(Listed(dir.path()), (std::set<std::string>{"data", "names"}));
}

TEST_F(HostNameRoundTrip, PathsHandedBackUnderADriveAreRemovedByName) {
    ASSERT_TRUE(AfxMapDrive('R', (dir / "data/reports").c_str()));
    EXPECT_EQ(OpenAs("R:\\New Report.Txt", 1), "R:\\New Report.Txt");
    for (const char* name : {"R:\\REPORT.TXT", "R:\\NEW REPORT.TXT"}) {
        const std::string handedBack = OpenAs(name, 0);
        EXPECT_EQ(handedBack.rfind("R:\\", 0), 0u) << handedBack;
        EXPECT_EQ(FILE_Remove4Name(handedBack.c_str()), nullptr) << handedBack;
    }
    EXPECT_TRUE(fs::is_empty(dir.path() / "data/reports"));
}

TEST_F(HostNameRoundTrip, RelativeNamesAfterMove2Dir) {
    ASSERT_EQ(FILE_Move2Dir(PathFile("c:" + dir.path().string(), "data").c_str()), 0);
    EXPECT_EQ(OpenAs("REPORTS\\REPORT.TXT", 0), dir.Host("data/reports/report.txt"));
    EXPECT_EQ(OpenAs(".\\Reports\\..\\NOTES.TXT", 1), dir.Host("data/NOTES.TXT"));
    EXPECT_TRUE(fs::exists(dir.path() / "data/NOTES.TXT"));
}

TEST(HostNameRoundTripModule, ModulePathJoinedWithAFileNameFindsIt) {
    char module[259];
    if (FILE_GetModulePathName(module) < 0) {
        GTEST_SKIP() << "the program's name does not fit";
    }
    const fs::path program = fs::read_symlink("/proc/self/exe");
    const std::string name =
        PathFile(module, (program.parent_path().filename() / program.filename()).string());
    EXPECT_EQ(OpenAs(name, 0), HostPath(program.string()));
}

}  // namespace
