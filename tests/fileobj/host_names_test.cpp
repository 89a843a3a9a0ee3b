// Round trips through the whole library with names as hosts compose them:
// upper case, backslashes, a drive, against lower-case names on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
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

// A POSIX name as a host composes it from a drive, a directory and a name.
std::string Composed(const std::string& posix) {
    const fs::path path(posix);
    return PathFile("c:" + path.parent_path().string(), path.filename().string());
}

// Every entry under `root`, relative to it.
std::set<std::string> Tree(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        entries.insert(fs::relative(entry.path(), root).string());
    }
    return entries;
}

std::string FirstLine(const std::string& name) {
    CFile file;
    char line[64] = {};
    uint32_t status = 0;
    if (FILE_Open(&file, name.c_str(), 0, 0) != nullptr ||
        FILE_ReadStr(&file, line, sizeof line - 1, &status) != nullptr) {
        return "(none)";
    }
    FILE_Close(&file);
    return line;
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
    }
    TempDir dir;
    fs::path before;
};

TEST_F(HostNameRoundTrip, ComposedNamesReachTheLowerCaseFilesAndCreateNothingElse) {
    const std::string report = Composed(dir / "data/reports/report.txt");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, report.c_str(), 2, 1), nullptr) << report;
    EXPECT_EQ(FILE_WriteStr(&file, "new line\n"), nullptr);
    char path[512];
    ASSERT_EQ(FILE_GetPath(&file, path, sizeof path - 1), path);
    EXPECT_EQ(path, dir.Host("data/reports/report.txt")) << "the spelling on disk";
    EXPECT_EQ(FILE_Close(&file), nullptr);
    EXPECT_EQ(dir.Read("data/reports/report.txt"), "new line\n");
    EXPECT_EQ(FirstLine(report), "new line");
    EXPECT_NE(FILE_FileExists(report.c_str()), 0);

    // No drive, and a new suffix: a new file named as composed, beside it.
    std::string fresh = PathFile(dir / "data/reports", " fresh name.txt ");
    fresh.resize(fresh.size() + 8);
    fresh.resize(static_cast<size_t>(FILE_NewSuffix(fresh.data(), "bak")));
    ASSERT_EQ(FILE_Open(&file, fresh.c_str(), 1, 0), nullptr) << fresh;
    EXPECT_EQ(FILE_WriteStr(&file, "backup\n"), nullptr);
    EXPECT_EQ(FILE_Close(&file), nullptr);
    EXPECT_EQ(FirstLine(fresh), "backup");
    EXPECT_EQ(Tree(dir.path()),
              (std::set<std::string>{"data", "data/reports", "data/reports/report.txt",
                                     "data/reports/FRESH NAME.bak"}))
        << "nothing in the wrong place, the new file with its name as given";

    EXPECT_EQ(FILE_Remove4Name(report.c_str()), nullptr);
    EXPECT_EQ(FILE_FileExists(report.c_str()), 0);
    EXPECT_EQ(FILE_Remove4Name(fresh.c_str()), nullptr);
    EXPECT_EQ(Tree(dir.path()), (std::set<std::string>{"data", "data/reports"}));
}

TEST_F(HostNameRoundTrip, PathsHandedBackAreRemovedByName) {
    ASSERT_TRUE(AfxMapDrive('R', (dir / "data/reports").c_str()));
    for (const char* name : {"R:\\REPORT.TXT", "R:\\New Report.Txt"}) {
        CFile file;
        ASSERT_EQ(FILE_Open(&file, name, 1, 0), nullptr) << name;
        const std::string handedBack = FILE_GetPath(&file, nullptr, 0);
        EXPECT_EQ(handedBack.rfind("R:\\", 0), 0u) << handedBack;
        EXPECT_EQ(FILE_Close(&file), nullptr);
        EXPECT_EQ(FILE_Remove4Name(handedBack.c_str()), nullptr) << handedBack;
        EXPECT_EQ(GEN_GetRetCode(), 0);
    }
    EXPECT_TRUE(fs::is_empty(dir.path() / "data/reports"));
}

TEST_F(HostNameRoundTrip, RelativeNamesAfterMove2Dir) {
    ASSERT_EQ(FILE_Move2Dir(Composed(dir / "data").c_str()), 0);
    EXPECT_EQ(FirstLine("REPORTS\\REPORT.TXT"), "old");
    CFile file;
    ASSERT_EQ(FILE_Open(&file, ".\\Reports\\..\\NOTES.TXT", 1, 0), nullptr);
    EXPECT_STREQ(FILE_GetPath(&file, nullptr, 0), dir.Host("data/reports/../NOTES.TXT").c_str());
    EXPECT_EQ(FILE_Close(&file), nullptr);
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
    EXPECT_NE(FILE_FileExists(name.c_str()), 0) << name;
    CFile file;
    ASSERT_EQ(FILE_Open(&file, name.c_str(), 0, 0), nullptr) << name;
    EXPECT_STREQ(FILE_GetPath(&file, nullptr, 0), HostPath(program.string()).c_str());
    EXPECT_EQ(FILE_Close(&file), nullptr);
}

}  // namespace
