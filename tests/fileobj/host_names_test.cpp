// Round trips through the whole library with names as hosts compose them:
// upper case, backslashes, a drive, UTF-8. How the platform classes fold and
// find names in every script and code page is their own test (HostNames).
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "temp_dir.h"

namespace {

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

TEST(HostNameRoundTrip, ComposedNamesReachTheLowerCaseFilesAndCreateNothingElse) {
    const TempDir dir;
    fs::create_directories(dir.path() / "data" / "reports");
    dir.Write("data/reports/report.txt", "old\n");
    const std::string report = PathFile("c:" + dir / "data/reports", "report.txt");
    EXPECT_EQ(OpenAs(report, 2, 1, "new line\n"), dir.Host("data/reports/report.txt"));
    EXPECT_EQ(dir.Read("data/reports/report.txt"), "new line\n");
    // No drive, and a new suffix: a new file named as composed, beside it.
    std::string fresh = PathFile(dir / "data/reports", " fresh name.txt ") + "        ";
    fresh.resize(static_cast<size_t>(FILE_NewSuffix(fresh.data(), "bak")));
    EXPECT_EQ(OpenAs(fresh, 1, 0, "backup\n"), dir.Host("data/reports/FRESH NAME.bak"));
    // A UTF-8 name keeps its bytes when composed and is found again in any case.
    const std::string resume = dir.Host("data/R\xC3\xA9SUM\xC3\xA9.TXT");
    EXPECT_EQ(OpenAs(PathFile(dir / "data", "r\xC3\xA9sum\xC3\xA9.txt"), 2, 1, "cv"), resume);
    EXPECT_EQ(OpenAs(dir / "data/R\xC3\x89SUM\xC3\x89.txt", 0), resume);
    for (const std::string& refused : {PathFile(dir / "data", "none\\x.txt"), std::string()}) {
        EXPECT_EQ(OpenAs(refused, 2, 1), "(none)") << refused;
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(dir.path()), {}), 5)
        << "nothing made in the wrong place";
    EXPECT_EQ(dir.Read("data/reports/FRESH NAME.bak"), "backup\n");
    EXPECT_EQ(FILE_Remove4Name(report.c_str()), nullptr);
    EXPECT_EQ(FILE_FileExists(report.c_str()), 0);
}

}  // namespace
