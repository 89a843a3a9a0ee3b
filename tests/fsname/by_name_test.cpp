#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "OrvikFILE_Lib.h"
#include "OrvikGEN_Lib.h"
#include "OrvikMSG_Lib.h"
#include "temp_dir.h"

namespace {

using orvik::test::TempDir;
namespace fs = std::filesystem;

class ByName : public ::testing::Test {
protected:
    void SetUp() override { GEN_SetRetCode(77); }  // a code that no function hands
    TempDir dir;
};

TEST_F(ByName, ExistenceTestsAnswerForFilesAndDirectories) {
    const std::string file = dir.Write("f.txt", "x");
    const std::string missing = dir / "none";
    const struct {
        const char* name;
        bool exists;
    } rows[] = {
        {file.c_str(), true},           {dir.path().c_str(), true},
        {missing.c_str(), false}, {"", false},
        {"   ", false},                  {nullptr, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FILE_FileExists(row.name) != 0, row.exists) << (row.name ? row.name : "null");
        EXPECT_EQ(FILE_DirExists(row.name), FILE_FileExists(row.name));
    }
    EXPECT_EQ(GEN_GetRetCode(), 77) << "existence tests leave the return code";
}

TEST_F(ByName, Remove4NameReportsEveryOutcome) {
    const std::string file = dir.Write("f.txt", "x");
    EXPECT_EQ(FILE_Remove4Name(file.c_str()), nullptr);
    EXPECT_EQ(GEN_GetRetCode(), 0);
    EXPECT_FALSE(fs::exists(file));

    EXPECT_EQ(FILE_Remove4Name(file.c_str()), MSG_GetStr(52004)) << "missing: fileNotFound";
    EXPECT_EQ(GEN_GetRetCode(), 8);
    EXPECT_EQ(FILE_FileExists(file.c_str()), 0);
    EXPECT_EQ(GEN_GetRetCode(), 8) << "FILE_FileExists leaves the code of the call before";

    EXPECT_EQ(FILE_Remove4Name(dir.path().c_str()), MSG_GetStr(52007)) << "a directory";
    EXPECT_EQ(GEN_GetRetCode(), 8);
    EXPECT_TRUE(fs::exists(dir.path()));

    EXPECT_EQ(FILE_Remove4Name(nullptr), MSG_GetStr(52001));
    EXPECT_EQ(GEN_GetRetCode(), 7);
    EXPECT_EQ(FILE_Remove4Name("   "), MSG_GetStr(52004)) << "a blank name is tried as it is";
}

TEST_F(ByName, MkDirResults) {
    const std::string made = dir / "made";
    const std::string file = dir.Write("plain", "");
    const std::string orphan = dir / "no/such/parent";
    const std::string underFile = dir / "plain/sub";
    const struct {
        const char* name;
        int32_t result;
    } rows[] = {
        {made.c_str(), 0},
        {made.c_str(), -3},                          // exists already
        {file.c_str(), -3},                          // a file of that name
        {orphan.c_str(), -4},                        // parent missing
        {underFile.c_str(), -5},                     // a file as the parent: ENOTDIR
        {nullptr, -1},
        {"", -2},
        {" \t ", -2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FILE_MkDir(row.name), row.result) << (row.name ? row.name : "null");
    }
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(GEN_GetRetCode(), 77);
}

TEST_F(ByName, Move2DirChangesTheCurrentDirectory) {
    const fs::path before = fs::current_path();
    fs::create_directory(dir.path() / "sub");
    dir.Write("sub/inner.txt", "x");

    EXPECT_EQ(FILE_Move2Dir((dir / "missing").c_str()), -3);
    EXPECT_EQ(fs::current_path(), before) << "a refused change leaves it";
    EXPECT_EQ(FILE_Move2Dir(nullptr), -1);
    EXPECT_EQ(FILE_Move2Dir("  "), -2);
    EXPECT_EQ(FILE_Move2Dir(dir.Write("plain", "").c_str()), -3);

    ASSERT_EQ(FILE_Move2Dir((dir / "sub").c_str()), 0);
    EXPECT_NE(FILE_FileExists("inner.txt"), 0) << "relative names resolve against it";
    EXPECT_EQ(FILE_MkDir("relative"), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "sub" / "relative"));
    EXPECT_EQ(FILE_Move2Dir(".."), 0);
    EXPECT_EQ(fs::current_path(), dir.path());
    fs::current_path(before);
    EXPECT_EQ(GEN_GetRetCode(), 77);
}

}  // namespace
