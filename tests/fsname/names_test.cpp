// The by-name functions with names in the host's form on a case-sensitive
// disk: upper-case names, backslashes and drive letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "OrvikAfx.h"
#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "temp_dir.h"

namespace {

using orvik::test::HostPath;
using orvik::test::TempDir;
namespace fs = std::filesystem;

class ByHostName : public ::testing::Test {
protected:
    void SetUp() override {
        before = fs::current_path();
        fs::create_directories(dir.path() / "Data" / "Mixed Case");
        dir.Write("Data/Mixed Case/caf\xC3\xA9.txt", "x");
        dir.Write("Data/notes.txt", "x");
        ASSERT_TRUE(AfxMapDrive('Q', dir.path().c_str()));
    }
    void TearDown() override {
        fs::current_path(before);
        AfxMapDrive('Q', nullptr);
    }
    TempDir dir;
    fs::path before;
};

TEST_F(ByHostName, UpperCaseNamesFindTheTreeFromTheRootAndFromADrive) {
    std::string root = HostPath(dir.path());
    std::transform(root.begin(), root.end(), root.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const std::string& top : {root, std::string("Q:"), std::string("q:\\")}) {
        EXPECT_NE(FILE_FileExists((top + "\\DATA\\MIXED CASE\\CAF\xC3\xA9.TXT").c_str()), 0) << top;
        EXPECT_NE(FILE_DirExists((top + "\\DATA\\MIXED CASE").c_str()), 0) << top;
        EXPECT_EQ(FILE_FileExists((top + "\\DATA\\NONE.TXT").c_str()), 0) << top;
    }
}

TEST_F(ByHostName, DirectoriesAreMadeEnteredAndEmptiedByHostNames) {
    EXPECT_EQ(FILE_MkDir("Q:\\DATA\\New Folder"), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Data/New Folder")) << "the last name as given";
    EXPECT_EQ(FILE_MkDir("Q:\\DATA\\NEW FOLDER"), -3) << "exists in another case";
    EXPECT_EQ(FILE_MkDir("Q:\\NONE\\SUB"), -4);
    ASSERT_EQ(FILE_Move2Dir("Q:\\DATA\\MIXED CASE"), 0);
    EXPECT_NE(FILE_FileExists("..\\NOTES.TXT"), 0) << "relative to the new directory";
    EXPECT_EQ(FILE_MkDir("Sub"), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Data/Mixed Case/Sub"));
    EXPECT_EQ(FILE_Move2Dir("..\\..\\DATA"), 0);
    EXPECT_EQ(fs::current_path(), dir.path() / "Data");
    // Removing by name prefers the exact spelling, then the lower-case one.
    dir.Write("a.txt", "x");
    dir.Write("A.TXT", "x");
    ASSERT_EQ(FILE_Move2Dir("Q:"), 0);
    EXPECT_EQ(FILE_Remove4Name("A.TXT"), nullptr);
    EXPECT_TRUE(fs::exists(dir.path() / "a.txt") && !fs::exists(dir.path() / "A.TXT"));
    EXPECT_EQ(FILE_Remove4Name("A.TXT"), nullptr) << "then the one left";
    EXPECT_EQ(FILE_Remove4Name("A.TXT"), MSG_GetStr(52004));
    EXPECT_EQ(GEN_GetRetCode(), 8);
    EXPECT_EQ(FILE_Remove4Name(".\\DATA\\MIXED CASE\\CAF\xC3\xA9.TXT"), nullptr);
    EXPECT_FALSE(fs::exists(dir.path() / "Data/Mixed Case/caf\xC3\xA9.txt"));
}

}  // namespace
