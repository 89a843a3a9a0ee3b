// Round trips through the whole library with names as hosts compose them:
// upper case, backslashes, a drive, against lower-case names on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
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
